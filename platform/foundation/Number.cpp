#include "platform/foundation/Number.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace pf {

namespace {

// Server numbers can lie outside the integer range; a plain cast of those is undefined, so they
// saturate, and NaN reads as 0.
long long saturatedLongLong(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 0x1p63) return LLONG_MAX;
  if (v < -0x1p63) return LLONG_MIN;
  return static_cast<long long>(v);
}

unsigned long long saturatedUnsignedLongLong(double v) {
  if (std::isnan(v) || v <= -1) return static_cast<unsigned long long>(saturatedLongLong(v));
  if (v >= 0x1p64) return ULLONG_MAX;
  return static_cast<unsigned long long>(v);
}

}  // namespace

Number Number::cppBool(bool v) {
  Number n(v);
  n.type_ = 'B';
  return n;
}

Number Number::withLetter(char letter, long long v) {
  switch (letter) {
    case 'c': return Number(static_cast<signed char>(v));
    case 'B': return cppBool(v != 0);
    case 'C': return Number(static_cast<unsigned char>(v));
    case 's': return Number(static_cast<short>(v));
    case 'S': return Number(static_cast<unsigned short>(v));
    case 'i': return Number(static_cast<int>(v));
    case 'I': return Number(static_cast<unsigned int>(v));
    case 'l': return Number(static_cast<long>(v));
    case 'L': return Number(static_cast<unsigned long>(v));
    case 'Q': return Number(static_cast<unsigned long long>(v));
    case 'f': return Number(static_cast<float>(v));
    case 'd': return Number(static_cast<double>(v));
    default: return Number(v);
  }
}

Number Number::withLetter(char letter, double v) {
  switch (letter) {
    case 'f': return Number(static_cast<float>(v));
    case 'd': return Number(v);
    case 'B': return cppBool(v != 0);
    case 'L':
    case 'Q': return withLetter(letter, static_cast<long long>(saturatedUnsignedLongLong(v)));
    default: return withLetter(letter, saturatedLongLong(v));
  }
}

bool Number::boolValue() const {
  if (isFloating()) return d_ != 0;
  return i_ != 0;
}

long long Number::longLongValue() const {
  if (isFloating()) return std::isfinite(d_) ? saturatedLongLong(d_) : 0;
  return i_;  // the unsigned kinds share the bits
}

unsigned long long Number::unsignedLongLongValue() const {
  if (isFloating()) return std::isfinite(d_) ? saturatedUnsignedLongLong(d_) : 0;
  return u_;
}

double Number::doubleValue() const {
  if (isFloating()) return d_;
  if (isUnsigned64()) return static_cast<double>(u_);
  return static_cast<double>(i_);
}

std::string Number::stringValue() const {
  char buf[40];
  if (type_ == 'f') {
    std::snprintf(buf, sizeof buf, "%.7g", d_);
  } else if (type_ == 'd') {
    std::snprintf(buf, sizeof buf, "%.17g", d_);
    // Prefer the shorter form when it reads back exactly (0.1 rather than 0.10000000000000001).
    for (int precision = 1; precision < 17; ++precision) {
      char shorter[40];
      std::snprintf(shorter, sizeof shorter, "%.*g", precision, d_);
      if (std::strtod(shorter, nullptr) == d_) {
        return shorter;
      }
    }
  } else if (isUnsigned64()) {
    std::snprintf(buf, sizeof buf, "%llu", u_);
  } else {
    std::snprintf(buf, sizeof buf, "%lld", i_);
  }
  return buf;
}

bool Number::operator==(const Number& other) const {
  if (isFloating() || other.isFloating()) return doubleValue() == other.doubleValue();
  if (isUnsigned64() || other.isUnsigned64()) {
    if ((!isUnsigned64() && i_ < 0) || (!other.isUnsigned64() && other.i_ < 0)) return false;
    return u_ == other.u_;
  }
  return i_ == other.i_;
}

bool Number::operator<(const Number& other) const {
  if (isFloating() || other.isFloating()) return doubleValue() < other.doubleValue();
  if (isUnsigned64() || other.isUnsigned64()) {
    bool thisNegative = !isUnsigned64() && i_ < 0;
    bool otherNegative = !other.isUnsigned64() && other.i_ < 0;
    if (thisNegative != otherNegative) return thisNegative;
    return u_ < other.u_;
  }
  return i_ < other.i_;
}

}  // namespace pf
