#pragma once
// Reachability of this machine: flags from the interfaces that are up, change events from the
// kernel's routing socket (watched only while someone listens).

#include <memory>

#include "platform/net/InterfaceScanner.h"
#include "platform/net/ReachabilityProvider.h"

namespace pf {

class NetlinkWatcher;

class SystemReachabilityProvider : public ReachabilityProvider {
 public:
  SystemReachabilityProvider();
  ~SystemReachabilityProvider() override;

  std::optional<ReachabilityFlags> flagsFor(const ReachabilityTarget& target) override;

 protected:
  bool startWatching() override;
  void stopWatching() override;

 private:
  InterfaceScanner scanner_;
  std::unique_ptr<NetlinkWatcher> watcher_;
};

}  // namespace pf
