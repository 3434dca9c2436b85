#include "platform/net/ManualReachabilityProvider.h"

namespace pf {

void ManualReachabilityProvider::setFlags(std::optional<ReachabilityFlags> flags) {
  std::lock_guard lock(mutex_);
  flags_ = flags;
}

void ManualReachabilityProvider::setFlags(const std::string& target, std::optional<ReachabilityFlags> flags) {
  std::lock_guard lock(mutex_);
  byTarget_[target] = flags;
}

bool ManualReachabilityProvider::watching() const {
  std::lock_guard lock(mutex_);
  return watching_;
}

std::optional<ReachabilityFlags> ManualReachabilityProvider::flagsFor(const ReachabilityTarget& target) {
  std::lock_guard lock(mutex_);
  auto it = byTarget_.find(target.text());
  return it != byTarget_.end() ? it->second : flags_;
}

bool ManualReachabilityProvider::startWatching() {
  std::lock_guard lock(mutex_);
  watching_ = true;
  return true;
}

void ManualReachabilityProvider::stopWatching() {
  std::lock_guard lock(mutex_);
  watching_ = false;
}

}  // namespace pf
