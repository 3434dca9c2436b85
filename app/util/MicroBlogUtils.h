#pragma once
// The time of a blog or comment relative to now: "N分钟前" and the like for the past, its date for the
// far future or the very moment. Reads the device's time zone. Stateless; any thread.

#include <string>

#include "platform/foundation/Value.h"

class MicroBlogUtils {
 public:
  static std::string caluteDateByCurrentDate(pf::Date date);
  // As above against a given now (tests and callers that hold one).
  static std::string caluteDateByCurrentDate(pf::Date date, pf::Date now);
};
