#pragma once
// A reachability reference: one target whose flags can be read at any time and whose changes are
// delivered to a callback on the run loop it is scheduled on. The callback gets the new flags and
// runs only when they differ from the last ones seen, as the original platform's did.
//
// Threads: flags() from any thread. Set the callback and schedule/unschedule on one thread at a
// time; deliveries run on the scheduled loop's thread. Unscheduling from that thread (or destroying
// the reference) guarantees no later callback.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/RunLoop.h"
#include "platform/net/ReachabilityFlags.h"
#include "platform/net/ReachabilityProvider.h"
#include "platform/net/ReachabilityTarget.h"

namespace pf {

class NetworkReachability {
 public:
  using Callback = std::function<void(ReachabilityFlags)>;

  // Both ask the shared provider; nullptr for an empty host name.
  static std::unique_ptr<NetworkReachability> withHostName(const std::string& name);
  static std::unique_ptr<NetworkReachability> withAddress(const IpAddress& address);

  NetworkReachability(ReachabilityTarget target, std::shared_ptr<ReachabilityProvider> provider);
  ~NetworkReachability();
  NetworkReachability(const NetworkReachability&) = delete;
  NetworkReachability& operator=(const NetworkReachability&) = delete;

  const ReachabilityTarget& target() const;
  // nullopt when the flags cannot be read.
  std::optional<ReachabilityFlags> flags() const;

  // An empty callback removes it.
  void setCallback(Callback callback);
  // false when already scheduled elsewhere or when changes cannot be watched.
  bool scheduleWithRunLoop(const std::shared_ptr<RunLoop>& loop, const std::string& mode);
  // false when not scheduled on that loop in that mode.
  bool unscheduleFromRunLoop(const std::shared_ptr<RunLoop>& loop, const std::string& mode);

 private:
  struct Link;
  static void deliver(const std::weak_ptr<Link>& weakLink, std::uint64_t generation);

  std::shared_ptr<Link> link_;  // shared with the deliveries posted to the loop
};

}  // namespace pf
