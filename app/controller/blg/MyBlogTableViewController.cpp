#include "app/controller/blg/MyBlogTableViewController.h"

#include "app/service/blg/BlgService.h"

void MyBlogTableViewController::initService() {
  BlgMainTableViewController::initService();
  blgService = std::make_shared<BlgService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

BlgMainTableViewController::PageFetch MyBlogTableViewController::pageFetch() const {
  return [service = blgService, id = userID](const std::shared_ptr<Page>& page) {
    return service->loadUserBlogsWithUserID(id, page);
  };
}

void MyBlogTableViewController::didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) {
  BlgMainTableViewController::didSelectRowAtIndexPath(tableView, indexPath);
  pushDetailForRow(indexPath.row);
}
