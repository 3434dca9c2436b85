#include "platform/net/InterfaceReachability.h"

#include <algorithm>

namespace pf {

namespace {

using Kind = NetworkInterface::Kind;

constexpr ReachabilityFlags kLocal =
    kReachabilityFlagsReachable | kReachabilityFlagsIsLocalAddress | kReachabilityFlagsIsDirect;
constexpr ReachabilityFlags kMobile =
    kReachabilityFlagsReachable | kReachabilityFlagsIsWWAN | kReachabilityFlagsTransientConnection;

// A link-local IPv6 address alone does not connect a machine to anything worth reaching.
bool isUsable(const NetworkInterface& interface) {
  if (!interface.running || interface.kind == Kind::Loopback) return false;
  return std::any_of(interface.addresses.begin(), interface.addresses.end(),
                     [](const InterfaceAddress& a) { return a.address.isV4() || !a.address.isLinkLocal(); });
}

bool hasAddress(const NetworkInterface& interface, const IpAddress& address) {
  return std::any_of(interface.addresses.begin(), interface.addresses.end(),
                     [&](const InterfaceAddress& a) { return a.address == address; });
}

bool onSubnet(const NetworkInterface& interface, const IpAddress& address) {
  return std::any_of(interface.addresses.begin(), interface.addresses.end(), [&](const InterfaceAddress& a) {
    return a.prefixLength > 0 && a.address.sharesPrefix(address, a.prefixLength);
  });
}

// Flags for a target reached through the best usable link, direct when it is on that link.
ReachabilityFlags viaBestLink(const std::vector<NetworkInterface>& interfaces, bool direct) {
  bool local = false;
  bool mobile = false;
  for (const NetworkInterface& interface : interfaces) {
    if (!isUsable(interface)) continue;
    (interface.kind == Kind::Wwan ? mobile : local) = true;
  }
  if (local) return kReachabilityFlagsReachable | (direct ? kReachabilityFlagsIsDirect : 0);
  return mobile ? kMobile : 0;
}

ReachabilityFlags forAddress(const IpAddress& address, const std::vector<NetworkInterface>& interfaces) {
  if (address.isLoopback()) {
    bool up = std::any_of(interfaces.begin(), interfaces.end(),
                          [](const NetworkInterface& i) { return i.kind == Kind::Loopback && i.running; });
    return up ? kLocal : 0;
  }
  if (address.isUnspecified()) return viaBestLink(interfaces, false);
  for (const NetworkInterface& interface : interfaces) {
    if (interface.running && hasAddress(interface, address)) return kLocal;
  }
  if (address.isLinkLocal()) return viaBestLink(interfaces, true);
  for (const NetworkInterface& interface : interfaces) {
    if (!isUsable(interface) || !onSubnet(interface, address)) continue;
    return interface.kind == Kind::Wwan ? kMobile : kReachabilityFlagsReachable | kReachabilityFlagsIsDirect;
  }
  return viaBestLink(interfaces, false);
}

}  // namespace

ReachabilityFlags InterfaceReachability::flags(const ReachabilityTarget& target,
                                               const std::vector<NetworkInterface>& interfaces) {
  std::optional<IpAddress> address = target.resolvedAddress();
  return address ? forAddress(*address, interfaces) : viaBestLink(interfaces, false);
}

}  // namespace pf
