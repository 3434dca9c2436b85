#include "app/controller/cms/CmsAllTableViewController.h"

#include "app/controller/cms/CmsAllTableViewDelegate.h"
#include "app/model/cmn/Page.h"
#include "app/service/cms/CourseService.h"
#include "core/util/CommonUtil.h"

bool CmsAllTableViewController::canLoadMore() const {
  return currentPage && currentPage->hasNextPage();
}

void CmsAllTableViewController::viewDidLoad() {
  CmsCourseTableViewController::viewDidLoad();
  currentPage = std::make_shared<Page>();
  currentPage->pageNo = 0;
}

bool CmsAllTableViewController::refreshData() {
  if (!CmsCourseTableViewController::refreshData()) return false;
  if (!CommonUtil::isOnline()) {
    showErrorInfoWithMessage(kOffline);
    refreshDataComplete();
    return true;
  }
  fetchPage(refreshRequest(currentPage), true,
            [](CourseService& service, const std::shared_ptr<Page>& page) { return service.getAllCourseWithPage(page); });
  return true;
}

bool CmsAllTableViewController::loadMore() {
  if (!CmsCourseTableViewController::loadMore()) return false;
  fetchPage(loadMoreRequest(currentPage), false,
            [](CourseService& service, const std::shared_ptr<Page>& page) { return service.getAllCourseWithPage(page); });
  return true;
}

void CmsAllTableViewController::pageAnswered(const std::shared_ptr<Page>& page, bool refresh) {
  if (!page) return;
  currentPage = page;
  auto rows = coursesOfPage(*page);
  if (refresh) {
    resourceArr = std::move(rows);
    showStudyRate = false;
    if (auto frame = delegate.lock()) frame->updateTitleWithNum(page->total);
  } else {
    if (!resourceArr) resourceArr.emplace();
    resourceArr->insert(resourceArr->end(), rows.begin(), rows.end());
  }
  tableView()->reloadData();
}

void CmsAllTableViewController::didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) {
  tableView.deselectRowAtIndexPath(indexPath, true);
  if (auto row = rowAt(indexPath)) openCatalogueCourse(row);
}

void CmsAllTableViewController::onError(const pf::ErrorPtr& error, const std::string&) {
  if (handleSessionError(error)) return;
  showErrorInfoWithMessage(kLoadFailed);
}
