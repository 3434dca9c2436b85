#include "platform/foundation/Base64.h"

#include <algorithm>

namespace pf::base64 {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The 6-bit value of a base64 digit, or -1.
int digitValue(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

std::string encode(std::span<const std::uint8_t> bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    std::size_t available = std::min<std::size_t>(3, bytes.size() - i);
    std::uint32_t group = bytes[i] << 16;
    if (available > 1) group |= bytes[i + 1] << 8;
    if (available > 2) group |= bytes[i + 2];
    for (std::size_t k = 0; k < 4; ++k) {
      out += k <= available ? kAlphabet[(group >> (18 - 6 * k)) & 0x3F] : '=';
    }
  }
  return out;
}

std::string encode(std::string_view text) {
  return encode(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::optional<std::vector<std::uint8_t>> decode(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::size_t padding = text.ends_with("==") ? 2 : text.ends_with('=') ? 1 : 0;
  std::vector<std::uint8_t> out;
  out.reserve(text.size() / 4 * 3);
  for (std::size_t i = 0; i < text.size(); i += 4) {
    bool last = i + 4 == text.size();
    std::size_t digits = last ? 4 - padding : 4;
    std::uint32_t group = 0;
    for (std::size_t k = 0; k < 4; ++k) {
      int value = k < digits ? digitValue(text[i + k]) : 0;
      if (value < 0) return std::nullopt;
      group = (group << 6) | static_cast<std::uint32_t>(value);
    }
    for (std::size_t k = 0; k + 1 < digits; ++k)
      out.push_back(static_cast<std::uint8_t>(group >> (16 - 8 * k)));
  }
  return out;
}

}  // namespace pf::base64
