#include "core/util/NumberExtension.h"

#include <cmath>
#include <limits>

long long NumberExtension::longNumberFrom1970ToDate(pf::Date date) {
  // Whole microseconds first: a date read from N milliseconds is often a hair below N / 1000 as a double,
  // and a plain cut would then write N - 1.
  double millis = std::trunc(std::round(date.seconds * 1e6) / 1e3);
  if (std::isnan(millis)) return 0;
  // 2^63 is exactly representable; anything at or beyond it would overflow the cast.
  constexpr double kLimit = 9223372036854775808.0;
  if (millis >= kLimit) return std::numeric_limits<long long>::max();
  if (millis < -kLimit) return std::numeric_limits<long long>::min();
  return static_cast<long long>(millis);
}
