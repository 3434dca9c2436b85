#pragma once
// The hosts a "no_proxy" variable sends directly, read the way Linux tools read it: entries separated by
// commas or blanks; "*" for every host; a domain ("example.com", ".example.com" or "*.example.com")
// covers itself and every host below it; "host:port" only that port; an IP address or a CIDR block
// ("10.0.0.0/8", "[::1]", "fd00::/8") covers addresses written as such in the URL (names are not
// resolved). Matching ignores case and a trailing dot. Unreadable entries are skipped.
// Immutable; safe to share across threads.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/net/IpAddress.h"

namespace pf {

class NoProxyList {
 public:
  explicit NoProxyList(std::string_view list);

  bool matches(std::string_view host, int port) const;

 private:
  struct Rule {
    std::string domain;                // empty for an address rule
    std::optional<IpAddress> network;  // with prefixLength
    int prefixLength = 0;
    std::optional<int> port;
  };

  void add(std::string_view entry);
  static bool matchesRule(const Rule& rule, std::string_view host, const std::optional<IpAddress>& address);

  bool everything_ = false;
  std::vector<Rule> rules_;
};

}  // namespace pf
