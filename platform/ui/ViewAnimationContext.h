#pragma once
// The open view animation blocks. While a block is open, a change to an animatable view property is
// noted with the value it had (or, beginning from the current state, the value on screen); when the
// block closes, each noted property gets one animation from that value to its new model value, timed
// by the block, and the block's completion waits for them all. Main thread only.

#include <functional>
#include <memory>
#include <string>

#include "platform/ui/View.h"

namespace pf {

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
  static void open(const Timing& timing, std::function<void(bool finished)> completion);
  // Closes the innermost block and starts its animations.
  static void close();
  static bool isOpen();
  // The innermost block's timing, to change inside a begin/commit block.
  static Timing* innermost();
  // Replaces the innermost block's completion.
  static void setCompletion(std::function<void(bool finished)> completion);
  // Notes a change of a layer's property; answers whether a block took it.
  static bool noteChange(Layer& layer, const std::string& key);
  static void setEnabled(bool enabled);
  static bool enabled();
  // Runs the changes with no block open and no animation noted.
  static void withoutAnimation(const std::function<void()>& changes);
  // Closes every block without animating (a fresh start for tests).
  static void reset();
};

}  // namespace pf
