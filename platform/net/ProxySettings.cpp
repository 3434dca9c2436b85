#include "platform/net/ProxySettings.h"

#include <cstdlib>
#include <mutex>

#include "platform/foundation/TextHelpers.h"
#include "platform/net/IpAddress.h"

namespace pf {
namespace {

constexpr const char* kVariables[] = {
    "http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY",    "all_proxy",
    "ALL_PROXY",  "no_proxy",   "NO_PROXY",    "REQUEST_METHOD", ProxySettings::kAutoConfigurationVariable};

std::string lookup(const std::map<std::string, std::string>& environment, const std::string& name) {
  auto found = environment.find(name);
  return found == environment.end() ? std::string() : found->second;
}

bool isLoopback(std::string_view host) {
  std::string name = text::lowercase(host);
  while (name.ends_with('.')) name.pop_back();
  if (name == "localhost" || name.ends_with(".localhost")) return true;
  auto address = IpAddress::parse(name);
  return address && address->isLoopback();
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> percentDecoded(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out.push_back(text[i]);
      continue;
    }
    if (i + 2 >= text.size() || hexDigit(text[i + 1]) < 0 || hexDigit(text[i + 2]) < 0) return std::nullopt;
    out.push_back(char(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2])));
    i += 2;
  }
  return out;
}

std::mutex currentMutex;
std::shared_ptr<const ProxySettings> currentSettings;

}  // namespace

ProxySettings::ProxySettings(std::map<std::string, std::string> environment)
    : environment_(std::move(environment)), noProxy_(variable("no_proxy").value_or("")) {}

ProxySettings ProxySettings::fromProcessEnvironment() {
  std::map<std::string, std::string> environment;
  for (const char* name : kVariables) {
    if (const char* value = std::getenv(name)) environment[name] = value;
  }
  return ProxySettings(std::move(environment));
}

std::shared_ptr<const ProxySettings> ProxySettings::current() {
  std::lock_guard lock(currentMutex);
  if (!currentSettings) currentSettings = std::make_shared<const ProxySettings>(fromProcessEnvironment());
  return currentSettings;
}

void ProxySettings::setCurrent(std::shared_ptr<const ProxySettings> settings) {
  std::lock_guard lock(currentMutex);
  currentSettings = std::move(settings);
}

std::optional<std::string> ProxySettings::variable(const std::string& lowerCaseName) const {
  std::string value = text::trimWhitespace(lookup(environment_, lowerCaseName));
  if (value.empty()) {
    bool underCgi = !lookup(environment_, "REQUEST_METHOD").empty();
    if (lowerCaseName == "http_proxy" && underCgi) return std::nullopt;
    value = text::trimWhitespace(lookup(environment_, text::uppercase(lowerCaseName)));
  }
  if (value.empty()) return std::nullopt;
  return value;
}

std::optional<std::vector<ProxyEntry>> ProxySettings::proxiesFor(std::string_view scheme,
                                                                 std::string_view host, int port) const {
  if (auto script = variable(text::lowercase(kAutoConfigurationVariable))) {
    return std::vector{ProxyEntry::autoConfiguration(*script)};
  }
  std::vector<ProxyEntry> direct = {ProxyEntry::direct()};
  if (isLoopback(host) || noProxy_.matches(host, port)) return direct;

  std::string lowerScheme = text::lowercase(scheme);
  std::optional<std::string> value;
  if (lowerScheme == "http" || lowerScheme == "https") value = variable(lowerScheme + "_proxy");
  if (!value) value = variable("all_proxy");
  if (!value) return direct;
  auto entry = proxyFrom(*value, lowerScheme == "https");
  if (!entry) return std::nullopt;
  return std::vector{*entry};
}

std::optional<ProxyEntry> ProxySettings::proxyFrom(std::string_view value, bool forHttps) const {
  std::string proxyScheme = "http";
  if (std::size_t separator = value.find("://"); separator != std::string_view::npos) {
    proxyScheme = text::lowercase(value.substr(0, separator));
    value.remove_prefix(separator + 3);
  }
  if (std::size_t slash = value.find('/'); slash != std::string_view::npos) value = value.substr(0, slash);
  std::string_view userInfo;
  if (std::size_t at = value.rfind('@'); at != std::string_view::npos) {
    userInfo = value.substr(0, at);
    value.remove_prefix(at + 1);
  }

  std::optional<ProxyEntry> entry;
  ProxyEntry::Type webType = forHttps ? ProxyEntry::Type::Https : ProxyEntry::Type::Http;
  if (proxyScheme == "http") {
    entry = ProxyEntry::proxy(webType, value, 80);
  } else if (proxyScheme == "https") {
    entry = ProxyEntry::proxy(webType, value, 443);
  } else if (proxyScheme == "socks" || proxyScheme == "socks4" || proxyScheme == "socks4a" ||
             proxyScheme == "socks5" || proxyScheme == "socks5h") {
    entry = ProxyEntry::proxy(ProxyEntry::Type::Socks, value, 1080);
  }
  if (!entry || userInfo.empty()) return entry;

  std::size_t colon = userInfo.find(':');
  entry->user = percentDecoded(userInfo.substr(0, colon));
  if (colon != std::string_view::npos) entry->password = percentDecoded(userInfo.substr(colon + 1));
  bool broken = !entry->user || (colon != std::string_view::npos && !entry->password);
  return broken ? std::nullopt : entry;
}

}  // namespace pf
