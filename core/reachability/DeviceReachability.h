#pragma once
// Quick network tests of the device without keeping a Reachability object: whether any connection
// is usable, whether it is the mobile network, whether it is Wi-Fi (or the local network that counts
// as Wi-Fi). Every test reads fresh flags on the calling thread; safe from any thread.

#include <memory>

#include "core/reachability/ReachabilityWatcher.h"
#include "platform/net/ReachabilityFlags.h"

class DeviceReachability {
 public:
  // Reads the flags of the link-local network 169.254.0.0; 0 when they cannot be read.
  static pf::ReachabilityFlags pingReachabilityInternal();
  static bool networkAvailable();
  static bool activeWWAN();
  static bool activeWLAN();

  // Calls the watcher (held weakly) on this thread's run loop whenever the link-local flags change;
  // a second call replaces the first.
  static bool scheduleReachabilityWatcher(const std::shared_ptr<ReachabilityWatcher>& watcher);
  static void unscheduleReachabilityWatcher();
};
