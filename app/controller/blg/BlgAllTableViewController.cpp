#include "app/controller/blg/BlgAllTableViewController.h"

#include "app/service/blg/BlgService.h"

void BlgAllTableViewController::initService() {
  BlgMainTableViewController::initService();
  blgService = std::make_shared<BlgService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

BlgMainTableViewController::PageFetch BlgAllTableViewController::pageFetch() const {
  return [service = blgService](const std::shared_ptr<Page>& page) { return service->getMyConcernBlogWithPage(page); };
}

// Only a feed that arrived clears the module's badge.
void BlgAllTableViewController::refreshSucceeded() { blgService->updateBlogReminder(); }

void BlgAllTableViewController::didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) {
  BlgMainTableViewController::didSelectRowAtIndexPath(tableView, indexPath);
  pushDetailForRow(indexPath.row);
}
