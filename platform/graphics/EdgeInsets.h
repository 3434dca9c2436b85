#pragma once
// Distances inwards from each edge of a rect, as used for content insets and resizable caps.

#include "platform/graphics/Rect.h"

namespace pf {

struct EdgeInsets {
  double top = 0;
  double left = 0;
  double bottom = 0;
  double right = 0;
  bool operator==(const EdgeInsets&) const = default;

  // The rect with the insets taken off its edges; its size may go negative, as on the platform.
  Rect inset(const Rect& rect) const;
};

}  // namespace pf
