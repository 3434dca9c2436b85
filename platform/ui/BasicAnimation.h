#pragma once
// An animation of one property between two values. A missing from-value starts at the model value
// (or from the to-value less the by-value); a missing to-value ends at the model value (or at the
// from-value plus the by-value), which is how a property change animates from its old value.

#include <memory>
#include <string>

#include "platform/ui/Animation.h"

namespace pf {

class BasicAnimation : public Animation {
 public:
  static std::shared_ptr<BasicAnimation> make(std::string keyPath);
  std::shared_ptr<Animation> copy() const override;
  AnimatableValue valueAt(double progress, const AnimatableValue& model) const override;

  AnimatableValue fromValue;
  AnimatableValue toValue;
  AnimatableValue byValue;
};

}  // namespace pf
