#pragma once
// What a reachability reference asks about: a host name or an address.

#include <optional>
#include <string>

#include "platform/net/IpAddress.h"

namespace pf {

class ReachabilityTarget {
 public:
  static ReachabilityTarget hostName(std::string name);
  static ReachabilityTarget address(const IpAddress& address);

  // The address asked about: the given one, a numeric host name, or loopback for "localhost";
  // nullopt for any other host name.
  std::optional<IpAddress> resolvedAddress() const;
  // The host name or the address text; names the target in logs and in test providers.
  const std::string& text() const { return text_; }

 private:
  ReachabilityTarget(std::string text, std::optional<IpAddress> address);
  std::string text_;
  std::optional<IpAddress> address_;
};

}  // namespace pf
