#include "platform/graphics/Path.h"

#include "platform/graphics/CairoPath.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pf {

namespace {

// Control-point distance of a cubic that follows a quarter circle of radius 1.
double arcHandle(double sweep) {
  return 4.0 / 3.0 * std::tan(sweep / 4);
}

// Parameters in (0, 1) where one coordinate of a cubic has a local extreme.
std::vector<double> extremes(double p0, double p1, double p2, double p3) {
  const double a = -p0 + 3 * p1 - 3 * p2 + p3;
  const double b = 2 * (p0 - 2 * p1 + p2);
  const double c = p1 - p0;
  std::vector<double> ts;
  auto keep = [&ts](double t) {
    if (t > 0 && t < 1) ts.push_back(t);
  };
  if (std::fabs(a) < 1e-12) {
    if (std::fabs(b) > 1e-12) keep(-c / b);
    return ts;
  }
  const double disc = b * b - 4 * a * c;
  if (disc < 0) return ts;
  const double root = std::sqrt(disc);
  keep((-b + root) / (2 * a));
  keep((-b - root) / (2 * a));
  return ts;
}

double cubicAt(double p0, double p1, double p2, double p3, double t) {
  const double u = 1 - t;
  return u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
}

struct Box {
  double x1 = INFINITY, y1 = INFINITY, x2 = -INFINITY, y2 = -INFINITY;
  void add(Point p) {
    x1 = std::min(x1, p.x);
    y1 = std::min(y1, p.y);
    x2 = std::max(x2, p.x);
    y2 = std::max(y2, p.y);
  }
  Rect rect() const { return x1 > x2 ? Rect::null() : Rect(x1, y1, x2 - x1, y2 - y1); }
};

}  // namespace

Path Path::withRect(const Rect& rect) {
  Path p;
  p.addRect(rect);
  return p;
}

Path Path::withOval(const Rect& rect) {
  Path p;
  p.addOval(rect);
  return p;
}

Path Path::withRoundedRect(const Rect& rect, double radius) {
  return withRoundedRect(rect, kRectCornerAll, {radius, radius});
}

Path Path::withRoundedRect(const Rect& rect, unsigned corners, Size radii) {
  const Rect r = rect.standardized();
  const double rx = std::clamp(radii.width, 0.0, r.width() / 2);
  const double ry = std::clamp(radii.height, 0.0, r.height() / 2);
  const double k = arcHandle(std::numbers::pi / 2);
  Path p;
  auto corner = [&](unsigned bit, Point at, Point in, Point out) {
    // `in` and `out` are unit steps from the corner towards the neighbouring corners.
    if (!(corners & bit) || rx == 0 || ry == 0) {
      p.lineTo(at);
      return;
    }
    const Point start{at.x + in.x * rx, at.y + in.y * ry};
    const Point end{at.x + out.x * rx, at.y + out.y * ry};
    p.lineTo(start);
    p.curveTo(end, {start.x - in.x * rx * k, start.y - in.y * ry * k},
              {end.x - out.x * rx * k, end.y - out.y * ry * k});
  };
  p.moveTo({r.minX() + ((corners & kRectCornerTopLeft) ? rx : 0), r.minY()});
  corner(kRectCornerTopRight, {r.maxX(), r.minY()}, {-1, 0}, {0, 1});
  corner(kRectCornerBottomRight, {r.maxX(), r.maxY()}, {0, -1}, {-1, 0});
  corner(kRectCornerBottomLeft, {r.minX(), r.maxY()}, {1, 0}, {0, -1});
  corner(kRectCornerTopLeft, {r.minX(), r.minY()}, {0, 1}, {1, 0});
  p.closeSubpath();
  return p;
}

Path Path::withArc(Point center, double radius, double startAngle, double endAngle, bool clockwise) {
  Path p;
  p.addArc(center, radius, startAngle, endAngle, clockwise);
  return p;
}

void Path::moveTo(Point point) {
  elements_.push_back({ElementType::moveTo, {point}});
  current_ = subpathStart_ = point;
}

void Path::lineTo(Point point) {
  if (!current_) {
    moveTo(point);
    return;
  }
  elements_.push_back({ElementType::lineTo, {point}});
  current_ = point;
}

void Path::curveTo(Point end, Point control1, Point control2) {
  if (!current_) moveTo(control1);
  elements_.push_back({ElementType::curveTo, {end, control1, control2}});
  current_ = end;
}

void Path::quadCurveTo(Point end, Point control) {
  if (!current_) moveTo(control);
  const Point s = *current_;
  curveTo(end, {s.x + 2.0 / 3 * (control.x - s.x), s.y + 2.0 / 3 * (control.y - s.y)},
          {end.x + 2.0 / 3 * (control.x - end.x), end.y + 2.0 / 3 * (control.y - end.y)});
}

