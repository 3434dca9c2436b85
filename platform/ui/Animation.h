#pragma once
// An animation a layer runs under a key: its timing (begin, duration, speed, repeats, autoreverse),
// what it leaves behind when it ends (fill mode, removal) and who hears of its start and end. The
// time is the installed clock's, so under a virtual clock an animation is exact and repeatable.
// A layer keeps its own copy of an animation added to it. Main thread only.

#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/AnimatableValue.h"
#include "platform/ui/TimingFunction.h"

namespace pf {

class Animation;

// Told when an animation starts and stops. Held weakly by the animation; optional operations.
class AnimationDelegate {
 public:
  virtual ~AnimationDelegate() = default;
  virtual void animationDidStart(Animation& /*animation*/) {}
  // finished is false when the animation was removed or replaced before its end.
  virtual void animationDidStop(Animation& /*animation*/, bool /*finished*/) {}
};

class Animation {
 public:
  // What the animation shows outside its active time.
  enum class FillMode { Removed, Forwards, Backwards, Both };
  // For repeatCount: runs for ever.
  static constexpr float kRepeatForever = std::numeric_limits<float>::infinity();

  virtual ~Animation() = default;
  virtual std::shared_ptr<Animation> copy() const = 0;

  // The animated property, such as "position" or "transform.scale"; empty for a transition.
  std::string keyPath;
  // 0 takes the duration of the enclosing transaction when the animation is added.
  double duration = 0;
  // Clock time the animation starts; 0 means when it is added.
  double beginTime = 0;
  double speed = 1;
  float repeatCount = 0;
  bool autoreverses = false;
  FillMode fillMode = FillMode::Removed;
  bool removedOnCompletion = true;
  // Linear when unset.
  std::optional<TimingFunction> timingFunction;
  std::weak_ptr<AnimationDelegate> delegate;

  // Time from the begin to the end of the last repeat; infinite for an endless repeat.
  double activeDuration() const;
  // Clock time it ends; infinite for an endless repeat.
  double endTime() const;
  // Paced progress at a clock time, or nothing when the animation shows nothing then.
  std::optional<double> progressAt(double now) const;

  // The value at a paced progress, given the layer's model value of the property.
  virtual AnimatableValue valueAt(double progress, const AnimatableValue& model) const = 0;

  // Made by a view animation block without the allow-user-interaction option: while it runs, its
  // view takes no touches.
  bool blocksUserInteraction() const { return blocksInteraction_; }

 protected:
  Animation() = default;
  Animation(const Animation&) = default;

 private:
  friend class Animator;
  friend class Layer;
  friend class Transaction;
  friend class ViewAnimationContext;
  friend class CompletionGroup;
  // Run once when the animation stops, before the delegate hears of it.
  std::vector<std::function<void(bool finished)>> stopHandlers_;
  bool stopped_ = false;
  // The view animation block that made it, to retime it when the block closes.
  const void* viewBlock_ = nullptr;
  bool blocksInteraction_ = false;
};

}  // namespace pf
