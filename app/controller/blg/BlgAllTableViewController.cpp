#include "app/controller/blg/BlgAllTableViewController.h"

#include "app/controller/blg/BlgPageLoader.h"
#include "app/service/blg/BlgService.h"

bool BlgAllTableViewController::canLoadMore() const { return pageLoader->hasNextPage(); }

void BlgAllTableViewController::initService() {
  BlgMainTableViewController::initService();
  blgService = std::make_shared<BlgService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

void BlgAllTableViewController::refreshDataOnline() {
  auto service = blgService;
  refreshBlogs([service](const std::shared_ptr<Page>& page) { return service->getMyConcernBlogWithPage(page); },
               [service] { service->updateBlogReminder(); });
}

bool BlgAllTableViewController::loadMore() {
  if (!BlgMainTableViewController::loadMore()) return false;
  auto service = blgService;
  return loadMoreBlogs([service](const std::shared_ptr<Page>& page) { return service->getMyConcernBlogWithPage(page); });
}

void BlgAllTableViewController::didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) {
  BlgMainTableViewController::didSelectRowAtIndexPath(tableView, indexPath);
  pushDetailForRow(indexPath.row);
}
