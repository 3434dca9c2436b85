#pragma once
// HMAC-MD5 (RFC 2104), the keyed hash NTLMv2 is built from. Stateless; safe on any thread.

#include <array>
#include <cstdint>
#include <span>

namespace pf {

class HmacMd5 {
 public:
  using Mac = std::array<std::uint8_t, 16>;

  static Mac mac(std::span<const std::uint8_t> key, std::span<const std::uint8_t> data);
};

}  // namespace pf
