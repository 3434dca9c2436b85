#include "core/open/OpenError.h"

OpenError::ErrorInfos OpenError::errorInfos(const pf::Error& error) {
  ErrorInfos infos;
  const auto entry = error.userInfo().find(kOpenErrorsKey);
  if (entry == error.userInfo().end() || !entry->second.isArray()) return infos;
  for (const pf::Value& item : *entry->second.array()) {
    if (auto info = item.objectAs<ErrorInfo>()) infos.push_back(std::move(info));
  }
  return infos;
}

std::shared_ptr<ErrorInfo> OpenError::firstOrDefaultErrorInfo(const pf::Error& error) {
  ErrorInfos infos = errorInfos(error);
  return infos.empty() ? nullptr : infos.front();
}

pf::ErrorPtr OpenError::serviceErrorWithMsg(const std::string& msg) {
  return errorWithDomain(kServiceErrorDomain, kServiceErrorCode,
                         ErrorInfo::errorInfoWithErrorCode("error.service", msg, std::nullopt));
}

pf::ErrorPtr OpenError::errorWithDomain(const std::string& domain, long code,
                                        const std::shared_ptr<ErrorInfo>& errorInfo) {
  return errorWithDomain(domain, code, errorInfo ? ErrorInfos{errorInfo} : ErrorInfos{});
}

pf::ErrorPtr OpenError::errorWithDomain(const std::string& domain, long code, const ErrorInfos& errorInfos) {
  return std::make_shared<pf::Error>(domain, code, errorUserInfoWithErrorInfos(errorInfos));
}

pf::Dictionary OpenError::errorUserInfoWithErrorInfos(const ErrorInfos& errorInfos) {
  pf::Array list(errorInfos.begin(), errorInfos.end());
  return pf::Dictionary{{kOpenErrorsKey, pf::Value(std::move(list))}};
}
