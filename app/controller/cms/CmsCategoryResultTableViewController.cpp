#include "app/controller/cms/CmsCategoryResultTableViewController.h"

#include "app/model/cmn/Page.h"
#include "app/service/cms/CourseService.h"

bool CmsCategoryResultTableViewController::canLoadMore() const {
  return currentPage && currentPage->hasNextPage();
}

void CmsCategoryResultTableViewController::viewDidLoad() {
  CmsCourseTableViewController::viewDidLoad();
  currentPage = std::make_shared<Page>();
  willBeginRefreshData();
}

// The base guard keeps one refresh at a time, as the other paged lists do.
bool CmsCategoryResultTableViewController::refreshData() {
  if (!CmsCourseTableViewController::refreshData()) return false;
  const auto category = categoryID;
  fetchPage(refreshRequest(currentPage), true, [category](CourseService& service, const std::shared_ptr<Page>& page) {
    return service.getCourseWithPage(page, category);
  });
  return true;
}

bool CmsCategoryResultTableViewController::loadMore() {
  if (!CmsCourseTableViewController::loadMore()) return false;
  const auto category = categoryID;
  fetchPage(loadMoreRequest(currentPage), false, [category](CourseService& service, const std::shared_ptr<Page>& page) {
    return service.getCourseWithPage(page, category);
  });
  return true;
}

void CmsCategoryResultTableViewController::didSelectRowAtIndexPath(pf::TableView& tableView,
                                                                  const pf::IndexPath& indexPath) {
  CmsCourseTableViewController::didSelectRowAtIndexPath(tableView, indexPath);
  tableView.deselectRowAtIndexPath(indexPath, true);
  if (auto row = rowAt(indexPath)) openCatalogueCourse(row);
}