void Path::addArc(Point center, double radius, double startAngle, double endAngle, bool clockwise) {
  constexpr double kTwoPi = 2 * std::numbers::pi;
  double sweep = endAngle - startAngle;
  if (!std::isfinite(sweep) || !std::isfinite(radius) || !std::isfinite(center.x) || !std::isfinite(center.y))
    return;
  // A turn of a full circle or more draws the whole circle; less is taken the asked way round.
  if (clockwise) {
    sweep = sweep >= kTwoPi ? kTwoPi : std::fmod(sweep, kTwoPi);
    if (sweep < 0) sweep += kTwoPi;
  } else {
    sweep = sweep <= -kTwoPi ? -kTwoPi : std::fmod(sweep, kTwoPi);
    if (sweep > 0) sweep -= kTwoPi;
  }
  auto at = [&](double angle) {
    return Point{center.x + radius * std::cos(angle), center.y + radius * std::sin(angle)};
  };
  lineTo(at(startAngle));
  const int pieces =
      std::max(1, static_cast<int>(std::ceil(std::fabs(sweep) / (std::numbers::pi / 2) - 1e-9)));
  const double step = sweep / pieces;
  const double k = arcHandle(step) * radius;
  for (int i = 0; i < pieces; ++i) {
    const double a0 = startAngle + step * i;
    const double a1 = a0 + step;
    const Point p0 = at(a0), p1 = at(a1);
    curveTo(p1, {p0.x - k * std::sin(a0), p0.y + k * std::cos(a0)},
            {p1.x + k * std::sin(a1), p1.y - k * std::cos(a1)});
  }
}

void Path::closeSubpath() {
  if (!current_) return;
  elements_.push_back({ElementType::closeSubpath, {}});
  current_ = subpathStart_;
}

void Path::addRect(const Rect& rect) {
  const Rect r = rect.standardized();
  moveTo({r.minX(), r.minY()});
  lineTo({r.maxX(), r.minY()});
  lineTo({r.maxX(), r.maxY()});
  lineTo({r.minX(), r.maxY()});
  closeSubpath();
}

void Path::addOval(const Rect& rect) {
  const Rect r = rect.standardized();
  const double k = arcHandle(std::numbers::pi / 2);
  const double rx = r.width() / 2, ry = r.height() / 2;
  const double cx = r.midX(), cy = r.midY();
  moveTo({r.maxX(), cy});
  curveTo({cx, r.maxY()}, {r.maxX(), cy + ry * k}, {cx + rx * k, r.maxY()});
  curveTo({r.minX(), cy}, {cx - rx * k, r.maxY()}, {r.minX(), cy + ry * k});
  curveTo({cx, r.minY()}, {r.minX(), cy - ry * k}, {cx - rx * k, r.minY()});
  curveTo({r.maxX(), cy}, {cx + rx * k, r.minY()}, {r.maxX(), cy - ry * k});
  closeSubpath();
}

void Path::append(const Path& other) {
  elements_.insert(elements_.end(), other.elements_.begin(), other.elements_.end());
  if (other.current_) {
    current_ = other.current_;
    subpathStart_ = other.subpathStart_;
  }
}

void Path::apply(const AffineTransform& t) {
  for (Element& e : elements_)
    for (Point& p : e.points) p = t.apply(p);
  if (current_) current_ = t.apply(*current_);
  if (subpathStart_) subpathStart_ = t.apply(*subpathStart_);
}

Rect Path::boundingBox() const {
  Box box;
  Point last{};
  for (const Element& e : elements_) {
    switch (e.type) {
      case ElementType::moveTo:
      case ElementType::lineTo:
        box.add(e.points[0]);
        last = e.points[0];
        break;
      case ElementType::curveTo: {
        const Point end = e.points[0], c1 = e.points[1], c2 = e.points[2];
        box.add(last);
        box.add(end);
        for (double t : extremes(last.x, c1.x, c2.x, end.x))
          box.add({cubicAt(last.x, c1.x, c2.x, end.x, t), cubicAt(last.y, c1.y, c2.y, end.y, t)});
        for (double t : extremes(last.y, c1.y, c2.y, end.y))
          box.add({cubicAt(last.x, c1.x, c2.x, end.x, t), cubicAt(last.y, c1.y, c2.y, end.y, t)});
        last = end;
        break;
      }
      case ElementType::closeSubpath:
        break;
    }
  }
  return box.rect();
}

Rect Path::controlPointBoundingBox() const {
  Box box;
  for (const Element& e : elements_) {
    const int n = e.type == ElementType::curveTo ? 3 : e.type == ElementType::closeSubpath ? 0 : 1;
    for (int i = 0; i < n; ++i) box.add(e.points[i]);
  }
  return box.rect();
}

bool Path::contains(Point point, FillRule rule) const {
  if (isEmpty()) return false;
  thread_local cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
  cairo_t* cr = cairo_create(surface);
  addToCairo(cr, *this);
  cairo_set_fill_rule(cr, rule == FillRule::evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
  const bool inside = cairo_in_fill(cr, point.x, point.y);
  cairo_destroy(cr);
  return inside;
}

}  // namespace pf
