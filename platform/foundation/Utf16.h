#pragma once
// Text kept as UTF-8, measured and cut in UTF-16 units, which is how users' limits were counted on the
// original platform: a Chinese character counts 1, an emoji beyond the basic plane counts 2. Cuts never
// split such a pair. A byte of broken UTF-8 counts as one unit (a replacement character) and is kept
// as it is by cuts.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pf::utf16 {

// A stretch of UTF-16 units.
struct Range {
  std::size_t location = 0;
  std::size_t length = 0;
  bool operator==(const Range&) const = default;
};

std::u16string encode(std::string_view text);
// Lone surrogates become replacement characters.
std::string decode(std::u16string_view units);

std::size_t length(std::string_view text);
// Byte offset of the last character boundary at or before the given unit count.
std::size_t byteOffset(std::string_view text, std::size_t units);
// The longest start of the text with at most maxUnits units.
std::string prefix(std::string_view text, std::size_t maxUnits);
// The characters lying wholly inside the range; the range is clipped to the text.
std::string substring(std::string_view text, Range range);
// Where needle first occurs, in units; nullopt when absent or empty. Case folding is ASCII.
std::optional<Range> find(std::string_view text, std::string_view needle, bool ignoringCase = false);

}  // namespace pf::utf16
