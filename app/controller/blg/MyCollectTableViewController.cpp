#include "app/controller/blg/MyCollectTableViewController.h"

#include "app/controller/blg/BlgPageLoader.h"
#include "app/service/blg/BlgService.h"

bool MyCollectTableViewController::canLoadMore() const { return pageLoader->hasNextPage(); }

void MyCollectTableViewController::initService() {
  BlgMainTableViewController::initService();
  blgService = std::make_shared<BlgService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

BlgMainTableViewController::PageFetch MyCollectTableViewController::fetch() const {
  return [service = blgService](const std::shared_ptr<Page>& page) {
    return service->getMyCollectBlogWithPage(page);
  };
}

void MyCollectTableViewController::refreshDataOnline() { refreshBlogs(fetch()); }

bool MyCollectTableViewController::loadMore() {
  if (!BlgMainTableViewController::loadMore()) return false;
  return loadMoreBlogs(fetch());
}

void MyCollectTableViewController::didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) {
  BlgMainTableViewController::didSelectRowAtIndexPath(tableView, indexPath);
  pushDetailForRow(indexPath.row);
}
