#pragma once
// The entry of every remote call. A call is one signed JSON POST: the caller's parameters (each the
// JSON text of an argument, see openValue) plus "appKey_", "sign_" (upper-case MD5 of
// secret|path|secret), "timestamp_" (milliseconds) and "session_" (the cached session, never on the
// login path). With autoresetSession on, a call first logs in again with the remembered credentials
// when the session was last refreshed 880 s ago or more. Answers come back decoded into the named
// type; failures answer nil and reach the delegate's onError on the main queue.
//
// Thread rules: calls run on the calling thread and block it. The configuration slot and the session
// cache are locked; logins and renewals run one at a time, so two threads that find the session stale
// renew it once, and a renewal never lands on top of another user's login.

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "core/open/ServiceConfiguration.h"
#include "core/open/ServiceDelegate.h"
#include "core/open/SessionCache.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Value.h"

class ServiceManager {
 public:
  // Parameter name to parameter text (a JSON text).
  using ParamDic = std::map<std::string, std::string>;

  static constexpr char kLoginUri[] = "/v1/uc/login/ologin";
  static constexpr double kSessionRenewalSeconds = 880.0;

  // Installs a copy, replacing any earlier configuration.
  static void initConfiguration(const ServiceConfiguration& configuration);
  // The installed configuration, or null.
  static std::shared_ptr<const ServiceConfiguration> configuration();
  // The installed configuration; a ContractViolation "please init configuration first!" without one.
  static std::shared_ptr<const ServiceConfiguration> requireConfiguration();

  static SessionCache& sessionCache();
  // The session was seen alive now.
  static void refreshSessionCacheTime();

  // One remote call answering an object, a list of objects or a single value of returnType (a class
  // name, "NSString", a type letter). The signing keys are written into paramDic. A login that fails
  // leaves no session cached.
  static pf::Value performRemoteMethod(const std::string& requestUri, ParamDic& paramDic,
                                       const std::string& returnType,
                                       const std::shared_ptr<ServiceDelegate>& delegate);
  // A call answering {"success": ...}; false also when the call failed or answered null.
  static bool performRemoteMethod(const std::string& requestUri, ParamDic& paramDic,
                                  const std::shared_ptr<ServiceDelegate>& delegate);

 private:
  static pf::Value login(ParamDic& paramDic, const std::string& returnType,
                         const std::shared_ptr<ServiceDelegate>& delegate);
  static void checkSessionCacheAndlogin(const std::shared_ptr<ServiceDelegate>& delegate);
  static pf::Value performRemoteMethodCore(const std::string& requestUri, ParamDic& paramDic,
                                           const std::string& returnType,
                                           const std::shared_ptr<ServiceDelegate>& delegate);
  static std::optional<pf::Data> postData(ParamDic& paramDic, const std::string& requestUri,
                                          pf::ErrorPtr* error);
  static std::string generateSign(const std::string& requestUri, const std::string& secret);
  static std::string currentTimestampStr();
  static void alertError(const pf::ErrorPtr& error, const std::string& requestUri,
                         const std::shared_ptr<ServiceDelegate>& delegate);
  static std::mutex& sessionMutex();
};
