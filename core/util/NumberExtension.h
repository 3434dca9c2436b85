#pragma once
// Dates as the server's millisecond numbers.

#include "platform/foundation/Value.h"

class NumberExtension {
 public:
  // Seconds since 1970 times 1000, cut toward zero after rounding to whole microseconds (so a date read
  // from milliseconds gives them back); saturated at the 64-bit limits, NaN gives 0.
  static long long longNumberFrom1970ToDate(pf::Date date);
};
