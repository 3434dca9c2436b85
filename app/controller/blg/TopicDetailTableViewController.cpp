#include "app/controller/blg/TopicDetailTableViewController.h"

#include "app/model/cmn/Page.h"
#include "app/service/blg/BlgService.h"
#include "platform/ui/TableView.h"

TopicDetailTableViewController::TopicDetailTableViewController() = default;
TopicDetailTableViewController::~TopicDetailTableViewController() = default;

void TopicDetailTableViewController::initService() {
  BlgMainTableViewController::initService();
  blgService = std::make_shared<BlgService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

BlgMainTableViewController::PageFetch TopicDetailTableViewController::pageFetch() const {
  return [service = blgService, id = topicID](const std::shared_ptr<Page>& page) {
    return service->getTopicBlogsWithTopicID(id, page);
  };
}

// Opens the blog without telling a container: the topic's screen locks nothing.
void TopicDetailTableViewController::didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) {
  tableView.deselectRowAtIndexPath(indexPath, true);
  pushDetailForRow(indexPath.row);
}
