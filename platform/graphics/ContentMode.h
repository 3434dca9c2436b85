#pragma once
// How a picture fills a view's bounds; the platform's numbers.

#include "platform/graphics/Rect.h"

namespace pf {

enum class ContentMode {
  scaleToFill = 0,
  scaleAspectFit = 1,
  scaleAspectFill = 2,
  redraw = 3,
  center = 4,
  top = 5,
  bottom = 6,
  left = 7,
  right = 8,
  topLeft = 9,
  topRight = 10,
  bottomLeft = 11,
  bottomRight = 12,
};

// Where content of the given size lands in the bounds (redraw stretches, like scaleToFill). Aspect
// modes of empty content answer the bounds.
Rect contentRect(ContentMode mode, Size content, const Rect& bounds);

}  // namespace pf
