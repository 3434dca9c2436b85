#include "core/version/StoreLookupScanner.h"


#include "platform/foundation/Utf8.h"

namespace {

std::string_view lookupTrimmed(std::string_view text) {
  const char* space = " \t\r\n";
  const auto first = text.find_first_not_of(space);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(space) - first + 1);
}

// The end of the value that starts at pos: the next "," or "}".
std::size_t lookupValueEnd(std::string_view json, std::size_t pos) { return json.find_first_of(",}", pos); }

int lookupHexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The UTF-16 unit of four hex digits at pos, or -1.
long lookupUnitAt(std::string_view text, std::size_t pos) {
  if (pos + 4 > text.size()) return -1;
  long unit = 0;
  for (std::size_t k = 0; k < 4; ++k) {
    const int digit = lookupHexDigit(text[pos + k]);
    if (digit < 0) return -1;
    unit = unit * 16 + digit;
  }
  return unit;
}

std::string lookupUnescaped(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char next = text[i + 1];
    switch (next) {
      case '\\': out += '\\'; ++i; continue;
      case '/': out += '/'; ++i; continue;
      case '"': out += '"'; ++i; continue;
      case 'n': out += '\n'; ++i; continue;
      case 'r': out += '\r'; ++i; continue;
      case 't': out += '\t'; ++i; continue;
      case 'f': case 'b': ++i; continue;
      default: break;
    }
    long unit = next == 'u' ? lookupUnitAt(text, i + 2) : -1;
    if (unit < 0) {
      out += text[i];
      continue;
    }
    i += 5;
    char32_t codePoint = static_cast<char32_t>(unit);
    if (unit >= 0xD800 && unit <= 0xDBFF && text.substr(i + 1, 2) == "\\u") {
      const long low = lookupUnitAt(text, i + 3);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        codePoint = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (static_cast<char32_t>(low) - 0xDC00);
        i += 6;
      }
    }
    pf::utf8::append(out, codePoint);
  }
  return out;
}

}  // namespace

std::optional<std::string> StoreLookupScanner::valueForKey(std::string_view key, std::string_view json) {
  const std::string quotedKey = "\"" + std::string(key) + "\"";
  const auto keyAt = json.find(quotedKey);
  if (keyAt == std::string_view::npos) return std::nullopt;
  const auto colon = json.find(':', keyAt + quotedKey.size());
  if (colon == std::string_view::npos) return std::nullopt;
  auto end = lookupValueEnd(json, colon + 1);
  if (end == std::string_view::npos) return std::nullopt;
  std::string_view value = lookupTrimmed(json.substr(colon + 1, end - colon - 1));
  // A quoted value holding commas: take in the following pieces until the closing quote.
  while (!value.empty() && value.front() == '"' && (value.size() == 1 || value.back() != '"')) {
    end = lookupValueEnd(json, end + 1);
    if (end == std::string_view::npos) return std::nullopt;
    value = lookupTrimmed(json.substr(colon + 1, end - colon - 1));
  }
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
  return lookupUnescaped(value);
}
