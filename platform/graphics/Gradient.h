#pragma once
// Colour stops along a gradient, each at a location from 0 to 1.

#include "platform/graphics/Color.h"

#include <vector>

namespace pf {

// Whether a gradient also paints before its start and past its end; the platform's bits.
enum GradientDrawingOptions : unsigned {
  kGradientDrawsBeforeStartLocation = 1,
  kGradientDrawsAfterEndLocation = 2,
};

class Gradient {
 public:
  struct Stop {
    double location;
    Color color;
  };

  // Without locations the colours spread evenly from 0 to 1; locations beyond the colours are dropped.
  Gradient(std::vector<Color> colors, std::vector<double> locations = {});

  const std::vector<Stop>& stops() const { return stops_; }

 private:
  std::vector<Stop> stops_;
};

}  // namespace pf
