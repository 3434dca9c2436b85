#include "platform/net/IpAddress.h"

#include <arpa/inet.h>

#include <algorithm>

namespace pf {

IpAddress IpAddress::v4(const std::array<std::uint8_t, 4>& bytes) {
  IpAddress address;
  std::copy(bytes.begin(), bytes.end(), address.bytes_.begin());
  address.length_ = 4;
  return address;
}

IpAddress IpAddress::v6(const std::array<std::uint8_t, 16>& bytes) {
  IpAddress address;
  address.bytes_ = bytes;
  address.length_ = 16;
  return address;
}

std::optional<IpAddress> IpAddress::parse(std::string_view text) {
  std::string copy(text);
  std::array<std::uint8_t, 16> bytes{};
  if (inet_pton(AF_INET, copy.c_str(), bytes.data()) == 1)
    return v4({bytes[0], bytes[1], bytes[2], bytes[3]});
  if (inet_pton(AF_INET6, copy.c_str(), bytes.data()) == 1) return v6(bytes);
  return std::nullopt;
}

bool IpAddress::isLoopback() const {
  if (isV4()) return bytes_[0] == 127;
  static constexpr std::array<std::uint8_t, 16> kLoopback6{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
  return bytes_ == kLoopback6;
}

bool IpAddress::isLinkLocal() const {
  if (isV4()) return bytes_[0] == 169 && bytes_[1] == 254;
  return bytes_[0] == 0xfe && (bytes_[1] & 0xc0) == 0x80;
}

bool IpAddress::isUnspecified() const {
  return std::all_of(bytes_.begin(), bytes_.begin() + length_, [](std::uint8_t b) { return b == 0; });
}

bool IpAddress::sharesPrefix(const IpAddress& other, int prefixLength) const {
  if (length_ != other.length_ || prefixLength < 0 || prefixLength > length_ * 8) return false;
  int whole = prefixLength / 8;
  if (!std::equal(bytes_.begin(), bytes_.begin() + whole, other.bytes_.begin())) return false;
  int rest = prefixLength % 8;
  if (rest == 0) return true;
  auto mask = static_cast<std::uint8_t>(0xff << (8 - rest));
  return (bytes_[whole] & mask) == (other.bytes_[whole] & mask);
}

std::string IpAddress::text() const {
  char buffer[INET6_ADDRSTRLEN] = {};
  inet_ntop(isV4() ? AF_INET : AF_INET6, bytes_.data(), buffer, sizeof buffer);
  return buffer;
}

}  // namespace pf
