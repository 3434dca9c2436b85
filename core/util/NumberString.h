#pragma once
// Numbers as screen text.

#include <string>

// The value written with "%f" (six decimals) and then cut, not rounded again, to `digits` decimals
// (0 to 6; 0 gives the integer part alone): 2.96 with 1 gives "2.9". Infinities and NaN come out as
// "%f" writes them.
std::string StringWithFloat(float value, int digits);
// The value in decimal ("%lli").
std::string StringWithLongLong(long long value);
