#include "app/service/blg/BlgUserService.h"

BlgUserService::BlgUserService(std::weak_ptr<ServiceDelegate> delegate)
    : BaseService(delegate), openBlogUserService_(std::make_unique<OpenBlogUserService>(delegate)) {}

std::shared_ptr<Page> BlgUserService::getBlogUsersWithNickName(const Text& nickName,
                                                               const std::shared_ptr<Page>& page) {
  return openBlogUserService_->loadBlogUsers(nickName, page);
}

std::shared_ptr<Page> BlgUserService::getAttentionUsersWithUserID(const Text& userId,
                                                                  const std::shared_ptr<Page>& page) {
  return openBlogUserService_->loadFollowedUsers(userId, std::nullopt, page);
}

std::shared_ptr<Page> BlgUserService::getFansWithUserID(const Text& userId,
                                                        const std::shared_ptr<Page>& page) {
  return openBlogUserService_->loadFans(userId, std::nullopt, page);
}

std::shared_ptr<Statistics> BlgUserService::getUserDetailWithUserID(const Text& userId) {
  return openBlogUserService_->getUserDetailById(userId);
}

std::shared_ptr<Statistics> BlgUserService::getUserDetailWithNickName(const Text& nickName) {
  return openBlogUserService_->getUserDetailByName(nickName);
}

bool BlgUserService::followUserWithID(const Text& userId) {
  return openBlogUserService_->follow(userId);
}

bool BlgUserService::cancelFollowWithID(const Text& userId) {
  return openBlogUserService_->cancelFollow(userId);
}
