#include "platform/ui/AnimatableValue.h"

#include <cmath>
#include <numbers>

namespace pf {

namespace {

double mix(double a, double b, double f) {
  return a + (b - a) * f;
}

Point mix(Point a, Point b, double f) {
  return {mix(a.x, b.x, f), mix(a.y, b.y, f)};
}

Size mix(Size a, Size b, double f) {
  return {mix(a.width, b.width, f), mix(a.height, b.height, f)};
}

Rect mix(const Rect& a, const Rect& b, double f) {
  return {mix(a.origin, b.origin, f), mix(a.size, b.size, f)};
}

Color mix(const Color& a, const Color& b, double f) {
  const Rgba from = a.rgba().value_or(Rgba{0, 0, 0, 0});
  const Rgba to = b.rgba().value_or(Rgba{0, 0, 0, 0});
  return Color::fromRgba(mix(from.red, to.red, f), mix(from.green, to.green, f), mix(from.blue, to.blue, f),
                         mix(from.alpha, to.alpha, f));
}

// Translation, scale, rotation and shear of a transform, so that a turn interpolates as a turn.
struct Decomposed {
  double tx, ty, sx, sy, angle, shear;
};

Decomposed decompose(const AffineTransform& t) {
  Decomposed d{t.tx, t.ty, std::hypot(t.a, t.b), 0, std::atan2(t.b, t.a), 0};
  if (d.sx == 0) return {t.tx, t.ty, 0, std::hypot(t.c, t.d), 0, 0};
  const double ax = t.a / d.sx, ay = t.b / d.sx;
  d.shear = ax * t.c + ay * t.d;
  const double cx = t.c - ax * d.shear, cy = t.d - ay * d.shear;
  d.sy = std::hypot(cx, cy);
  if (t.a * t.d - t.b * t.c < 0) d.sy = -d.sy;
  if (d.sy != 0) d.shear /= d.sy;
  return d;
}

AffineTransform compose(const Decomposed& d) {
  const double cosA = std::cos(d.angle), sinA = std::sin(d.angle);
  // rotation * shear * scale, then translation
  AffineTransform t;
  t.a = d.sx * cosA;
  t.b = d.sx * sinA;
  t.c = d.sy * (d.shear * cosA - sinA);
  t.d = d.sy * (d.shear * sinA + cosA);
  t.tx = d.tx;
  t.ty = d.ty;
  return t;
}

AffineTransform mix(const AffineTransform& a, const AffineTransform& b, double f) {
  Decomposed from = decompose(a), to = decompose(b);
  // Turn the short way round.
  double turn = to.angle - from.angle;
  if (turn > std::numbers::pi) turn -= 2 * std::numbers::pi;
  if (turn < -std::numbers::pi) turn += 2 * std::numbers::pi;
  return compose({mix(from.tx, to.tx, f), mix(from.ty, to.ty, f), mix(from.sx, to.sx, f),
                  mix(from.sy, to.sy, f), from.angle + turn * f, mix(from.shear, to.shear, f)});
}

template <typename T>
std::vector<T> mixLists(const std::vector<T>& a, const std::vector<T>& b, double f) {
  if (a.size() != b.size()) return f < 0.5 ? a : b;
  std::vector<T> out;
  out.reserve(a.size());
  for (size_t i = 0; i < a.size(); ++i) out.push_back(mix(a[i], b[i], f));
  return out;
}

}  // namespace

AnimatableValue interpolate(const AnimatableValue& from, const AnimatableValue& to, double fraction) {
  if (from.index() != to.index()) return fraction < 0.5 ? from : to;
  return std::visit(
      [&](const auto& a) -> AnimatableValue {
        using T = std::decay_t<decltype(a)>;
        const auto& b = std::get<T>(to);
        if constexpr (std::is_same_v<T, double> || std::is_same_v<T, Point> || std::is_same_v<T, Size> ||
                      std::is_same_v<T, Rect> || std::is_same_v<T, AffineTransform> ||
                      std::is_same_v<T, Color>) {
          return mix(a, b, fraction);
        } else if constexpr (std::is_same_v<T, std::vector<Color>> ||
                             std::is_same_v<T, std::vector<double>>) {
          return mixLists(a, b, fraction);
        } else {
          return fraction < 0.5 ? AnimatableValue(a) : AnimatableValue(b);
        }
      },
      from);
}

AnimatableValue addValues(const AnimatableValue& from, const AnimatableValue& by) {
  if (from.index() != by.index()) return by;
  if (auto* a = std::get_if<double>(&from)) return *a + std::get<double>(by);
  if (auto* a = std::get_if<Point>(&from)) {
    const auto& b = std::get<Point>(by);
    return Point{a->x + b.x, a->y + b.y};
  }
  if (auto* a = std::get_if<Size>(&from)) {
    const auto& b = std::get<Size>(by);
    return Size{a->width + b.width, a->height + b.height};
  }
  if (auto* a = std::get_if<AffineTransform>(&from)) return std::get<AffineTransform>(by).concatenated(*a);
  return by;
}

bool isEmpty(const AnimatableValue& value) {
  return std::holds_alternative<std::monostate>(value);
}

}  // namespace pf
