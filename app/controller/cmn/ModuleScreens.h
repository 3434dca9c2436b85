#pragma once
// The root screens of the user's modules as the menu, the square and the post-login screen open them.
// A module whose screen is not part of this client (its class is not registered) is an unknown
// module: it has no screen and no menu row, and opening it changes nothing; it never stops the app.
//
// Main thread only.

#include <memory>
#include <optional>
#include <string>

namespace pf {
class ViewController;
}
class MobileApp;
class UserMobileAppService;

class ModuleScreens {
 public:
  static constexpr char kDefaultAppType[] = "DEFAULT";

  // The module's root screen, null for an unknown module.
  static std::shared_ptr<pf::ViewController> screenWithAppCode(UserMobileAppService& service,
                                                               const std::optional<std::string>& appCode);
  // A screen of a class made through ViewUtil, null when the class is not part of this client.
  static std::shared_ptr<pf::ViewController> screenOfClass(const std::string& className);
  // The same from the named interface file as it is, whatever the idiom.
  static std::shared_ptr<pf::ViewController> screenOfClass(const std::string& className, const std::string& nibName);
  // The root screen of the user's first module, null when it is unknown or there is none.
  static std::shared_ptr<pf::ViewController> firstScreen(UserMobileAppService& service);
  // Whether the entry is one of this application's modules (else another application).
  static bool isModule(const MobileApp& app);
  // Another application, or a module of this one that has a screen here.
  static bool isShown(UserMobileAppService& service, const MobileApp& app);
};
