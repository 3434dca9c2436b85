#include "platform/ui/TimingFunction.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/Error.h"

namespace pf {

namespace {

// One coordinate of the curve with end points 0 and 1 and the two control values.
double bezier(double t, double p1, double p2) {
  const double u = 1 - t;
  return 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t;
}

double bezierSlope(double t, double p1, double p2) {
  const double u = 1 - t;
  return 3 * u * u * p1 + 6 * u * t * (p2 - p1) + 3 * t * t * (1 - p2);
}

}  // namespace

TimingFunction::TimingFunction() : TimingFunction(0, 0, 1, 1) {}

TimingFunction::TimingFunction(double x1, double y1, double x2, double y2)
    : x1_(std::clamp(x1, 0.0, 1.0)), y1_(y1), x2_(std::clamp(x2, 0.0, 1.0)), y2_(y2) {}

TimingFunction TimingFunction::named(const std::string& name) {
  if (name == kLinear) return TimingFunction(0, 0, 1, 1);
  if (name == kEaseIn) return TimingFunction(0.42, 0, 1, 1);
  if (name == kEaseOut) return TimingFunction(0, 0, 0.58, 1);
  if (name == kEaseInEaseOut) return TimingFunction(0.42, 0, 0.58, 1);
  if (name == kDefault) return TimingFunction(0.25, 0.1, 0.25, 1);
  throw ContractViolation("unknown timing function " + name);
}

double TimingFunction::progress(double fraction) const {
  const double x = std::clamp(fraction, 0.0, 1.0);
  if (x == 0 || x == 1 || (x1_ == y1_ && x2_ == y2_)) return x;
  // Find the curve parameter whose x is the fraction: Newton first, bisection when the slope is flat.
  double t = x;
  for (int i = 0; i < 8; ++i) {
    const double error = bezier(t, x1_, x2_) - x;
    if (std::fabs(error) < 1e-7) return bezier(t, y1_, y2_);
    const double slope = bezierSlope(t, x1_, x2_);
    if (std::fabs(slope) < 1e-6) break;
    t -= error / slope;
  }
  double low = 0, high = 1;
  t = x;
  for (int i = 0; i < 60; ++i) {
    const double value = bezier(t, x1_, x2_);
    if (std::fabs(value - x) < 1e-7) break;
    (value < x ? low : high) = t;
    t = (low + high) / 2;
  }
  return bezier(t, y1_, y2_);
}

}  // namespace pf
