#include "app/controller/cmn/OtherApplications.h"

#include "app/model/cmn/MobileApp.h"
#include "platform/ui/Application.h"

std::optional<std::string> OtherApplications::launchUrl(const MobileApp& app) {
  if (!app.iosUrlSchemes || app.iosUrlSchemes->empty()) return std::nullopt;
  return *app.iosUrlSchemes + ":open";
}

bool OtherApplications::launch(const MobileApp& app) {
  const std::optional<std::string> url = launchUrl(app);
  auto& application = pf::Application::sharedApplication();
  if (!url || !application.canOpenURL(*url)) return false;
  return application.openURL(*url);
}

std::string OtherApplications::storePageUrl(const std::string& appId) {
  return std::string("itms-apps://") + kStoreHost + "/WebObjects/MZStore.woa/wa/viewSoftware?id=" + appId;
}

bool OtherApplications::openStorePage(const std::optional<std::string>& appId) {
  if (!appId || appId->empty()) return false;
  return pf::Application::sharedApplication().openURL(storePageUrl(*appId));
}
