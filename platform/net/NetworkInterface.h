#pragma once
// One network interface as reachability sees it: what kind of link it is, whether it carries
// traffic, and the addresses assigned to it.

#include <string>
#include <vector>

#include "platform/net/IpAddress.h"

namespace pf {

struct InterfaceAddress {
  IpAddress address;
  int prefixLength = 0;
};

struct NetworkInterface {
  // Wired covers every other non-loopback link (Ethernet, bridges, tunnels): the original platform
  // reported such a local network as Wi-Fi.
  enum class Kind { Loopback, Wired, Wireless, Wwan };

  std::string name;
  Kind kind = Kind::Wired;
  bool running = false;  // up with a carrier
  std::vector<InterfaceAddress> addresses;
};

}  // namespace pf
