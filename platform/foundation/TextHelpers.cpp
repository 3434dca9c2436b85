#include "platform/foundation/TextHelpers.h"

#include <algorithm>

#include "platform/foundation/Utf8.h"

namespace pf::text {
namespace {

bool isWhitespace(char32_t c) {
  return c == U' ' || c == U'\t' || c == 0x00A0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) ||
         c == 0x202F || c == 0x205F || c == 0x3000;
}

bool isNewline(char32_t c) {
  return (c >= 0x0A && c <= 0x0D) || c == 0x0085 || c == 0x2028 || c == 0x2029;
}

std::string trimIf(std::string_view text, bool (*trimmed)(char32_t)) {
  std::size_t start = text.size();
  std::size_t end = text.size();
  for (std::size_t pos = 0; pos < text.size();) {
    utf8::Character c = utf8::decode(text, pos);
    if (!trimmed(c.codePoint)) {
      if (start == text.size()) start = pos;
      end = pos + c.size;
    }
    pos += c.size;
  }
  return std::string(text.substr(start, end - start));
}

char lowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

char upperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool sameIgnoringCase(char a, char b) {
  return lowerAscii(a) == lowerAscii(b);
}

}  // namespace

std::string trimWhitespace(std::string_view text) {
  return trimIf(text, isWhitespace);
}

std::string trimWhitespaceAndNewlines(std::string_view text) {
  return trimIf(text, [](char32_t c) { return isWhitespace(c) || isNewline(c); });
}

std::vector<std::string> split(std::string_view text, std::string_view separator) {
  if (separator.empty()) return {std::string(text)};
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (std::size_t found; (found = text.find(separator, start)) != std::string_view::npos;) {
    pieces.emplace_back(text.substr(start, found - start));
    start = found + separator.size();
  }
  pieces.emplace_back(text.substr(start));
  return pieces;
}

std::string replaceAll(std::string_view text, std::string_view target, std::string_view replacement) {
  if (target.empty()) return std::string(text);
  std::string out;
  std::size_t start = 0;
  for (std::size_t found; (found = text.find(target, start)) != std::string_view::npos;) {
    out.append(text.substr(start, found - start)).append(replacement);
    start = found + target.size();
  }
  return out.append(text.substr(start));
}

bool hasPrefix(std::string_view text, std::string_view prefix) {
  return !prefix.empty() && text.starts_with(prefix);
}

bool hasSuffix(std::string_view text, std::string_view suffix) {
  return !suffix.empty() && text.ends_with(suffix);
}

std::string uppercase(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), upperAscii);
  return out;
}

std::string lowercase(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), lowerAscii);
  return out;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, sameIgnoringCase);
}

std::size_t findIgnoringCase(std::string_view text, std::string_view needle, std::size_t from) {
  if (needle.empty() || from > text.size()) return std::string_view::npos;
  auto found = std::search(text.begin() + from, text.end(), needle.begin(), needle.end(), sameIgnoringCase);
  return found == text.end() ? std::string_view::npos : static_cast<std::size_t>(found - text.begin());
}

bool containsIgnoringCase(std::string_view text, std::string_view needle) {
  return findIgnoringCase(text, needle) != std::string_view::npos;
}

}  // namespace pf::text
