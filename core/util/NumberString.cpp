#include "core/util/NumberString.h"

#include <algorithm>
#include <cstdio>

std::string StringWithFloat(float value, int digits) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%f", static_cast<double>(value));
  std::string text = buffer;
  size_t dot = text.find('.');
  if (dot == std::string::npos) return text;
  std::string integer = text.substr(0, dot);
  if (digits <= 0) return integer;
  return integer + "." + text.substr(dot + 1, std::min(digits, 6));
}

std::string StringWithLongLong(long long value) {
  return std::to_string(value);
}
