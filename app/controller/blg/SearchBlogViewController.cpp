#include "app/controller/blg/SearchBlogViewController.h"

#include "app/service/blg/BlgService.h"

void SearchBlogViewController::initService() {
  BlgMainTableViewController::initService();
  blgService = std::make_shared<BlgService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

// The filter is read when the call starts: a later search does not change a page in flight.
BlgMainTableViewController::PageFetch SearchBlogViewController::pageFetch() const {
  return [service = blgService, text = searchStr](const std::shared_ptr<Page>& page) {
    return service->getCorpBlogsWithContent(text, page);
  };
}

void SearchBlogViewController::didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) {
  BlgMainTableViewController::didSelectRowAtIndexPath(tableView, indexPath);
  pushDetailForRow(indexPath.row);
}
