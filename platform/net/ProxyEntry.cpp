#include "platform/net/ProxyEntry.h"

#include <algorithm>
#include <charconv>

#include "platform/net/IpAddress.h"

namespace pf {
namespace {

bool isHostNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_';
}

std::optional<int> portFrom(std::string_view text) {
  int port = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (port < 1 || port > 65535) return std::nullopt;
  return port;
}

bool isIpV6(std::string_view text) {
  auto address = IpAddress::parse(text);
  return address && !address->isV4();
}

}  // namespace

ProxyEntry ProxyEntry::autoConfiguration(std::string url) {
  ProxyEntry entry;
  entry.type = Type::AutoConfigurationUrl;
  entry.autoConfigurationUrl = std::move(url);
  return entry;
}

std::optional<ProxyEntry> ProxyEntry::proxy(Type type, std::string_view hostAndPort, int defaultPort) {
  std::string_view host = hostAndPort;
  std::optional<int> port = defaultPort;
  auto colons = std::count(hostAndPort.begin(), hostAndPort.end(), ':');
  if (hostAndPort.starts_with('[')) {
    std::size_t close = hostAndPort.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    host = hostAndPort.substr(1, close - 1);
    std::string_view rest = hostAndPort.substr(close + 1);
    if (!rest.empty()) port = rest[0] == ':' ? portFrom(rest.substr(1)) : std::nullopt;
    if (!isIpV6(host)) return std::nullopt;
  } else if (colons > 1) {
    if (!isIpV6(host)) return std::nullopt;  // a bare IPv6 address, no port
  } else {
    if (colons == 1) {
      std::size_t colon = hostAndPort.find(':');
      host = hostAndPort.substr(0, colon);
      port = portFrom(hostAndPort.substr(colon + 1));
    }
    if (host.empty() || !std::all_of(host.begin(), host.end(), isHostNameChar)) return std::nullopt;
  }
  if (!port) return std::nullopt;

  ProxyEntry entry;
  entry.type = type;
  entry.host = std::string(host);
  entry.port = *port;
  return entry;
}

}  // namespace pf
