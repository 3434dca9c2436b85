#pragma once
// A width and a height in points. Sizes may be negative; rects standardise them.

namespace pf {

struct Size {
  constexpr Size() = default;
  constexpr Size(double width, double height) : width(width), height(height) {}
  double width = 0;
  double height = 0;
  bool operator==(const Size&) const = default;
};

}  // namespace pf
