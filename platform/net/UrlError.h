#pragma once
// The URL loading system's error domain with the codes callers test for, and the one failure the
// system tells before any connection: no network reaches the host (-1009, not connected), which callers
// may retry later, unlike a server that answered badly.

#include <optional>

#include "platform/foundation/Error.h"
#include "platform/net/Url.h"

namespace pf {

class UrlError {
 public:
  static constexpr char kDomain[] = "NSURLErrorDomain";
  static constexpr long kUnknown = -1;
  static constexpr long kTimedOut = -1001;
  static constexpr long kCannotConnectToHost = -1004;
  static constexpr long kNotConnectedToInternet = -1009;

  static ErrorPtr make(long code, std::string description);
  // -1009 "The Internet connection appears to be offline."
  static ErrorPtr notConnectedToInternet();
  // True when the shared reachability provider reads the host's flags and they lack "reachable";
  // unreadable flags count as reachable, so only a known lack of network stops a request.
  static bool isUnreachable(const Url& url);
  // -1009 when the host is unreachable now, else nullopt.
  static std::optional<ErrorPtr> unreachableError(const Url& url);
};

}  // namespace pf
