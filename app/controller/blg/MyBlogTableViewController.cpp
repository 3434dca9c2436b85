#include "app/controller/blg/MyBlogTableViewController.h"

#include "app/controller/blg/BlgPageLoader.h"
#include "app/service/blg/BlgService.h"

bool MyBlogTableViewController::canLoadMore() const { return pageLoader->hasNextPage(); }

void MyBlogTableViewController::initService() {
  BlgMainTableViewController::initService();
  blgService = std::make_shared<BlgService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

BlgMainTableViewController::PageFetch MyBlogTableViewController::fetch() const {
  return [service = blgService, id = userID](const std::shared_ptr<Page>& page) {
    return service->loadUserBlogsWithUserID(id, page);
  };
}

void MyBlogTableViewController::refreshDataOnline() { refreshBlogs(fetch()); }

bool MyBlogTableViewController::loadMore() {
  if (!BlgMainTableViewController::loadMore()) return false;
  return loadMoreBlogs(fetch());
}

void MyBlogTableViewController::didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) {
  BlgMainTableViewController::didSelectRowAtIndexPath(tableView, indexPath);
  pushDetailForRow(indexPath.row);
}
