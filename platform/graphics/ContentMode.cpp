#include "platform/graphics/ContentMode.h"

#include <algorithm>

namespace pf {

Rect contentRect(ContentMode mode, Size content, const Rect& bounds) {
  const Rect b = bounds.standardized();
  const double w = content.width, h = content.height;
  auto at = [&](double x, double y) { return Rect(x, y, w, h); };
  switch (mode) {
    case ContentMode::scaleToFill:
    case ContentMode::redraw:
      return b;
    case ContentMode::scaleAspectFit:
    case ContentMode::scaleAspectFill: {
      if (w <= 0 || h <= 0) return b;
      const double sx = b.width() / w, sy = b.height() / h;
      const double s = mode == ContentMode::scaleAspectFit ? std::min(sx, sy) : std::max(sx, sy);
      const double sw = w * s, sh = h * s;
      return Rect(b.midX() - sw / 2, b.midY() - sh / 2, sw, sh);
    }
    case ContentMode::center:
      return at(b.midX() - w / 2, b.midY() - h / 2);
    case ContentMode::top:
      return at(b.midX() - w / 2, b.minY());
    case ContentMode::bottom:
      return at(b.midX() - w / 2, b.maxY() - h);
    case ContentMode::left:
      return at(b.minX(), b.midY() - h / 2);
    case ContentMode::right:
      return at(b.maxX() - w, b.midY() - h / 2);
    case ContentMode::topLeft:
      return at(b.minX(), b.minY());
    case ContentMode::topRight:
      return at(b.maxX() - w, b.minY());
    case ContentMode::bottomLeft:
      return at(b.minX(), b.maxY() - h);
    case ContentMode::bottomRight:
      return at(b.maxX() - w, b.maxY() - h);
  }
  return b;
}

}  // namespace pf
