#include "app/service/lgn/OpenLoginService.h"

#include "app/service/cmn/OpenText.h"
#include "core/open/ServiceManager.h"

namespace {

std::optional<std::string> textAnswer(const char* uri, const std::optional<std::string>& loginName,
                                      const std::optional<std::string>& password,
                                      const std::optional<std::string>& corpCode,
                                      const std::shared_ptr<ServiceDelegate>& delegate) {
  ServiceManager::ParamDic params{
      {"loginName", openText(loginName)}, {"password", openText(password)}, {"corpCode", openText(corpCode)}};
  const pf::Value answer = ServiceManager::performRemoteMethod(uri, params, "NSString", delegate);
  if (const std::string* text = answer.string()) return *text;
  return std::nullopt;
}

}  // namespace

std::optional<std::string> OpenLoginService::login(const std::optional<std::string>& loginName,
                                                   const std::optional<std::string>& password,
                                                   const std::optional<std::string>& corpCode) {
  return textAnswer(kLoginUri, loginName, password, corpCode, delegate());
}

std::optional<std::string> OpenLoginService::ologin(const std::optional<std::string>& loginName,
                                                    const std::optional<std::string>& password,
                                                    const std::optional<std::string>& corpCode) {
  return textAnswer(kOloginUri, loginName, password, corpCode, delegate());
}
