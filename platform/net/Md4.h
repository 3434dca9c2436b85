#pragma once
// MD4 digests (RFC 1320). NTLM derives its password hash from MD4; OpenSSL 3 keeps MD4 out of its default
// provider, so it is computed here. Broken as a hash: use it for nothing but that protocol.
// Stateless; safe on any thread.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace pf {

class Md4 {
 public:
  using Digest = std::array<std::uint8_t, 16>;

  static Digest digest(std::span<const std::uint8_t> bytes);
  // Of the text's bytes as they are.
  static Digest digest(std::string_view text);
};

}  // namespace pf
