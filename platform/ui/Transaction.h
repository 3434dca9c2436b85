#pragma once
// Groups layer changes: their implicit animations take the transaction's duration and timing, can be
// switched off (disableActions), and a completion block runs, on a later turn of the main loop, once
// every animation added inside the transaction has stopped (at once when none was added). Explicit
// transactions nest with begin/commit; outside them an implicit one lasts until the current turn of
// the main loop ends. Main thread only.

#include <functional>
#include <memory>
#include <optional>

#include "platform/ui/TimingFunction.h"

namespace pf {

class Animation;

class Transaction {
 public:
  static constexpr double kDefaultDuration = 0.25;

  static void begin();
  // Ends the innermost explicit transaction; does nothing without one.
  static void commit();

  static double animationDuration();
  static void setAnimationDuration(double duration);
  static std::optional<TimingFunction> animationTimingFunction();
  static void setAnimationTimingFunction(std::optional<TimingFunction> function);
  static bool disableActions();
  static void setDisableActions(bool disable);
  static void setCompletionBlock(std::function<void()> completion);

  // Ties an animation being added to the completion of every open transaction.
  static void animationAdded(const std::shared_ptr<Animation>& animation);
  // Drops every open transaction without running completions (a fresh start for tests).
  static void reset();
};

}  // namespace pf
