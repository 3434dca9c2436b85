#include "platform/ui/Transition.h"

namespace pf {

std::shared_ptr<Transition> Transition::make(std::string type, std::string subtype) {
  auto transition = std::make_shared<Transition>();
  transition->type = std::move(type);
  transition->subtype = std::move(subtype);
  return transition;
}

std::shared_ptr<Animation> Transition::copy() const {
  return std::make_shared<Transition>(*this);
}

AnimatableValue Transition::valueAt(double, const AnimatableValue& model) const {
  return model;
}

}  // namespace pf
