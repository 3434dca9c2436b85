#include "platform/foundation/TextReading.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace pf::text {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

std::string_view skipBlanks(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && isBlank(s[i])) ++i;
  return s.substr(i);
}

// The longest prefix that reads as a decimal real number: sign, digits, fraction, exponent.
std::string realPrefix(std::string_view s) {
  s = skipBlanks(s);
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  }
  if (digits == 0) return {};
  size_t mantissaEnd = i;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    size_t expDigits = 0;
    while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j, ++expDigits;
    i = expDigits ? j : mantissaEnd;
  }
  return std::string(s.substr(0, i));
}

}  // namespace

bool boolValue(std::string_view s) {
  s = skipBlanks(s);
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  while (i < s.size() && s[i] == '0') ++i;
  if (i >= s.size()) return false;
  char c = s[i];
  return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

long long longLongValue(std::string_view s) {
  s = skipBlanks(s);
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  unsigned long long magnitude = 0;
  bool overflow = false;
  for (; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++i) {
    unsigned digit = static_cast<unsigned>(s[i] - '0');
    if (magnitude > (ULLONG_MAX - digit) / 10) {
      overflow = true;
      break;
    }
    magnitude = magnitude * 10 + digit;
  }
  if (negative) {
    if (overflow || magnitude > static_cast<unsigned long long>(LLONG_MAX) + 1) return LLONG_MIN;
    return static_cast<long long>(0 - magnitude);
  }
  if (overflow || magnitude > static_cast<unsigned long long>(LLONG_MAX)) return LLONG_MAX;
  return static_cast<long long>(magnitude);
}

int intValue(std::string_view s) {
  long long v = longLongValue(s);
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

double doubleValue(std::string_view s) {
  std::string prefix = realPrefix(s);
  if (prefix.empty()) return 0;
  static locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
  return strtod_l(prefix.c_str(), nullptr, cLocale);
}

float floatValue(std::string_view s) { return static_cast<float>(doubleValue(s)); }

}  // namespace pf::text
