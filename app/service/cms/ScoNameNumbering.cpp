#include "app/service/cms/ScoNameNumbering.h"

#include <string_view>

#include "platform/foundation/TextHelpers.h"
#include "platform/foundation/Utf8.h"

namespace {

constexpr std::u32string_view kChineseDigits = U"一二三四五六七八九";
constexpr char32_t kTen = U'十';
constexpr std::u32string_view kSeparators = U":. ：";
constexpr std::u32string_view kSectionSeparators = U":.： \t\u3000";

bool isAsciiDigit(char32_t c) { return c >= U'0' && c <= U'9'; }
bool isChineseNumeral(char32_t c) { return c == kTen || kChineseDigits.find(c) != std::u32string_view::npos; }
bool isSectionNumeral(char32_t c) { return isAsciiDigit(c) || kChineseDigits.find(c) != std::u32string_view::npos; }

template <typename Predicate>
std::size_t skipWhile(std::u32string_view text, std::size_t at, Predicate accepts) {
  while (at < text.size() && accepts(text[at])) ++at;
  return at;
}

std::size_t skipAny(std::u32string_view text, std::size_t at, std::u32string_view set) {
  return skipWhile(text, at, [set](char32_t c) { return set.find(c) != std::u32string_view::npos; });
}

// Length of the leading numbering: digits or Chinese numerals followed by at least one separator, or
// "第" numerals "节" with any separators after it; 0 when the name starts with none of these.
std::size_t numberingLength(std::u32string_view name) {
  if (!name.empty() && name[0] == U'第') {
    const std::size_t numerals = skipWhile(name, 1, isSectionNumeral);
    if (numerals > 1 && numerals < name.size() && name[numerals] == U'节')
      return skipAny(name, numerals + 1, kSectionSeparators);
    return 0;
  }
  std::size_t numerals = skipWhile(name, 0, isAsciiDigit);
  if (numerals == 0) numerals = skipWhile(name, 0, isChineseNumeral);
  if (numerals == 0) return 0;
  const std::size_t end = skipAny(name, numerals, kSeparators);
  return end > numerals ? end : 0;
}

std::u32string decodedName(const std::string& text) {
  std::u32string out;
  for (std::size_t pos = 0; pos < text.size();) {
    const pf::utf8::Character c = pf::utf8::decode(text, pos);
    out += c.codePoint;
    pos += c.size;
  }
  return out;
}

}  // namespace

std::string ScoNameNumbering::withoutNumbering(const std::string& name) {
  const std::u32string points = decodedName(pf::text::trimWhitespace(name));
  std::string rest;
  for (std::size_t i = numberingLength(points); i < points.size(); ++i) pf::utf8::append(rest, points[i]);
  return pf::text::trimWhitespace(rest);
}
