#pragma once
// The server's user operations: the session's profile, the password change and the user sync. Holds
// no state; every call blocks its thread, and a failure reaches the delegate on the main queue after
// the call has answered.

#include <memory>
#include <optional>
#include <string>

#include "app/model/lgn/User.h"
#include "core/open/OpenService.h"
#include "platform/foundation/Value.h"

class OpenUserService : public OpenService {
 public:
  static constexpr char kGetUri[] = "/v1/uc/user/get";
  static constexpr char kSyncUsersUri[] = "/v1/uc/user/syncUsers";
  static constexpr char kModifyUserPasswordUri[] = "/v1/uc/user/modifyUserPassword";

  using OpenService::OpenService;

  // The profile of the session's user; null when the call failed.
  std::shared_ptr<User> get();
  // The server's dictionary; nil when the call failed.
  pf::Value syncUsers(const pf::Value& users, bool updatePswFirstLogin);
  // Whether the server changed the password.
  bool modifyUserPassword(const std::optional<std::string>& loginName, const std::optional<std::string>& psw,
                          const std::optional<std::string>& oldPsw);
};
