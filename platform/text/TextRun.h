#pragma once
// A stretch of one line drawn with one set of attributes.

#include "platform/foundation/Utf16.h"
#include "platform/text/TextAttributes.h"

namespace pf {

struct TextRun {
  utf16::Range stringRange;
  TextAttributes attributes;
  // From the line's origin, in points.
  double x = 0;
  double width = 0;
};

}  // namespace pf
