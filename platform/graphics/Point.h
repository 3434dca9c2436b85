#pragma once
// A position in points, y growing downwards as on the screen.

namespace pf {

struct Point {
  double x = 0;
  double y = 0;
  bool operator==(const Point&) const = default;
};

}  // namespace pf
