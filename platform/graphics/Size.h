#pragma once
// A width and a height in points. Sizes may be negative; rects standardise them.

namespace pf {

struct Size {
  double width = 0;
  double height = 0;
  bool operator==(const Size&) const = default;
};

}  // namespace pf
