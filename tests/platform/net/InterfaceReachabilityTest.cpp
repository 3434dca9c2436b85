#include "platform/net/InterfaceReachability.h"

#include <gtest/gtest.h>

namespace pf {
namespace interface_reachability_test {

using Kind = NetworkInterface::Kind;

constexpr ReachabilityFlags R = kReachabilityFlagsReachable;
constexpr ReachabilityFlags d = kReachabilityFlagsIsDirect;
constexpr ReachabilityFlags l = kReachabilityFlagsIsLocalAddress;
constexpr ReachabilityFlags W = kReachabilityFlagsIsWWAN;
constexpr ReachabilityFlags t = kReachabilityFlagsTransientConnection;

NetworkInterface interface(const char* name, Kind kind, bool running, std::vector<const char*> addresses) {
  NetworkInterface result{name, kind, running, {}};
  for (const char* text : addresses) {
    std::string cidr(text);
    size_t slash = cidr.find('/');
    result.addresses.push_back({*IpAddress::parse(cidr.substr(0, slash)), std::stoi(cidr.substr(slash + 1))});
  }
  return result;
}

const NetworkInterface kLoopback = interface("lo", Kind::Loopback, true, {"127.0.0.1/8", "::1/128"});
const NetworkInterface kWifi = interface("wlan0", Kind::Wireless, true, {"192.168.1.20/24", "fe80::2/64"});
const NetworkInterface kEthernet = interface("eth0", Kind::Wired, true, {"10.0.0.5/8"});
const NetworkInterface kMobile = interface("wwan0", Kind::Wwan, true, {"100.64.3.4/30"});
const NetworkInterface kCableOut = interface("eth1", Kind::Wired, false, {"10.9.0.5/16"});
const NetworkInterface kLinkLocalOnly = interface("eth2", Kind::Wired, true, {"fe80::9/64"});

ReachabilityTarget host(const char* name) {
  return ReachabilityTarget::hostName(name);
}

TEST(InterfaceReachabilityTest, FlagsFollowTheLinksThatAreUp) {
  struct Case {
    const char* what;
    std::vector<NetworkInterface> interfaces;
    ReachabilityTarget target;
    ReachabilityFlags flags;
  };
  const Case cases[] = {
      {"loopback only, outside host", {kLoopback}, host("example.org"), 0},
      {"loopback only, internet", {kLoopback}, host("0.0.0.0"), 0},
      {"loopback only, local Wi-Fi", {kLoopback}, host("169.254.0.0"), 0},
      {"loopback only, 127.0.0.1", {kLoopback}, host("127.0.0.1"), R | l | d},
      {"loopback only, ::1", {kLoopback}, host("::1"), R | l | d},
      {"loopback only, localhost", {kLoopback}, host("localhost"), R | l | d},
      {"Wi-Fi, internet", {kLoopback, kWifi}, host("0.0.0.0"), R},
      {"Wi-Fi, outside host", {kLoopback, kWifi}, host("example.org"), R},
      {"Wi-Fi, local Wi-Fi", {kLoopback, kWifi}, host("169.254.0.0"), R | d},
      {"Wi-Fi, neighbour", {kLoopback, kWifi}, host("192.168.1.1"), R | d},
      {"Wi-Fi, own address", {kLoopback, kWifi}, host("192.168.1.20"), R | l | d},
      {"wired counts as local network", {kLoopback, kEthernet}, host("169.254.0.0"), R | d},
      {"mobile only, internet", {kLoopback, kMobile}, host("0.0.0.0"), R | W | t},
      {"mobile only, local Wi-Fi", {kLoopback, kMobile}, host("169.254.0.0"), R | W | t},
      {"mobile and Wi-Fi prefer Wi-Fi", {kMobile, kWifi}, host("0.0.0.0"), R},
      {"cable out", {kLoopback, kCableOut}, host("0.0.0.0"), 0},
      {"IPv6 link-local only", {kLoopback, kLinkLocalOnly}, host("example.org"), 0},
      {"nothing at all, loopback", {}, host("127.0.0.1"), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(InterfaceReachability::flags(c.target, c.interfaces), c.flags);
  }
}

}  // namespace interface_reachability_test
}  // namespace pf
