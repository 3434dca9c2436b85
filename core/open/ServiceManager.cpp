#include "core/open/ServiceManager.h"

#include <cstdio>

#include "core/http/RequestLogRedactor.h"
#include "core/open/ErrorInfo.h"
#include "core/open/OpenError.h"
#include "core/open/OpenResult.h"
#include "core/open/RequestUtil.h"
#include "core/util/CommonUtil.h"
#include "core/util/MD5HexDigest.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/JsonSerialization.h"
#include "platform/foundation/Log.h"

namespace {

std::mutex configurationMutex;
std::shared_ptr<const ServiceConfiguration> installedConfiguration;

void log(const std::string& message) {
  pf::logf("%@", message);
}

std::string delegateText(const std::shared_ptr<ServiceDelegate>& delegate) {
  if (!delegate) return "(null)";
  char text[32];
  std::snprintf(text, sizeof text, "%p", static_cast<const void*>(delegate.get()));
  return text;
}

}  // namespace

void ServiceManager::initConfiguration(const ServiceConfiguration& configuration) {
  // Answers decode into these by name, so they must be known before the first call.
  pf::registerClass<ErrorInfo>();
  pf::registerClass<OpenResult>();
  std::lock_guard lock(configurationMutex);
  installedConfiguration = std::make_shared<const ServiceConfiguration>(configuration);
}

std::shared_ptr<const ServiceConfiguration> ServiceManager::configuration() {
  std::lock_guard lock(configurationMutex);
  return installedConfiguration;
}

std::shared_ptr<const ServiceConfiguration> ServiceManager::requireConfiguration() {
  auto installed = configuration();
  if (!installed) throw pf::ContractViolation("please init configuration first!");
  return installed;
}

SessionCache& ServiceManager::sessionCache() {
  static SessionCache cache;
  return cache;
}

void ServiceManager::refreshSessionCacheTime() {
  sessionCache().setLastRefreshTime(pf::Date::now());
}

pf::Value ServiceManager::performRemoteMethod(const std::string& requestUri, ParamDic& paramDic,
                                              const std::string& returnType,
                                              const std::shared_ptr<ServiceDelegate>& delegate) {
  if (requestUri == kLoginUri) return login(paramDic, returnType, delegate);
  if (requireConfiguration()->autoresetSession) checkSessionCacheAndlogin(delegate);
  return performRemoteMethodCore(requestUri, paramDic, returnType, delegate);
}

bool ServiceManager::performRemoteMethod(const std::string& requestUri, ParamDic& paramDic,
                                         const std::shared_ptr<ServiceDelegate>& delegate) {
  const auto result =
      performRemoteMethod(requestUri, paramDic, OpenResult::kClassName, delegate).objectAs<OpenResult>();
  return result && result->success;
}

// The cache is emptied before the login goes out: whatever happens to it, no later call can carry
// the previous user's session or renew it with the previous user's credentials.
pf::Value ServiceManager::login(ParamDic& paramDic, const std::string& returnType,
                                const std::shared_ptr<ServiceDelegate>& delegate) {
  std::lock_guard lock(sessionMutex());
  sessionCache().clear();
  pf::Value answer = performRemoteMethodCore(kLoginUri, paramDic, returnType, delegate);
  if (const std::string* sessionId = answer.string()) {
    sessionCache().resetWithLoginParamDic(paramDic, *sessionId, pf::Date::now());
  }
  return answer;
}

// A failed renewal has been reported to the delegate under the login path; the caller's own call
// goes on regardless, and the next call tries again.
void ServiceManager::checkSessionCacheAndlogin(const std::shared_ptr<ServiceDelegate>& delegate) {
  if (sessionCache().isFresh(pf::Date::now(), kSessionRenewalSeconds)) return;
  std::lock_guard lock(sessionMutex());
  // Whoever held the lock may just have renewed.
  if (sessionCache().isFresh(pf::Date::now(), kSessionRenewalSeconds)) return;
  ParamDic loginParamDic = sessionCache().loginParamDic();
  const pf::Value answer = performRemoteMethodCore(kLoginUri, loginParamDic, "NSString", delegate);
  if (const std::string* sessionId = answer.string())
    sessionCache().resetSessionId(*sessionId, pf::Date::now());
}

pf::Value ServiceManager::performRemoteMethodCore(const std::string& requestUri, ParamDic& paramDic,
                                                  const std::string& returnType,
                                                  const std::shared_ptr<ServiceDelegate>& delegate) {
  requireConfiguration();
  log(pf::format("Request open service with uri: %@ on delegate %@.", requestUri, delegateText(delegate)));
  pf::ErrorPtr error;
  const std::optional<pf::Data> body = postData(paramDic, requestUri, &error);
  if (!body) {
    log("Error occurs when parsing post data.");
    alertError(error, requestUri, delegate);
    return {};
  }
  log(pf::format("Post json string: %@", RequestLogRedactor::redact(std::string(body->begin(), body->end()))));
  pf::Value answer = RequestUtil::performRemoteMethod(requestUri, *body, returnType, &error);
  if (answer.isNil() && error) {
    log("Error occurs when parsing received data.");
    alertError(error, requestUri, delegate);
  }
  return answer;
}

std::optional<pf::Data> ServiceManager::postData(ParamDic& paramDic, const std::string& requestUri,
                                                 pf::ErrorPtr* error) {
  const auto configuration = requireConfiguration();
  paramDic["appKey_"] = configuration->appKey;
  paramDic["sign_"] = generateSign(requestUri, configuration->secret);
  paramDic["timestamp_"] = currentTimestampStr();
  const std::optional<std::string> sessionId = sessionCache().sessionId();
  if (sessionId && requestUri != kLoginUri) {
    paramDic["session_"] = *sessionId;
  } else {
    paramDic.erase("session_");  // a reused dictionary must not carry an earlier session
  }

  const pf::Dictionary body(paramDic.begin(), paramDic.end());
  pf::ErrorPtr writerError;
  auto data = pf::JsonSerialization::dataWithJSONObject(
      pf::Value(body), pf::JsonSerialization::WritingPrettyPrinted, &writerError);
  if (!data) {
    *error = std::make_shared<pf::Error>(kOpenErrorDomain, kOpenPostDataErrorCode,
                                         writerError ? writerError->userInfo() : pf::Dictionary{});
  }
  return data;
}

std::string ServiceManager::generateSign(const std::string& requestUri, const std::string& secret) {
  return MD5HexDigest::MD5TO32Upper(pf::format("%@|%@|%@", secret, requestUri, secret));
}

std::string ServiceManager::currentTimestampStr() {
  return std::to_string(CommonUtil::javaTimeMillsNumberSince1970WithDate(pf::Date::now()));
}

// The delegate is held until the error has been delivered, after the call itself has answered.
void ServiceManager::alertError(const pf::ErrorPtr& error, const std::string& requestUri,
                                const std::shared_ptr<ServiceDelegate>& delegate) {
  if (!delegate) return;
  pf::DispatchQueue::main()->async([error, requestUri, delegate] { delegate->onError(error, requestUri); });
}

std::mutex& ServiceManager::sessionMutex() {
  static std::mutex mutex;
  return mutex;
}
