#include "app/controller/cmn/ModuleScreens.h"

#include <functional>

#include "app/model/cmn/MobileApp.h"
#include "app/service/cmn/UserMobileAppService.h"
#include "app/util/ViewUtil.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Log.h"
#include "platform/ui/ViewController.h"

namespace {

// The service makes screens by class name; a class that is not registered is its contract fault,
// which here only means the module is not built into this client.
std::shared_ptr<pf::ViewController> screenOrNone(const std::function<pf::ObjectPtr()>& make) {
  try {
    return std::dynamic_pointer_cast<pf::ViewController>(make());
  } catch (const pf::ContractViolation& unknown) {
    pf::logf("%@", unknown.what());
    return nullptr;
  }
}

}  // namespace

std::shared_ptr<pf::ViewController> ModuleScreens::screenWithAppCode(UserMobileAppService& service,
                                                                     const std::optional<std::string>& appCode) {
  return screenOrNone([&] { return service.viewControllerWithAppCode(appCode); });
}

std::shared_ptr<pf::ViewController> ModuleScreens::screenOfClass(const std::string& className) {
  return screenOrNone([&] { return ViewUtil::viewControllerFromNibOfClass(className); });
}

std::shared_ptr<pf::ViewController> ModuleScreens::screenOfClass(const std::string& className,
                                                                 const std::string& nibName) {
  return screenOrNone([&] { return ViewUtil::viewControllerOfClass(className, nibName); });
}

std::shared_ptr<pf::ViewController> ModuleScreens::firstScreen(UserMobileAppService& service) {
  return screenOrNone([&] { return service.firstViewController(); });
}

bool ModuleScreens::isModule(const MobileApp& app) { return app.appType && *app.appType == kDefaultAppType; }

bool ModuleScreens::isShown(UserMobileAppService& service, const MobileApp& app) {
  return !isModule(app) || screenWithAppCode(service, app.appCode) != nullptr;
}
