#pragma once
// The process-wide memory of the server session: the credentials of the last successful login as they
// were sent (parameter texts), the session id, and when the session was last known to be alive.
//
// Thread rules: every member works from any thread; each call reads or changes the whole record under
// one lock, so a renewal on one thread and a call on another never see half of a change.

#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "platform/foundation/Value.h"

class SessionCache {
 public:
  using ParamDic = std::map<std::string, std::string>;

  std::optional<std::string> loginName() const;
  std::optional<std::string> password() const;
  std::optional<std::string> corpCode() const;
  std::optional<pf::Date> lastRefreshTime() const;
  std::optional<std::string> sessionId() const;

  // After a successful login: its "loginName", "password" and "corpCode" parameters, the new session.
  void resetWithLoginParamDic(const ParamDic& loginParamDic, const std::string& sessionId, pf::Date now);
  // After a successful renewal with the remembered credentials.
  void resetSessionId(const std::string& sessionId, pf::Date now);
  void setLastRefreshTime(pf::Date now);
  // After the user changed the password: the renewal logs in with the new one (parameter text). Only
  // when the session is that login name's (parameter text too).
  void replacePassword(const std::string& loginName, const std::string& password);
  // True when the session was refreshed less than maxAge seconds before now.
  bool isFresh(pf::Date now, double maxAge) const;
  // The remembered credentials as login parameters; the list ends at the first one missing.
  ParamDic loginParamDic() const;
  // Forgets the credentials and the session (a new login is starting, or the user signed out).
  void clear();

 private:
  mutable std::mutex mutex_;
  std::optional<std::string> loginName_;
  std::optional<std::string> password_;
  std::optional<std::string> corpCode_;
  std::optional<pf::Date> lastRefreshTime_;
  std::optional<std::string> sessionId_;
};
