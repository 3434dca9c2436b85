// The fuzz targets never touch the network or the machine's interfaces: parsers that can reach the
// system's lookups are given fixed ones. These stand in for the system side so that the targets link
// without the rest of the network layer, and fail loudly should a parser reach it after all.

#include <cstdio>
#include <cstdlib>

#include "core/reachability/DeviceReachability.h"
#include "platform/net/HostResolver.h"
#include "platform/net/InterfaceScanner.h"

namespace {

[[noreturn]] void reached(const char* what) {
  std::fprintf(stderr, "a fuzz target reached the system: %s\n", what);
  std::abort();
}

}  // namespace

void pf::HostResolver::resolve(const std::string&, int, std::function<void(Answer)>) {
  reached("HostResolver::resolve");
}

pf::InterfaceScanner::InterfaceScanner(std::string) {
  reached("InterfaceScanner");
}

std::vector<pf::NetworkInterface> pf::InterfaceScanner::interfaces() const {
  reached("InterfaceScanner::interfaces");
}

bool DeviceReachability::activeWLAN() {
  reached("DeviceReachability::activeWLAN");
}

bool DeviceReachability::activeWWAN() {
  reached("DeviceReachability::activeWWAN");
}
