#include "platform/net/ReachabilityTarget.h"

#include <algorithm>
#include <cctype>

namespace pf {

namespace {

bool isLocalhostName(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  if (!name.empty() && name.back() == '.') name.pop_back();
  return name == "localhost" || name.ends_with(".localhost");
}

}  // namespace

ReachabilityTarget::ReachabilityTarget(std::string text, std::optional<IpAddress> address)
    : text_(std::move(text)), address_(address) {}

ReachabilityTarget ReachabilityTarget::hostName(std::string name) {
  std::optional<IpAddress> address = IpAddress::parse(name);
  if (!address && isLocalhostName(name)) address = IpAddress::v4({127, 0, 0, 1});
  return ReachabilityTarget(std::move(name), address);
}

ReachabilityTarget ReachabilityTarget::address(const IpAddress& address) {
  return ReachabilityTarget(address.text(), address);
}

std::optional<IpAddress> ReachabilityTarget::resolvedAddress() const {
  return address_;
}

}  // namespace pf
