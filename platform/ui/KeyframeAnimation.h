#pragma once
// An animation of one property through a list of values, at given fractions of its duration (evenly
// spaced without them), linearly or jumping from value to value.

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Animation.h"

namespace pf {

class KeyframeAnimation : public Animation {
 public:
  enum class CalculationMode { Linear, Discrete };

  static std::shared_ptr<KeyframeAnimation> make(std::string keyPath);
  std::shared_ptr<Animation> copy() const override;
  AnimatableValue valueAt(double progress, const AnimatableValue& model) const override;

  std::vector<AnimatableValue> values;
  // Ascending fractions of the duration, one per value; ignored unless their count matches.
  std::vector<double> keyTimes;
  // Pacing within each segment; ignored unless there is one per segment.
  std::vector<TimingFunction> timingFunctions;
  CalculationMode calculationMode = CalculationMode::Linear;

 private:
  double keyTime(size_t index) const;
};

}  // namespace pf
