#include "app/service/blg/OpenTopicService.h"

#include "app/model/blg/Topic.h"
#include "app/service/blg/BlogCalls.h"
#include "app/service/cmn/OpenText.h"

using namespace blg_calls;

std::shared_ptr<Page> OpenTopicService::loadTopics(const Text& title, const std::shared_ptr<Page>& page) {
  return blg_calls::page("/v1/wb/topic/loadTopics", {{"title", openText(title)}, {"page", openValue(page)}},
                         Topic::kClassName, delegate());
}

std::shared_ptr<Page> OpenTopicService::loadUserTopics(const Text& userId, const Text& title,
                                                       const std::shared_ptr<Page>& page) {
  return blg_calls::page(
      "/v1/wb/topic/loadUserTopics",
      {{"userId", openText(userId)}, {"title", openText(title)}, {"page", openValue(page)}},
      Topic::kClassName, delegate());
}

bool OpenTopicService::follow(const Text& topicId) {
  return success("/v1/wb/topic/follow", {{"topicId", openText(topicId)}}, delegate());
}

bool OpenTopicService::cancelFollow(const Text& topicId) {
  return success("/v1/wb/topic/cancelFollow", {{"topicId", openText(topicId)}}, delegate());
}

bool OpenTopicService::isFollowed(const Text& topicId) {
  return scalar("/v1/wb/topic/isFollowed", {{"topicId", openText(topicId)}}, "c", delegate()).boolValue();
}
