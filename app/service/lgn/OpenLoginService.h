#pragma once
// The server's sign-in operations. ologin opens the session later calls carry (the remote call client
// keeps it and renews it with the same credentials). Holds no state; every call blocks its thread, and
// a failure reaches the delegate on the main queue after the call has answered.

#include <optional>
#include <string>

#include "core/open/OpenService.h"

class OpenLoginService : public OpenService {
 public:
  static constexpr char kLoginUri[] = "/v1/uc/login/login";
  static constexpr char kOloginUri[] = "/v1/uc/login/ologin";

  using OpenService::OpenService;

  // The server's answer text; nullopt when the call failed.
  std::optional<std::string> login(const std::optional<std::string>& loginName,
                                   const std::optional<std::string>& password,
                                   const std::optional<std::string>& corpCode);
  // The new session's id; nullopt when the server refused or the call failed.
  std::optional<std::string> ologin(const std::optional<std::string>& loginName,
                                    const std::optional<std::string>& password,
                                    const std::optional<std::string>& corpCode);
};
