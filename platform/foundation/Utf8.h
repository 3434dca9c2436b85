#pragma once
// Reading and writing UTF-8 one character at a time. Text from files and the network may be broken:
// every byte that does not start a well-formed sequence reads as one replacement character, so callers
// never stop or crash on it.

#include <cstddef>
#include <string>
#include <string_view>

namespace pf::utf8 {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

struct Character {
  char32_t codePoint = 0;
  std::size_t size = 0;  // bytes taken from the text, 1 for a broken sequence
};

// The character starting at byte pos (pos < text.size()).
Character decode(std::string_view text, std::size_t pos);

// Appends a code point; surrogates and values beyond U+10FFFF become the replacement character.
void append(std::string& out, char32_t codePoint);

}  // namespace pf::utf8
