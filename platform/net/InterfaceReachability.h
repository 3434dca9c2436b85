#pragma once
// Turns the interfaces that carry traffic into the reachability flags the original platform would
// have reported for a target. Any running non-loopback link other than WWAN is taken as the local
// network; WWAN alone reports a transient mobile connection.

#include <vector>

#include "platform/net/NetworkInterface.h"
#include "platform/net/ReachabilityFlags.h"
#include "platform/net/ReachabilityTarget.h"

namespace pf {

class InterfaceReachability {
 public:
  static ReachabilityFlags flags(const ReachabilityTarget& target,
                                 const std::vector<NetworkInterface>& interfaces);
};

}  // namespace pf
