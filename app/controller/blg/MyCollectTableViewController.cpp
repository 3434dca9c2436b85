#include "app/controller/blg/MyCollectTableViewController.h"

#include "app/service/blg/BlgService.h"

void MyCollectTableViewController::initService() {
  BlgMainTableViewController::initService();
  blgService = std::make_shared<BlgService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

BlgMainTableViewController::PageFetch MyCollectTableViewController::pageFetch() const {
  return [service = blgService](const std::shared_ptr<Page>& page) {
    return service->getMyCollectBlogWithPage(page);
  };
}

void MyCollectTableViewController::didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) {
  BlgMainTableViewController::didSelectRowAtIndexPath(tableView, indexPath);
  pushDetailForRow(indexPath.row);
}
