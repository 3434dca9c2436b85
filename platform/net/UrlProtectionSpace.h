#pragma once
// Where a credential applies: a server (host, port, protocol) or a proxy (host, port, proxy type), with
// the realm of its challenge and the authentication method. Hosts, protocols and proxy types compare
// without regard to case (they are kept in lower case); realms compare exactly. An immutable value,
// ordered so it can key a map.

#include <compare>
#include <optional>
#include <string>

namespace pf {

class UrlProtectionSpace {
 public:
  static constexpr char kMethodDefault[] = "NSURLAuthenticationMethodDefault";
  static constexpr char kMethodHttpBasic[] = "NSURLAuthenticationMethodHTTPBasic";
  static constexpr char kMethodHttpDigest[] = "NSURLAuthenticationMethodHTTPDigest";
  static constexpr char kMethodNtlm[] = "NSURLAuthenticationMethodNTLM";

  // Proxy types.
  static constexpr char kProxyHttp[] = "http";
  static constexpr char kProxyHttps[] = "https";
  static constexpr char kProxySocks[] = "socks";

  static UrlProtectionSpace server(std::string host, int port, std::string protocol,
                                   std::optional<std::string> realm, std::string method = kMethodDefault);
  static UrlProtectionSpace proxy(std::string host, int port, std::string proxyType,
                                  std::optional<std::string> realm, std::string method = kMethodDefault);

  bool isProxy() const { return isProxy_; }
  const std::string& host() const { return host_; }
  int port() const { return port_; }
  // The protocol of a server ("http"), or the type of a proxy.
  const std::string& protocol() const { return protocol_; }
  const std::optional<std::string>& realm() const { return realm_; }
  const std::string& authenticationMethod() const { return method_; }

  auto operator<=>(const UrlProtectionSpace&) const = default;
  bool operator==(const UrlProtectionSpace&) const = default;

 private:
  UrlProtectionSpace() = default;

  bool isProxy_ = false;
  std::string host_;
  int port_ = 0;
  std::string protocol_;
  std::optional<std::string> realm_;
  std::string method_;
};

}  // namespace pf
