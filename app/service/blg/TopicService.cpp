#include "app/service/blg/TopicService.h"

TopicService::TopicService(std::weak_ptr<ServiceDelegate> delegate)
    : BaseService(delegate), openTopicService_(std::make_unique<OpenTopicService>(delegate)) {}

std::shared_ptr<Page> TopicService::getAllTopicListWithPage(const std::shared_ptr<Page>& page) {
  return openTopicService_->loadTopics(std::nullopt, page);
}

std::shared_ptr<Page> TopicService::getTopicsWithUserID(const Text& userId,
                                                        const std::shared_ptr<Page>& page) {
  return openTopicService_->loadUserTopics(userId, std::nullopt, page);
}

bool TopicService::followTopicWithID(const Text& topicId) {
  return openTopicService_->follow(topicId);
}

bool TopicService::cancelFollowTopicWithID(const Text& topicId) {
  return openTopicService_->cancelFollow(topicId);
}

bool TopicService::isFollowedTopicWithID(const Text& topicId) {
  return openTopicService_->isFollowed(topicId);
}
