#pragma once
// What the micro-blog screens call for people: search by nick name, follow lists, profiles, following.

#include <memory>
#include <optional>
#include <string>

#include "app/model/blg/Statistics.h"
#include "app/model/cmn/Page.h"
#include "app/service/blg/OpenBlogUserService.h"
#include "app/service/cmn/BaseService.h"

class BlgUserService : public BaseService {
 public:
  using Text = std::optional<std::string>;

  explicit BlgUserService(std::weak_ptr<ServiceDelegate> delegate = {});

  std::shared_ptr<Page> getBlogUsersWithNickName(const Text& nickName, const std::shared_ptr<Page>& page);
  std::shared_ptr<Page> getAttentionUsersWithUserID(const Text& userId, const std::shared_ptr<Page>& page);
  std::shared_ptr<Page> getFansWithUserID(const Text& userId, const std::shared_ptr<Page>& page);
  std::shared_ptr<Statistics> getUserDetailWithUserID(const Text& userId);
  std::shared_ptr<Statistics> getUserDetailWithNickName(const Text& nickName);
  bool followUserWithID(const Text& userId);
  bool cancelFollowWithID(const Text& userId);

 private:
  std::unique_ptr<OpenBlogUserService> openBlogUserService_;
};
