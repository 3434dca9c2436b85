#pragma once
// A provider whose flags are set by hand, for tests and demos: one flag word for every target (0 at
// first), or one for a target named by its text ("169.254.0.0", "0.0.0.0", a host name).
// fireChange() delivers a change event as the system's watcher would. Thread-safe.

#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "platform/net/ReachabilityProvider.h"

namespace pf {

class ManualReachabilityProvider : public ReachabilityProvider {
 public:
  // nullopt makes the flags unreadable.
  void setFlags(std::optional<ReachabilityFlags> flags);
  void setFlags(const std::string& target, std::optional<ReachabilityFlags> flags);
  void fireChange() { notifyChange(); }
  // Whether anyone listens for change events.
  bool watching() const;

  std::optional<ReachabilityFlags> flagsFor(const ReachabilityTarget& target) override;

 protected:
  bool startWatching() override;
  void stopWatching() override;

 private:
  mutable std::mutex mutex_;
  std::optional<ReachabilityFlags> flags_ = 0;
  std::map<std::string, std::optional<ReachabilityFlags>> byTarget_;
  bool watching_ = false;
};

}  // namespace pf
