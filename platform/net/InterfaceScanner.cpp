#include "platform/net/InterfaceScanner.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <utility>

namespace pf {

namespace {

std::optional<IpAddress> addressOf(const sockaddr* sa) {
  if (!sa) return std::nullopt;
  if (sa->sa_family == AF_INET) {
    std::array<std::uint8_t, 4> bytes{};
    std::memcpy(bytes.data(), &reinterpret_cast<const sockaddr_in*>(sa)->sin_addr, 4);
    return IpAddress::v4(bytes);
  }
  if (sa->sa_family == AF_INET6) {
    std::array<std::uint8_t, 16> bytes{};
    std::memcpy(bytes.data(), &reinterpret_cast<const sockaddr_in6*>(sa)->sin6_addr, 16);
    return IpAddress::v6(bytes);
  }
  return std::nullopt;
}

int prefixLengthOf(const std::optional<IpAddress>& mask) {
  if (!mask) return 0;
  int bits = 0;
  int length = mask->isV4() ? 4 : 16;
  for (int i = 0; i < length; ++i) bits += std::popcount(mask->bytes()[i]);
  return bits;
}

bool isHardwareAddress(const std::string& text) {
  static const std::regex pattern("[0-9a-f]{2}(:[0-9a-f]{2}){5}");
  return std::regex_match(text, pattern) && text != "00:00:00:00:00:00";
}

}  // namespace

InterfaceScanner::InterfaceScanner(std::string sysRoot) : sysRoot_(std::move(sysRoot)) {}

std::vector<NetworkInterface> InterfaceScanner::interfaces() const {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return {};
  std::map<std::string, NetworkInterface> byName;
  for (ifaddrs* entry = list; entry; entry = entry->ifa_next) {
    bool loopback = entry->ifa_flags & IFF_LOOPBACK;
    auto [it, added] = byName.try_emplace(entry->ifa_name);
    NetworkInterface& interface = it->second;
    if (added) {
      interface.name = entry->ifa_name;
      interface.kind = kindOf(interface.name, loopback);
      interface.running = (entry->ifa_flags & IFF_UP) && (entry->ifa_flags & IFF_RUNNING);
    }
    if (std::optional<IpAddress> address = addressOf(entry->ifa_addr)) {
      interface.addresses.push_back({*address, prefixLengthOf(addressOf(entry->ifa_netmask))});
    }
  }
  freeifaddrs(list);
  std::vector<NetworkInterface> result;
  for (auto& [name, interface] : byName) result.push_back(std::move(interface));
  return result;
}

NetworkInterface::Kind InterfaceScanner::kindOf(const std::string& name, bool loopback) const {
  if (loopback) return NetworkInterface::Kind::Loopback;
  std::error_code ignored;
  if (std::filesystem::exists(std::filesystem::path(sysRoot_) / name / "wireless", ignored)) {
    return NetworkInterface::Kind::Wireless;
  }
  std::ifstream uevent(std::filesystem::path(sysRoot_) / name / "uevent");
  for (std::string line; std::getline(uevent, line);) {
    if (line == "DEVTYPE=wwan") return NetworkInterface::Kind::Wwan;
  }
  return NetworkInterface::Kind::Wired;
}

bool InterfaceScanner::exists(const std::string& name) const {
  std::error_code ignored;
  return !name.empty() && name.find('/') == std::string::npos &&
         std::filesystem::is_directory(std::filesystem::path(sysRoot_) / name, ignored);
}

std::optional<std::string> InterfaceScanner::hardwareAddress(const std::string& name) const {
  if (!exists(name)) return std::nullopt;
  std::optional<std::string> address = readLine(name, "address");
  if (!address || !isHardwareAddress(*address)) return std::nullopt;
  return address;
}

std::optional<std::string> InterfaceScanner::defaultHardwareInterface() const {
  std::optional<std::string> best;
  std::pair<bool, long> bestRank{true, LONG_MAX};
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(sysRoot_, error)) {
    std::string name = entry.path().filename().string();
    std::optional<std::string> index = readLine(name, "ifindex");
    if (!index || !hardwareAddress(name)) continue;
    // Interfaces that are up come first, then the lowest index.
    long flags = std::strtol(readLine(name, "flags").value_or("0").c_str(), nullptr, 16);
    std::pair<bool, long> rank{!(flags & IFF_UP), std::strtol(index->c_str(), nullptr, 10)};
    if (rank < bestRank) {
      bestRank = rank;
      best = name;
    }
  }
  return best;
}

std::optional<std::string> InterfaceScanner::readLine(const std::string& name,
                                                      const std::string& file) const {
  std::ifstream in(std::filesystem::path(sysRoot_) / name / file);
  std::string line;
  if (!std::getline(in, line)) return std::nullopt;
  return line;
}

}  // namespace pf
