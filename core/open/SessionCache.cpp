#include "core/open/SessionCache.h"

namespace {

std::optional<std::string> member(const SessionCache::ParamDic& dic, const std::string& key) {
  const auto it = dic.find(key);
  if (it == dic.end()) return std::nullopt;
  return it->second;
}

}  // namespace

std::optional<std::string> SessionCache::loginName() const {
  std::lock_guard lock(mutex_);
  return loginName_;
}

std::optional<std::string> SessionCache::password() const {
  std::lock_guard lock(mutex_);
  return password_;
}

std::optional<std::string> SessionCache::corpCode() const {
  std::lock_guard lock(mutex_);
  return corpCode_;
}

std::optional<pf::Date> SessionCache::lastRefreshTime() const {
  std::lock_guard lock(mutex_);
  return lastRefreshTime_;
}

std::optional<std::string> SessionCache::sessionId() const {
  std::lock_guard lock(mutex_);
  return sessionId_;
}

void SessionCache::resetWithLoginParamDic(const ParamDic& loginParamDic, const std::string& sessionId,
                                          pf::Date now) {
  std::lock_guard lock(mutex_);
  loginName_ = member(loginParamDic, "loginName");
  password_ = member(loginParamDic, "password");
  corpCode_ = member(loginParamDic, "corpCode");
  sessionId_ = sessionId;
  lastRefreshTime_ = now;
}

void SessionCache::resetSessionId(const std::string& sessionId, pf::Date now) {
  std::lock_guard lock(mutex_);
  sessionId_ = sessionId;
  lastRefreshTime_ = now;
}

void SessionCache::setLastRefreshTime(pf::Date now) {
  std::lock_guard lock(mutex_);
  lastRefreshTime_ = now;
}

bool SessionCache::isFresh(pf::Date now, double maxAge) const {
  std::lock_guard lock(mutex_);
  return lastRefreshTime_ && now.seconds - lastRefreshTime_->seconds < maxAge;
}

SessionCache::ParamDic SessionCache::loginParamDic() const {
  std::lock_guard lock(mutex_);
  ParamDic dic;
  for (const auto& [key, value] : {std::pair{"loginName", &loginName_}, std::pair{"password", &password_},
                                   std::pair{"corpCode", &corpCode_}}) {
    if (!*value) break;
    dic.emplace(key, **value);
  }
  return dic;
}

void SessionCache::clear() {
  std::lock_guard lock(mutex_);
  loginName_.reset();
  password_.reset();
  corpCode_.reset();
  lastRefreshTime_.reset();
  sessionId_.reset();
}

void SessionCache::replacePassword(const std::string& loginName, const std::string& password) {
  std::lock_guard lock(mutex_);
  if (loginName_ == loginName) password_ = password;
}
