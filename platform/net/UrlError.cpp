#include "platform/net/UrlError.h"

#include "platform/net/ReachabilityFlags.h"
#include "platform/net/ReachabilityProvider.h"
#include "platform/net/ReachabilityTarget.h"

namespace pf {

ErrorPtr UrlError::make(long code, std::string description) {
  return Error::make(kDomain, code, std::move(description));
}

ErrorPtr UrlError::notConnectedToInternet() {
  return make(kNotConnectedToInternet, "The Internet connection appears to be offline.");
}

bool UrlError::isUnreachable(const Url& url) {
  const std::optional<ReachabilityFlags> flags =
      ReachabilityProvider::shared()->flagsFor(ReachabilityTarget::hostName(url.host()));
  return flags && !(*flags & kReachabilityFlagsReachable);
}

std::optional<ErrorPtr> UrlError::unreachableError(const Url& url) {
  if (!isUnreachable(url)) return std::nullopt;
  return notConnectedToInternet();
}

}  // namespace pf
