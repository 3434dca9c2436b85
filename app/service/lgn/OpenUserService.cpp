#include "app/service/lgn/OpenUserService.h"

#include "app/service/cmn/OpenText.h"
#include "core/open/ServiceManager.h"

std::shared_ptr<User> OpenUserService::get() {
  ServiceManager::ParamDic params;
  return ServiceManager::performRemoteMethod(kGetUri, params, User::kClassName, delegate()).objectAs<User>();
}

pf::Value OpenUserService::syncUsers(const pf::Value& users, bool updatePswFirstLogin) {
  ServiceManager::ParamDic params{{"users", openValue(users)},
                                  {"updatePswFirstLogin", openValue(pf::Value(updatePswFirstLogin))}};
  const pf::Value answer =
      ServiceManager::performRemoteMethod(kSyncUsersUri, params, "NSDictionary", delegate());
  return answer.isDictionary() ? answer : pf::Value();
}

bool OpenUserService::modifyUserPassword(const std::optional<std::string>& loginName,
                                         const std::optional<std::string>& psw,
                                         const std::optional<std::string>& oldPsw) {
  ServiceManager::ParamDic params{
      {"loginName", openText(loginName)}, {"psw", openText(psw)}, {"oldPsw", openText(oldPsw)}};
  return ServiceManager::performRemoteMethod(kModifyUserPasswordUri, params, delegate());
}
