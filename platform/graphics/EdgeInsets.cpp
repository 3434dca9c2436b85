#include "platform/graphics/EdgeInsets.h"

namespace pf {

Rect EdgeInsets::inset(const Rect& rect) const {
  return Rect(rect.origin.x + left, rect.origin.y + top, rect.size.width - left - right,
              rect.size.height - top - bottom);
}

}  // namespace pf
