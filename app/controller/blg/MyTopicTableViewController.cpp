#include "app/controller/blg/MyTopicTableViewController.h"

#include "app/service/blg/TopicService.h"

BlgBaseTableViewController::PageFetch MyTopicTableViewController::pageFetch() const {
  return [service = topicService, id = userID](const std::shared_ptr<Page>& page) {
    return service ? service->getTopicsWithUserID(id, page) : nullptr;
  };
}
