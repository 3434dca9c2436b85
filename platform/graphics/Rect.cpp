#include "platform/graphics/Rect.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace pf {

Rect Rect::null() {
  const double inf = std::numeric_limits<double>::infinity();
  return Rect(inf, inf, 0, 0);
}

Rect Rect::standardized() const {
  if (isNull()) return *this;
  Rect r = *this;
  if (r.size.width < 0) {
    r.origin.x += r.size.width;
    r.size.width = -r.size.width;
  }
  if (r.size.height < 0) {
    r.origin.y += r.size.height;
    r.size.height = -r.size.height;
  }
  return r;
}

double Rect::minX() const {
  return standardized().origin.x;
}
double Rect::minY() const {
  return standardized().origin.y;
}
double Rect::maxX() const {
  return minX() + width();
}
double Rect::maxY() const {
  return minY() + height();
}
double Rect::midX() const {
  return minX() + width() / 2;
}
double Rect::midY() const {
  return minY() + height() / 2;
}
double Rect::width() const {
  return std::fabs(size.width);
}
double Rect::height() const {
  return std::fabs(size.height);
}

bool Rect::isNull() const {
  return std::isinf(origin.x) || std::isinf(origin.y);
}

bool Rect::isEmpty() const {
  return isNull() || size.width == 0 || size.height == 0;
}

Rect Rect::insetBy(double dx, double dy) const {
  if (isNull()) return *this;
  Rect r = standardized();
  r.origin.x += dx;
  r.origin.y += dy;
  r.size.width -= 2 * dx;
  r.size.height -= 2 * dy;
  if (r.size.width < 0 || r.size.height < 0) return null();
  return r;
}

Rect Rect::offsetBy(double dx, double dy) const {
  if (isNull()) return *this;
  Rect r = standardized();
  r.origin.x += dx;
  r.origin.y += dy;
  return r;
}

Rect Rect::integral() const {
  if (isNull()) return *this;
  const double x = std::floor(minX());
  const double y = std::floor(minY());
  return Rect(x, y, std::ceil(maxX()) - x, std::ceil(maxY()) - y);
}

Rect Rect::intersection(const Rect& other) const {
  if (isNull() || other.isNull()) return null();
  const double x1 = std::max(minX(), other.minX());
  const double y1 = std::max(minY(), other.minY());
  const double x2 = std::min(maxX(), other.maxX());
  const double y2 = std::min(maxY(), other.maxY());
  if (x1 > x2 || y1 > y2) return null();
  return Rect(x1, y1, x2 - x1, y2 - y1);
}

Rect Rect::unionWith(const Rect& other) const {
  if (isNull()) return other.standardized();
  if (other.isNull()) return standardized();
  const double x1 = std::min(minX(), other.minX());
  const double y1 = std::min(minY(), other.minY());
  const double x2 = std::max(maxX(), other.maxX());
  const double y2 = std::max(maxY(), other.maxY());
  return Rect(x1, y1, x2 - x1, y2 - y1);
}

bool Rect::intersects(const Rect& other) const {
  return !intersection(other).isEmpty();
}

bool Rect::contains(Point point) const {
  if (isEmpty()) return false;
  return point.x >= minX() && point.x < maxX() && point.y >= minY() && point.y < maxY();
}

bool Rect::contains(const Rect& other) const {
  if (isNull() || other.isNull()) return false;
  return other.minX() >= minX() && other.maxX() <= maxX() && other.minY() >= minY() && other.maxY() <= maxY();
}

Rect::Division Rect::divided(double amount, RectEdge edge) const {
  if (isNull()) return {null(), null()};
  const Rect r = standardized();
  const bool horizontal = edge == RectEdge::minX || edge == RectEdge::maxX;
  const double extent = horizontal ? r.size.width : r.size.height;
  const double cut = std::clamp(amount, 0.0, extent);
  Rect slice = r;
  Rect rest = r;
  switch (edge) {
    case RectEdge::minX:
      slice.size.width = cut;
      rest.origin.x += cut;
      rest.size.width -= cut;
      break;
    case RectEdge::maxX:
      slice.origin.x = r.maxX() - cut;
      slice.size.width = cut;
      rest.size.width -= cut;
      break;
    case RectEdge::minY:
      slice.size.height = cut;
      rest.origin.y += cut;
      rest.size.height -= cut;
      break;
    case RectEdge::maxY:
      slice.origin.y = r.maxY() - cut;
      slice.size.height = cut;
      rest.size.height -= cut;
      break;
  }
  return {slice, rest};
}

std::string Rect::description() const {
  char text[128];
  std::snprintf(text, sizeof text, "{{%g, %g}, {%g, %g}}", origin.x, origin.y, size.width, size.height);
  return text;
}

}  // namespace pf
