#include "platform/ui/KeyframeAnimation.h"

namespace pf {

std::shared_ptr<KeyframeAnimation> KeyframeAnimation::make(std::string keyPath) {
  auto animation = std::make_shared<KeyframeAnimation>();
  animation->keyPath = std::move(keyPath);
  return animation;
}

std::shared_ptr<Animation> KeyframeAnimation::copy() const {
  return std::make_shared<KeyframeAnimation>(*this);
}

double KeyframeAnimation::keyTime(size_t index) const {
  if (keyTimes.size() == values.size()) return keyTimes[index];
  return values.size() < 2 ? 0 : static_cast<double>(index) / static_cast<double>(values.size() - 1);
}

AnimatableValue KeyframeAnimation::valueAt(double progress, const AnimatableValue& model) const {
  if (values.empty()) return model;
  if (values.size() == 1 || progress <= keyTime(0)) return values.front();
  for (size_t i = 1; i < values.size(); ++i) {
    const double end = keyTime(i);
    if (progress > end && i + 1 < values.size()) continue;
    if (calculationMode == CalculationMode::Discrete) return progress >= end ? values[i] : values[i - 1];
    const double start = keyTime(i - 1);
    double local = end > start ? (progress - start) / (end - start) : 1;
    if (local > 1) local = 1;
    if (timingFunctions.size() == values.size() - 1) local = timingFunctions[i - 1].progress(local);
    return interpolate(values[i - 1], values[i], local);
  }
  return values.back();
}

}  // namespace pf
