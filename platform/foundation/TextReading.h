#pragma once
// Lenient readings of text as numbers, the way the original platform's strings answered
// boolValue/intValue/longLongValue/floatValue/doubleValue: leading blanks skipped, reading stops at
// the first character that does not fit, no digits give 0, out-of-range integers saturate.
// Always the C locale, whatever the process locale is.

#include <string_view>

namespace pf::text {

// YES for a leading "Y", "y", "T", "t" or a non-zero digit (after blanks, an optional sign and zeros).
bool boolValue(std::string_view s);
int intValue(std::string_view s);
long long longLongValue(std::string_view s);
float floatValue(std::string_view s);
double doubleValue(std::string_view s);

}  // namespace pf::text
