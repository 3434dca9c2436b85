#pragma once
// Everyday operations on UTF-8 text in the original platform's manner. Case folding is ASCII only,
// which is safe on any UTF-8 text (Chinese included): the bytes of a multi-byte character are never
// ASCII, so they are neither changed nor matched by accident.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pf::text {

// Trims tabs and space separators (blank, no-break space, ideographic space, ...) from both ends;
// line breaks stay, as they are content.
std::string trimWhitespace(std::string_view text);
// Trims those and line breaks (line feed, carriage return, vertical tab, form feed, U+0085, U+2028,
// U+2029).
std::string trimWhitespaceAndNewlines(std::string_view text);

// The pieces between separators, empty ones included; an empty separator gives the whole text.
std::vector<std::string> split(std::string_view text, std::string_view separator);
// Every occurrence of target replaced, scanning left to right; an empty target changes nothing.
std::string replaceAll(std::string_view text, std::string_view target, std::string_view replacement);

// As the original platform answered, an empty prefix or suffix is never found.
bool hasPrefix(std::string_view text, std::string_view prefix);
bool hasSuffix(std::string_view text, std::string_view suffix);

std::string uppercase(std::string_view text);
std::string lowercase(std::string_view text);
bool equalsIgnoringCase(std::string_view a, std::string_view b);
// Byte offset of the first match at or after `from`, or std::string_view::npos; an empty needle is
// never found.
std::size_t findIgnoringCase(std::string_view text, std::string_view needle, std::size_t from = 0);
bool containsIgnoringCase(std::string_view text, std::string_view needle);

}  // namespace pf::text
