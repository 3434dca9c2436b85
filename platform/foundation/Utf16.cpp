#include "platform/foundation/Utf16.h"

#include <limits>

#include "platform/foundation/TextHelpers.h"
#include "platform/foundation/Utf8.h"

namespace pf::utf16 {
namespace {

constexpr char32_t kFirstSupplementary = 0x10000;

std::size_t unitsOf(char32_t c) {
  return c >= kFirstSupplementary ? 2 : 1;
}

bool isHighSurrogate(char16_t u) {
  return u >= 0xD800 && u <= 0xDBFF;
}

bool isLowSurrogate(char16_t u) {
  return u >= 0xDC00 && u <= 0xDFFF;
}

// Byte offset of the first character boundary at or after the given unit count.
std::size_t byteOffsetRoundingUp(std::string_view text, std::size_t units) {
  std::size_t pos = 0;
  for (std::size_t counted = 0; pos < text.size() && counted < units;) {
    utf8::Character c = utf8::decode(text, pos);
    counted += unitsOf(c.codePoint);
    pos += c.size;
  }
  return pos;
}

}  // namespace

std::u16string encode(std::string_view text) {
  std::u16string units;
  units.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    utf8::Character c = utf8::decode(text, pos);
    if (c.codePoint >= kFirstSupplementary) {
      char32_t offset = c.codePoint - kFirstSupplementary;
      units += static_cast<char16_t>(0xD800 + (offset >> 10));
      units += static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
    } else {
      units += static_cast<char16_t>(c.codePoint);
    }
    pos += c.size;
  }
  return units;
}

std::string decode(std::u16string_view units) {
  std::string text;
  text.reserve(units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    char16_t u = units[i];
    if (isHighSurrogate(u) && i + 1 < units.size() && isLowSurrogate(units[i + 1])) {
      utf8::append(text, kFirstSupplementary + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else {
      utf8::append(text, u);  // a lone surrogate is written as the replacement character
    }
  }
  return text;
}

std::size_t length(std::string_view text) {
  std::size_t units = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    utf8::Character c = utf8::decode(text, pos);
    units += unitsOf(c.codePoint);
    pos += c.size;
  }
  return units;
}

std::size_t byteOffset(std::string_view text, std::size_t units) {
  std::size_t pos = 0;
  for (std::size_t counted = 0; pos < text.size();) {
    utf8::Character c = utf8::decode(text, pos);
    counted += unitsOf(c.codePoint);
    if (counted > units) break;
    pos += c.size;
  }
  return pos;
}

std::string prefix(std::string_view text, std::size_t maxUnits) {
  return std::string(text.substr(0, byteOffset(text, maxUnits)));
}

std::string substring(std::string_view text, Range range) {
  std::size_t start = byteOffsetRoundingUp(text, range.location);
  std::size_t endUnits = range.length > std::numeric_limits<std::size_t>::max() - range.location
                             ? std::numeric_limits<std::size_t>::max()
                             : range.location + range.length;
  std::size_t end = byteOffset(text, endUnits);
  return end > start ? std::string(text.substr(start, end - start)) : std::string();
}

std::optional<Range> find(std::string_view text, std::string_view needle, bool ignoringCase) {
  if (needle.empty()) return std::nullopt;
  std::size_t found = ignoringCase ? text::findIgnoringCase(text, needle) : text.find(needle);
  if (found == std::string_view::npos) return std::nullopt;
  return Range{length(text.substr(0, found)), length(needle)};
}

}  // namespace pf::utf16
