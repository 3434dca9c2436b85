#include "app/service/blg/OpenBlogUserService.h"

#include "app/model/blg/BlogUser.h"
#include "app/service/blg/BlogCalls.h"
#include "app/service/cmn/OpenText.h"

using namespace blg_calls;

std::shared_ptr<Page> OpenBlogUserService::loadBlogUsers(const Text& nickName,
                                                         const std::shared_ptr<Page>& page) {
  return blg_calls::page("/v1/wb/bloguser/loadBlogUsers",
                         {{"nickName", openText(nickName)}, {"page", openValue(page)}}, BlogUser::kClassName,
                         delegate());
}

bool OpenBlogUserService::follow(const Text& userId) {
  return success("/v1/wb/bloguser/follow", {{"userId", openText(userId)}}, delegate());
}

bool OpenBlogUserService::cancelFollow(const Text& userId) {
  return success("/v1/wb/bloguser/cancelFollow", {{"userId", openText(userId)}}, delegate());
}

std::shared_ptr<Page> OpenBlogUserService::loadFollowedUsers(const Text& userId, const Text& nickName,
                                                             const std::shared_ptr<Page>& page) {
  return blg_calls::page(
      "/v1/wb/bloguser/loadFollowedUsers",
      {{"userId", openText(userId)}, {"nickName", openText(nickName)}, {"page", openValue(page)}},
      BlogUser::kClassName, delegate());
}

std::shared_ptr<Page> OpenBlogUserService::loadFans(const Text& userId, const Text& nickName,
                                                    const std::shared_ptr<Page>& page) {
  return blg_calls::page(
      "/v1/wb/bloguser/loadFans",
      {{"userId", openText(userId)}, {"nickName", openText(nickName)}, {"page", openValue(page)}},
      BlogUser::kClassName, delegate());
}

std::shared_ptr<Statistics> OpenBlogUserService::getUserDetailById(const Text& userId) {
  return entity<Statistics>("/v1/wb/bloguser/getUserDetailById", {{"userId", openText(userId)}}, delegate());
}

std::shared_ptr<Statistics> OpenBlogUserService::getUserDetailByName(const Text& nickName) {
  return entity<Statistics>("/v1/wb/bloguser/getUserDetailByName", {{"nickName", openText(nickName)}},
                            delegate());
}
