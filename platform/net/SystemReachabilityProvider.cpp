#include "platform/net/SystemReachabilityProvider.h"

#include "platform/net/InterfaceReachability.h"
#include "platform/net/NetlinkWatcher.h"

namespace pf {

SystemReachabilityProvider::SystemReachabilityProvider()
    : watcher_(std::make_unique<NetlinkWatcher>([this] { notifyChange(); })) {}

SystemReachabilityProvider::~SystemReachabilityProvider() {
  watcher_->stop();
}

std::optional<ReachabilityFlags> SystemReachabilityProvider::flagsFor(const ReachabilityTarget& target) {
  return InterfaceReachability::flags(target, scanner_.interfaces());
}

bool SystemReachabilityProvider::startWatching() {
  return watcher_->start();
}

void SystemReachabilityProvider::stopWatching() {
  watcher_->stop();
}

}  // namespace pf
