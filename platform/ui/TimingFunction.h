#pragma once
// The pacing of an animation: a cubic Bezier curve from (0, 0) to (1, 1) that maps elapsed time to
// progress, as the platform's media timing functions do. The named curves carry the platform's
// control points, so durations and curves typed in from a screen's description behave the same.

#include <string>

namespace pf {

class TimingFunction {
 public:
  static constexpr char kLinear[] = "linear";
  static constexpr char kEaseIn[] = "easeIn";
  static constexpr char kEaseOut[] = "easeOut";
  static constexpr char kEaseInEaseOut[] = "easeInEaseOut";
  static constexpr char kDefault[] = "default";

  // Linear.
  TimingFunction();
  TimingFunction(double x1, double y1, double x2, double y2);
  // One of the names above; an unknown name is a ContractViolation.
  static TimingFunction named(const std::string& name);

  // Progress (0 to 1, may overshoot for curves that do) at a time fraction in [0, 1].
  double progress(double fraction) const;

  double x1() const { return x1_; }
  double y1() const { return y1_; }
  double x2() const { return x2_; }
  double y2() const { return y2_; }
  bool operator==(const TimingFunction&) const = default;

 private:
  double x1_, y1_, x2_, y2_;
};

}  // namespace pf
