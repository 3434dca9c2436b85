#pragma once
// A position in points, y growing downwards as on the screen.

namespace pf {

struct Point {
  constexpr Point() = default;
  constexpr Point(double x, double y) : x(x), y(y) {}
  double x = 0;
  double y = 0;
  bool operator==(const Point&) const = default;
};

}  // namespace pf
