#pragma once
// The user's module menu: which modules the server grants the user, in which order, kept in table
// mobile_app (one row per module and user, replaced whole at each online sign-in). The side menu, the
// app square and the first screen after sign-in are read from those rows; each module is known by its
// app code, which names its root screen and its menu icons. "square_app" is the client's own entry
// that opens the app square; the server never sends it.
//
// Threads: the store calls run on any thread; screens are made on the main thread.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/model/cmn/MobileApp.h"
#include "app/service/cmn/BaseService.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/cmn/OpenUserMobileAppService.h"
#include "app/service/cmn/ReminderService.h"

class UserMobileAppService : public BaseService {
 public:
  using Apps = std::vector<std::shared_ptr<MobileApp>>;

  static constexpr char kSquareAppCode[] = "square_app";
  static constexpr char kSquareAppName[] = "应用广场";
  static constexpr char kPlatform[] = "IOS";

  explicit UserMobileAppService(std::weak_ptr<ServiceDelegate> delegate = {});

  // Replaces the user's rows with the server's list, under new keys, in one transaction. NO, with the
  // previous rows kept, when the list cannot be fetched, is empty or cannot be stored.
  bool saveAndUpdateUserMobileAppsWithUserID(const std::string& userId);
  // The current user's side-menu entries by their order, then the app-square entry when the square has
  // entries.
  Apps getLeftMenuApps();
  // The current user's app-square entries offered on this platform, by their order.
  Apps getSquareApps();
  // The root screen of the module marked to open first, else of the first side-menu entry, else of the
  // first square entry; null when there is none.
  pf::ObjectPtr firstViewController();
  // The module's root screen (wrapped in a navigation container for surveys and exams); null for a
  // code that is no built-in module.
  pf::ObjectPtr viewControllerWithAppCode(const std::optional<std::string>& appCode);
  static std::string normalImageWithAppCode(const std::optional<std::string>& appCode);
  static std::string hightlightImageWithAppCode(const std::optional<std::string>& appCode);

  ReminderService& reminderService() { return *reminderService_; }

 private:
  pf::Value currentUserValue();

  std::unique_ptr<OpenUserMobileAppService> openUserMobileAppService_;
  std::unique_ptr<CommonService> commonService_;
  std::unique_ptr<ReminderService> reminderService_;
};
