#include "platform/ui/BasicAnimation.h"

namespace pf {

std::shared_ptr<BasicAnimation> BasicAnimation::make(std::string keyPath) {
  auto animation = std::make_shared<BasicAnimation>();
  animation->keyPath = std::move(keyPath);
  return animation;
}

std::shared_ptr<Animation> BasicAnimation::copy() const {
  return std::make_shared<BasicAnimation>(*this);
}

AnimatableValue BasicAnimation::valueAt(double progress, const AnimatableValue& model) const {
  AnimatableValue from = fromValue, to = toValue;
  if (isEmpty(from)) from = model;
  if (isEmpty(to)) to = isEmpty(byValue) ? model : addValues(from, byValue);
  return interpolate(from, to, progress);
}

}  // namespace pf
