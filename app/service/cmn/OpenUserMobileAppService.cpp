#include "app/service/cmn/OpenUserMobileAppService.h"

#include "app/service/cmn/OpenText.h"
#include "core/open/ServiceManager.h"

std::optional<std::vector<std::shared_ptr<MobileApp>>> OpenUserMobileAppService::getMobileApp(
    const std::optional<std::string>& platForm) {
  ServiceManager::ParamDic params{{"platForm", openText(platForm)}};
  const pf::Value answer =
      ServiceManager::performRemoteMethod(kGetMobileAppUri, params, MobileApp::kClassName, delegate());
  const pf::ArrayPtr list = answer.array();
  if (!list) return std::nullopt;
  std::vector<std::shared_ptr<MobileApp>> apps;
  for (const pf::Value& item : *list) {
    if (auto app = item.objectAs<MobileApp>()) apps.push_back(std::move(app));
  }
  return apps;
}
