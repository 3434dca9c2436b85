#pragma once
// printf-like formatting with the original platform's "%@" conversion, which takes any value and
// writes its description. The other conversions (%d %i %u %ld %lld %lu %llu %x %X %o %c %s %f %e %g,
// flags, width, precision, "%%") read the matching argument numerically or as text; a missing
// argument formats as if it were nil.

#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Value.h"

namespace pf {

std::string formatValues(std::string_view format, const std::vector<Value>& args);

template <typename... Args>
std::string format(std::string_view fmt, const Args&... args) {
  return formatValues(fmt, std::vector<Value>{Value(args)...});
}

}  // namespace pf
