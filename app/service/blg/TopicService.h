#pragma once
// What the micro-blog screens call for topics: all topics, a user's followed topics, and following.

#include <memory>
#include <optional>
#include <string>

#include "app/model/cmn/Page.h"
#include "app/service/blg/OpenTopicService.h"
#include "app/service/cmn/BaseService.h"

class TopicService : public BaseService {
 public:
  using Text = std::optional<std::string>;

  explicit TopicService(std::weak_ptr<ServiceDelegate> delegate = {});

  std::shared_ptr<Page> getAllTopicListWithPage(const std::shared_ptr<Page>& page);
  std::shared_ptr<Page> getTopicsWithUserID(const Text& userId, const std::shared_ptr<Page>& page);
  bool followTopicWithID(const Text& topicId);
  bool cancelFollowTopicWithID(const Text& topicId);
  bool isFollowedTopicWithID(const Text& topicId);

 private:
  std::unique_ptr<OpenTopicService> openTopicService_;
};
