#pragma once
// Dates of HTTP headers ("Expires", "Last-Modified") in the forms the engine reads: "Sun, 06 Nov 1994
// 08:49:37 GMT", and the same without the weekday or without the seconds. The zone is GMT, UTC, UT, a
// North American zone (EST ... PDT) or GMT with an offset ("GMT+8", "GMT+0800"; a colon in the
// offset would be taken for the seconds).

#include <optional>
#include <string_view>

#include "platform/foundation/Value.h"

class HttpDate {
 public:
  // nullopt for text of any other form, or with a field out of range.
  static std::optional<pf::Date> parseRfc1123(std::string_view text);
};
