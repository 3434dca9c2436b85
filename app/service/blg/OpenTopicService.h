#pragma once
// The topic operations of the server under "/v1/wb/topic/". Holds no state; every call blocks its
// thread. A nil argument is sent as "null"; a failure reaches the delegate on the main queue. A refused
// toggle names the state in the first error record: "wb.topic.followed", "wb.topic.cancelFollowed".

#include <memory>
#include <optional>
#include <string>

#include "app/model/cmn/Page.h"
#include "core/open/OpenService.h"

class OpenTopicService : public OpenService {
 public:
  using OpenService::OpenService;
  using Text = std::optional<std::string>;

  // Pages of Topic; title filters them by name.
  std::shared_ptr<Page> loadTopics(const Text& title, const std::shared_ptr<Page>& page);
  std::shared_ptr<Page> loadUserTopics(const Text& userId, const Text& title,
                                       const std::shared_ptr<Page>& page);
  bool follow(const Text& topicId);
  bool cancelFollow(const Text& topicId);
  bool isFollowed(const Text& topicId);
};
