#pragma once
// What the grid adds to the platform's views and gesture recognisers: the wobble of an item being
// edited or dragged, a depth-first walk over a view's descendants, and ending a gesture in progress.

#include <functional>

namespace pf {
class GestureRecognizer;
class View;
}  // namespace pf

class GridViewAdditions {
 public:
  static constexpr char kShakeAnimationKey[] = "shakeAnimation";
  static constexpr double kShakeDuration = 0.13;
  static constexpr double kShakeAngle = 0.03;

  // Starts (an endless, autoreversing turn of the layer by plus and minus kShakeAngle) or stops it.
  static void shakeStatus(pf::View& view, bool on);
  // Parents before children, in subview order; setting the flag skips the rest of that level (its
  // later siblings and the view's own descendants), the levels above go on.
  using SubviewVisitor = std::function<void(pf::View& view, bool& stop)>;
  static void recursiveEnumerateSubviewsUsingBlock(pf::View& view, const SubviewVisitor& block);

  // Cancels the gesture in progress and leaves the recogniser as enabled as it was.
  static void end(pf::GestureRecognizer& recognizer);
  // Began or changed.
  static bool hasRecognizedValidGesture(const pf::GestureRecognizer& recognizer);
};
