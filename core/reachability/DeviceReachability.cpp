#include "core/reachability/DeviceReachability.h"

#include <mutex>

#include "core/reachability/Reachability.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/NetworkReachability.h"

namespace {

std::unique_ptr<pf::NetworkReachability> makeLinkLocalReference() {
  return pf::NetworkReachability::withAddress(pf::IpAddress::v4({169, 254, 0, 0}));
}

bool isAvailable(pf::ReachabilityFlags flags) {
  return (flags & pf::kReachabilityFlagsReachable) && !(flags & pf::kReachabilityFlagsConnectionRequired);
}

// The reference the watcher is scheduled with, shared by the whole process.
std::mutex watcherMutex;
std::unique_ptr<pf::NetworkReachability> watcherReference;

}  // namespace

pf::ReachabilityFlags DeviceReachability::pingReachabilityInternal() {
  std::optional<pf::ReachabilityFlags> flags = makeLinkLocalReference()->flags();
  if (!flags) pf::Log::write("Error. Could not recover network reachability flags");
  return flags.value_or(0);
}

bool DeviceReachability::networkAvailable() {
  return isAvailable(pingReachabilityInternal());
}

bool DeviceReachability::activeWWAN() {
  pf::ReachabilityFlags flags = pingReachabilityInternal();
  return isAvailable(flags) && (flags & pf::kReachabilityFlagsIsWWAN);
}

bool DeviceReachability::activeWLAN() {
  std::shared_ptr<Reachability> reachability = Reachability::reachabilityForLocalWiFi();
  return reachability && reachability->isReachableViaWiFi();
}

bool DeviceReachability::scheduleReachabilityWatcher(const std::shared_ptr<ReachabilityWatcher>& watcher) {
  if (!watcher) {
    pf::Log::write("Watcher must conform to ReachabilityWatcher protocol. Cannot continue.");
    return false;
  }
  pingReachabilityInternal();
  std::lock_guard lock(watcherMutex);
  watcherReference = makeLinkLocalReference();
  std::weak_ptr<ReachabilityWatcher> weakWatcher = watcher;
  watcherReference->setCallback([weakWatcher](pf::ReachabilityFlags) {
    if (std::shared_ptr<ReachabilityWatcher> target = weakWatcher.lock()) target->reachabilityChanged();
  });
  if (!watcherReference->scheduleWithRunLoop(pf::RunLoop::current(), pf::RunLoop::kCommonModes)) {
    pf::Log::write("Error: Could not schedule reachability");
    watcherReference.reset();
    return false;
  }
  return true;
}

void DeviceReachability::unscheduleReachabilityWatcher() {
  std::lock_guard lock(watcherMutex);
  if (watcherReference &&
      watcherReference->unscheduleFromRunLoop(pf::RunLoop::current(), pf::RunLoop::kCommonModes)) {
    pf::Log::write("Unscheduled reachability");
  } else {
    pf::Log::write("Error: Could not unschedule reachability");
  }
  watcherReference.reset();
}
