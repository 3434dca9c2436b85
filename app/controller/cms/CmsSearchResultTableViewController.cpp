#include "app/controller/cms/CmsSearchResultTableViewController.h"

#include "app/model/cmn/Page.h"
#include "app/service/cms/CourseService.h"
#include "core/util/CommonUtil.h"

bool CmsSearchResultTableViewController::canLoadMore() const {
  if (isLocalResource) return lastLocalPageFull_;
  return currentPage && currentPage->hasNextPage();
}

void CmsSearchResultTableViewController::viewDidLoad() {
  CmsCourseTableViewController::viewDidLoad();
  willBeginRefreshData();
  currentPage = std::make_shared<Page>();
}

bool CmsSearchResultTableViewController::refreshData() {
  if (!CmsCourseTableViewController::refreshData()) return false;
  auto request = refreshRequest(currentPage);
  isLocalResource = !CommonUtil::isOnline();
  if (isLocalResource) {
    markRefresh();
    searchLocally(request, true);
    markRefresh();
    refreshDataComplete();
    return true;
  }
  const auto key = searchKey;
  fetchPage(request, true, [key](CourseService& service, const std::shared_ptr<Page>& page) {
    return service.searchCourseWithSearchStr(key, page);
  });
  return true;
}

bool CmsSearchResultTableViewController::loadMore() {
  if (!CmsCourseTableViewController::loadMore()) return false;
  auto request = loadMoreRequest(currentPage);
  if (isLocalResource) {
    searchLocally(request, false);
    loadMoreCompleted();
    return true;
  }
  const auto key = searchKey;
  fetchPage(request, false, [key](CourseService& service, const std::shared_ptr<Page>& page) {
    return service.searchCourseWithSearchStr(key, page);
  });
  return true;
}

// The local search moves the page it is given on to the next number; the page kept is the one whose
// rows are shown, so the next load-more asks for the page after it and none is skipped.
void CmsSearchResultTableViewController::searchLocally(const std::shared_ptr<Page>& request, bool refresh) {
  const auto asked = request->pageNo;
  auto page = courseService->searchLocalCourseWithSearchStr(searchKey, request);
  if (!page) return;
  page->pageNo = asked;
  const auto rows = coursesOfPage(*page);
  lastLocalPageFull_ = rows.size() >= page->pageSize;
  pageAnswered(page, refresh);
}

void CmsSearchResultTableViewController::didSelectRowAtIndexPath(pf::TableView& tableView,
                                                                const pf::IndexPath& indexPath) {
  tableView.deselectRowAtIndexPath(indexPath, true);
  if (auto row = rowAt(indexPath)) openCatalogueCourse(row);
}
