#pragma once
// The open view animation blocks. While a block is open, a change to an animatable view property
// gets an animation at once, from the value it had (or, beginning from the current state, the value
// on screen) to its new model value, timed by the block; when a begin/commit block closes, its
// animations take the timing it ended with. The block's completion waits for them all.
// Main thread only.

#include <functional>
#include <memory>
#include <string>

#include "platform/ui/View.h"

namespace pf {

class Animation;
class CompletionGroup;

class ViewAnimationContext {
 public:
  struct Timing {
    double duration = 0.2;
    double delay = 0;
    unsigned options = 0;
    View::AnimationCurve curve = View::AnimationCurve::EaseInOut;
    float repeatCount = 0;
    bool autoreverses = false;
    bool beginFromCurrentState = false;
  };

  // Opens a block; the completion runs once after the block closed and its animations stopped.
  static void open(const Timing& timing, std::function<void(bool finished)> completion,
                   bool beginCommit = false);
  // Closes the innermost block and starts its animations.
  static void close();
  static bool isOpen();
  // The innermost block's timing, to change inside a begin/commit block.
  static Timing* innermost();
  // Replaces the innermost block's completion.
  static void setCompletion(std::function<void(bool finished)> completion);
  // The animation for a change of a layer's property about to happen, or null outside a block.
  static std::shared_ptr<Animation> actionFor(Layer& layer, const std::string& key);
  static void setEnabled(bool enabled);
  static bool enabled();
  // Runs the changes with no block open and no animation noted.
  static void withoutAnimation(const std::function<void()>& changes);
  // Closes every block without animating (a fresh start for tests).
  static void reset();

 private:
  static void applyTiming(Animation& animation, const Timing& timing, double notedAt);
};

}  // namespace pf
