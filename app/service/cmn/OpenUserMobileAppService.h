#pragma once
// The server's per-user module list. Holds no state; every call blocks its thread, and a failure
// reaches the delegate on the main queue after the call has answered.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/model/cmn/MobileApp.h"
#include "core/open/OpenService.h"

class OpenUserMobileAppService : public OpenService {
 public:
  static constexpr char kGetMobileAppUri[] = "/v1/cs/usermobileapp/getMobileApp";

  using OpenService::OpenService;

  // The modules of the signed-in user for the platform ("null" is sent for none); nullopt when the
  // call failed.
  std::optional<std::vector<std::shared_ptr<MobileApp>>> getMobileApp(
      const std::optional<std::string>& platForm);
};
