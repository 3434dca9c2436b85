#include "app/components/richlabel/RichLabelColor.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/graphics/NamedColors.h"

namespace {

int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool isTrimmedSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// The leading hexadecimal digits of a pair, as a scanner reads them.
double hexPairComponent(std::string_view pair) {
  int value = 0;
  for (char c : pair) {
    const int digit = hexDigitValue(c);
    if (digit < 0) break;
    value = value * 16 + digit;
  }
  return value / 255.0;
}

std::optional<pf::Color> colourByName(std::string_view name) {
  return pf::NamedColors::byMethodName(std::string(name) + "Color");
}

}  // namespace

std::array<double, 4> RichLabelColor::colorForHex(std::string_view hex) {
  while (!hex.empty() && isTrimmedSpace(hex.front())) hex.remove_prefix(1);
  while (!hex.empty() && isTrimmedSpace(hex.back())) hex.remove_suffix(1);
  std::array<double, 4> rgba{0, 0, 0, 1};
  for (std::size_t i = 0; i < 3; ++i) {
    if (hex.size() > i * 2) rgba[i] = hexPairComponent(hex.substr(i * 2, 2));
  }
  return rgba;
}

std::optional<pf::Color> RichLabelColor::textColor(std::string_view value) {
  if (!value.empty() && value.front() == '#') {
    std::string digits;
    for (char c : value) {
      if (c != '#') digits += c;
    }
    const auto rgba = colorForHex(digits);
    return pf::Color::fromRgba(rgba[0], rgba[1], rgba[2], rgba[3]);
  }
  return colourByName(value);
}

pf::Color RichLabelColor::applyColorWithValue(std::string_view value) {
  if (value.empty() || value.front() != '#') return colourByName(value).value_or(pf::Color::white());
  std::string text;
  for (char c : value) text += c == '#' ? std::string("0x") : std::string(1, c);
  std::string_view digits = text;
  if (digits.size() >= 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) digits.remove_prefix(2);
  std::uint64_t number = 0;
  std::size_t read = 0;
  for (char c : digits) {
    const int digit = hexDigitValue(c);
    if (digit < 0) break;
    number = std::min<std::uint64_t>(number * 16 + digit, 0xFFFFFFFFull);
    ++read;
  }
  if (read == 0) return pf::Color::white();
  return pf::Color::fromRgba(((number >> 16) & 0xFF) / 255.0, ((number >> 8) & 0xFF) / 255.0, (number & 0xFF) / 255.0);
}
