#pragma once
// The platform colour class's named colours, found by the name of their class method ("clearColor",
// "darkGrayColor"), as code that builds the name from text looks them up. Names are case-sensitive;
// an unknown name answers nothing.

#include <optional>
#include <string_view>

#include "platform/graphics/Color.h"

namespace pf {

class NamedColors {
 public:
  static std::optional<Color> byMethodName(std::string_view methodName);
};

}  // namespace pf
