#pragma once
// Told when the device's reachability changes (see DeviceReachability::scheduleReachabilityWatcher).

class ReachabilityWatcher {
 public:
  virtual ~ReachabilityWatcher() = default;
  virtual void reachabilityChanged() = 0;
};
