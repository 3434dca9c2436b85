#pragma once
// The proxies for a URL, from the environment the way Linux users set them up: "http_proxy" for http
// URLs, "https_proxy" for https URLs, "all_proxy" for anything without its own variable, each also in
// upper case (the lower case wins), and "no_proxy" for the hosts that go directly (see NoProxyList).
// "localhost", names below ".localhost" and loopback addresses always go directly. The upper-case
// "HTTP_PROXY" is ignored when "REQUEST_METHOD" is set: under CGI it holds the client's "Proxy" header.
// "MARLUNE_PAC_URL" names a proxy auto-configuration script, which then decides for every URL.
//
// A value is a proxy URL ("http://user:pw@proxy:3128/", "socks5://proxy", or just "proxy:3128");
// without a port, http proxies use 80, https ones 443 and SOCKS ones 1080. The answer is a list of
// entries to try in order: one None entry for a direct connection, nullopt when a variable that applies
// cannot be read (the caller must not silently bypass a configured proxy).
//
// The variables are read once, when the settings are made. Immutable; current() and setCurrent() are
// thread-safe.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/net/NoProxyList.h"
#include "platform/net/ProxyEntry.h"

namespace pf {

class ProxySettings {
 public:
  static constexpr char kAutoConfigurationVariable[] = "MARLUNE_PAC_URL";

  // Variables by name; names missing or empty count as unset.
  explicit ProxySettings(std::map<std::string, std::string> environment);
  static ProxySettings fromProcessEnvironment();

  // The settings every request uses: the process environment unless replaced (tests); nullptr goes back
  // to the process environment.
  static std::shared_ptr<const ProxySettings> current();
  static void setCurrent(std::shared_ptr<const ProxySettings> settings);

  // For a URL's scheme (lower case), host (without brackets) and port.
  std::optional<std::vector<ProxyEntry>> proxiesFor(std::string_view scheme, std::string_view host,
                                                    int port) const;

 private:
  std::optional<std::string> variable(const std::string& lowerCaseName) const;
  std::optional<ProxyEntry> proxyFrom(std::string_view value, bool forHttps) const;

  std::map<std::string, std::string> environment_;
  NoProxyList noProxy_;
};

}  // namespace pf
