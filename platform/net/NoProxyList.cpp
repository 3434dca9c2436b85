#include "platform/net/NoProxyList.h"

#include <charconv>

#include "platform/foundation/TextHelpers.h"

namespace pf {
namespace {

std::optional<int> numberFrom(std::string_view text) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string normalisedHost(std::string_view host) {
  if (host.starts_with('[') && host.ends_with(']')) host = host.substr(1, host.size() - 2);
  while (host.ends_with('.')) host.remove_suffix(1);
  return text::lowercase(host);
}

}  // namespace

NoProxyList::NoProxyList(std::string_view list) {
  std::size_t start = 0;
  while (start < list.size()) {
    std::size_t end = list.find_first_of(", \t", start);
    if (end == std::string_view::npos) end = list.size();
    if (end > start) add(list.substr(start, end - start));
    start = end + 1;
  }
}

void NoProxyList::add(std::string_view entry) {
  if (entry == "*") {
    everything_ = true;
    return;
  }
  Rule rule;
  // A port follows the last colon when the entry is a bracketed address or holds exactly one colon.
  std::size_t colon = entry.rfind(':');
  bool bracketed = entry.starts_with('[');
  bool hasPort =
      colon != std::string_view::npos && (bracketed ? colon > entry.find(']') : entry.find(':') == colon);
  if (hasPort) {
    rule.port = numberFrom(entry.substr(colon + 1));
    if (!rule.port) return;
    entry = entry.substr(0, colon);
  }
  std::size_t slash = entry.find('/');
  std::string host = normalisedHost(entry.substr(0, slash));
  if (auto address = IpAddress::parse(host)) {
    int bits = address->isV4() ? 32 : 128;
    auto prefix =
        slash == std::string_view::npos ? std::optional<int>(bits) : numberFrom(entry.substr(slash + 1));
    if (!prefix || *prefix < 0 || *prefix > bits) return;
    rule.network = address;
    rule.prefixLength = *prefix;
  } else {
    if (slash != std::string_view::npos) return;
    if (host.starts_with("*.")) host.erase(0, 2);
    if (host.starts_with('.')) host.erase(0, 1);
    if (host.empty()) return;
    rule.domain = host;
  }
  rules_.push_back(std::move(rule));
}

bool NoProxyList::matches(std::string_view host, int port) const {
  if (everything_) return true;
  std::string name = normalisedHost(host);
  auto address = IpAddress::parse(name);
  for (const Rule& rule : rules_) {
    if (rule.port && *rule.port != port) continue;
    if (matchesRule(rule, name, address)) return true;
  }
  return false;
}

bool NoProxyList::matchesRule(const Rule& rule, std::string_view host,
                              const std::optional<IpAddress>& address) {
  if (rule.network) return address && rule.network->sharesPrefix(*address, rule.prefixLength);
  return host == rule.domain || host.ends_with("." + rule.domain);
}

}  // namespace pf
