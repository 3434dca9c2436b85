#pragma once
// An IPv4 or IPv6 address as bytes in network order, with the few classifications reachability
// needs (loopback, link-local, unspecified, same subnet).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pf {

class IpAddress {
 public:
  static IpAddress v4(const std::array<std::uint8_t, 4>& bytes);
  static IpAddress v6(const std::array<std::uint8_t, 16>& bytes);
  // Dotted IPv4 or textual IPv6; nullopt for anything else (host names included).
  static std::optional<IpAddress> parse(std::string_view text);

  bool isV4() const { return length_ == 4; }
  // The address bytes; only the first 4 are used for IPv4.
  const std::array<std::uint8_t, 16>& bytes() const { return bytes_; }

  bool isLoopback() const;
  bool isLinkLocal() const;
  bool isUnspecified() const;
  // Same family and the first prefixLength bits agree.
  bool sharesPrefix(const IpAddress& other, int prefixLength) const;
  std::string text() const;

  bool operator==(const IpAddress&) const = default;

 private:
  IpAddress() = default;
  std::array<std::uint8_t, 16> bytes_{};
  int length_ = 4;
};

}  // namespace pf
