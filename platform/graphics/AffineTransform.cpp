#include "platform/graphics/AffineTransform.h"

#include <algorithm>
#include <cmath>

namespace pf {

AffineTransform AffineTransform::makeTranslation(double tx, double ty) {
  return {1, 0, 0, 1, tx, ty};
}

AffineTransform AffineTransform::makeScale(double sx, double sy) {
  return {sx, 0, 0, sy, 0, 0};
}

AffineTransform AffineTransform::makeRotation(double angle) {
  const double s = std::sin(angle);
  const double c = std::cos(angle);
  return {c, s, -s, c, 0, 0};
}

AffineTransform AffineTransform::concatenated(const AffineTransform& t) const {
  return {a * t.a + b * t.c, a * t.b + b * t.d,          c * t.a + d * t.c,
          c * t.b + d * t.d, tx * t.a + ty * t.c + t.tx, tx * t.b + ty * t.d + t.ty};
}

AffineTransform AffineTransform::translated(double x, double y) const {
  return makeTranslation(x, y).concatenated(*this);
}

AffineTransform AffineTransform::scaled(double sx, double sy) const {
  return makeScale(sx, sy).concatenated(*this);
}

AffineTransform AffineTransform::rotated(double angle) const {
  return makeRotation(angle).concatenated(*this);
}

AffineTransform AffineTransform::inverted() const {
  const double det = a * d - b * c;
  if (det == 0 || !std::isfinite(det)) return *this;
  return {d / det, -b / det, -c / det, a / det, (c * ty - d * tx) / det, (b * tx - a * ty) / det};
}

Point AffineTransform::apply(Point p) const {
  return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty};
}

Size AffineTransform::apply(Size s) const {
  return {a * s.width + c * s.height, b * s.width + d * s.height};
}

Rect AffineTransform::apply(const Rect& rect) const {
  if (rect.isNull()) return rect;
  const Point corners[] = {apply(Point{rect.minX(), rect.minY()}), apply(Point{rect.maxX(), rect.minY()}),
                           apply(Point{rect.minX(), rect.maxY()}), apply(Point{rect.maxX(), rect.maxY()})};
  double x1 = corners[0].x, x2 = corners[0].x, y1 = corners[0].y, y2 = corners[0].y;
  for (const Point& p : corners) {
    x1 = std::min(x1, p.x);
    x2 = std::max(x2, p.x);
    y1 = std::min(y1, p.y);
    y2 = std::max(y2, p.y);
  }
  return Rect(x1, y1, x2 - x1, y2 - y1);
}

}  // namespace pf
