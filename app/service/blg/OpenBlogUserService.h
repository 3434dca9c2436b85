#pragma once
// The people operations of the server under "/v1/wb/bloguser/". Holds no state; every call blocks its
// thread. A nil argument is sent as "null"; a failure reaches the delegate on the main queue. A refused
// toggle names the state in the first error record: "wb.blogUser.followed",
// "wb.blogUser.cancelFollowed".

#include <memory>
#include <optional>
#include <string>

#include "app/model/blg/Statistics.h"
#include "app/model/cmn/Page.h"
#include "core/open/OpenService.h"

class OpenBlogUserService : public OpenService {
 public:
  using OpenService::OpenService;
  using Text = std::optional<std::string>;

  // Pages of BlogUser; nickName filters them.
  std::shared_ptr<Page> loadBlogUsers(const Text& nickName, const std::shared_ptr<Page>& page);
  bool follow(const Text& userId);
  bool cancelFollow(const Text& userId);
  std::shared_ptr<Page> loadFollowedUsers(const Text& userId, const Text& nickName,
                                          const std::shared_ptr<Page>& page);
  std::shared_ptr<Page> loadFans(const Text& userId, const Text& nickName, const std::shared_ptr<Page>& page);
  std::shared_ptr<Statistics> getUserDetailById(const Text& userId);
  std::shared_ptr<Statistics> getUserDetailByName(const Text& nickName);
};
