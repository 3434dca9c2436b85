#include "platform/net/UrlProtectionSpace.h"

#include <utility>

#include "platform/foundation/TextHelpers.h"

namespace pf {

UrlProtectionSpace UrlProtectionSpace::server(std::string host, int port, std::string protocol,
                                              std::optional<std::string> realm, std::string method) {
  UrlProtectionSpace space;
  space.host_ = text::lowercase(host);
  space.port_ = port;
  space.protocol_ = text::lowercase(protocol);
  space.realm_ = std::move(realm);
  space.method_ = std::move(method);
  return space;
}

UrlProtectionSpace UrlProtectionSpace::proxy(std::string host, int port, std::string proxyType,
                                             std::optional<std::string> realm, std::string method) {
  UrlProtectionSpace space =
      server(std::move(host), port, std::move(proxyType), std::move(realm), std::move(method));
  space.isProxy_ = true;
  return space;
}

}  // namespace pf
