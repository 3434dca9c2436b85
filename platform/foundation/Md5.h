#pragma once
// MD5 digests (RFC 1321) for request signatures, offline password checks and cache file names.
// Not for anything that needs collision resistance.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace pf::md5 {

using Digest = std::array<std::uint8_t, 16>;

enum class LetterCase { Lower, Upper };

Digest digest(std::span<const std::uint8_t> bytes);
// Of the text's UTF-8 bytes.
Digest digest(std::string_view text);

// 32 hexadecimal digits, the digest's bytes in order.
std::string hex(const Digest& digest, LetterCase letters = LetterCase::Lower);
std::string hex(std::span<const std::uint8_t> bytes, LetterCase letters = LetterCase::Lower);
std::string hex(std::string_view text, LetterCase letters = LetterCase::Lower);

}  // namespace pf::md5
