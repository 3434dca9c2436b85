#pragma once
// A transition of a whole layer: while it runs, the layer's new look comes in over its old one by
// the given type ("fade" fades it in; "moveIn", "push" and "reveal" slide it in from the subtype's
// side). Added under any key; its key path stays empty.

#include <memory>
#include <string>

#include "platform/ui/Animation.h"

namespace pf {

class Transition : public Animation {
 public:
  static constexpr char kFade[] = "fade";
  static constexpr char kMoveIn[] = "moveIn";
  static constexpr char kPush[] = "push";
  static constexpr char kReveal[] = "reveal";
  static constexpr char kFromRight[] = "fromRight";
  static constexpr char kFromLeft[] = "fromLeft";
  static constexpr char kFromTop[] = "fromTop";
  static constexpr char kFromBottom[] = "fromBottom";

  static std::shared_ptr<Transition> make(std::string type, std::string subtype = {});
  std::shared_ptr<Animation> copy() const override;
  // A transition changes no property.
  AnimatableValue valueAt(double progress, const AnimatableValue& model) const override;

  std::string type = kFade;
  std::string subtype;
};

}  // namespace pf
