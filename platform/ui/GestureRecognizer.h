#pragma once
// Recognises one gesture from the touches in its view and the view's subviews, and sends its actions
// as its state moves: possible, then began / changed / ended (or at once recognised = ended) for a
// recognised gesture, cancelled or failed otherwise. Touches reach recognisers before views; one
// that recognises cancels the touches in its view unless told not to, and may wait for another to
// fail first (requireGestureRecognizerToFail). Subclasses read touches through the protected handlers
// and move the state with setState. Main thread only.

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/graphics/Point.h"
#include "platform/ui/Responder.h"

namespace pf {

class GestureRecognizer;
class View;

// Optional operations answer nullopt when not implemented (a container may forward the answer).
class GestureRecognizerDelegate {
 public:
  virtual ~GestureRecognizerDelegate() = default;
  virtual std::optional<bool> gestureRecognizerShouldBegin(GestureRecognizer& /*recognizer*/) {
    return std::nullopt;
  }
  virtual std::optional<bool> shouldReceiveTouch(GestureRecognizer& /*recognizer*/, Touch& /*touch*/) {
    return std::nullopt;
  }
  virtual std::optional<bool> shouldRecognizeSimultaneously(GestureRecognizer& /*recognizer*/,
                                                            GestureRecognizer& /*other*/) {
    return std::nullopt;
  }
};

class GestureRecognizer : public Object {
  PF_OBJECT(GestureRecognizer, Object)

  // The platform's state numbers; recognised is ended.
  enum class State { Possible = 0, Began = 1, Changed = 2, Ended = 3, Cancelled = 4, Failed = 5 };
  static constexpr State kRecognized = State::Ended;
  using Action = std::function<void(GestureRecognizer& recognizer)>;

  GestureRecognizer();
  ~GestureRecognizer() override;

  // The action runs while the target lives; a target-less action always runs.
  void addTarget(std::weak_ptr<void> target, Action action);
  void addTarget(Action action);
  void removeTargets(const void* target);

  State state() const { return state_; }
  std::shared_ptr<View> view() const { return view_.lock(); }
  bool isEnabled() const { return enabled_; }
  // Disabling cancels a gesture in progress.
  void setEnabled(bool enabled);
  bool cancelsTouchesInView() const { return cancelsTouchesInView_; }
  void setCancelsTouchesInView(bool cancels) { cancelsTouchesInView_ = cancels; }
  bool delaysTouchesBegan() const { return delaysTouchesBegan_; }
  void setDelaysTouchesBegan(bool delays) { delaysTouchesBegan_ = delays; }
  bool delaysTouchesEnded() const { return delaysTouchesEnded_; }
  void setDelaysTouchesEnded(bool delays) { delaysTouchesEnded_ = delays; }
  std::shared_ptr<GestureRecognizerDelegate> delegate() const { return delegate_.lock(); }
  void setDelegate(std::weak_ptr<GestureRecognizerDelegate> delegate) { delegate_ = std::move(delegate); }

  // This recogniser recognises only once the other has failed.
  void requireGestureRecognizerToFail(const std::shared_ptr<GestureRecognizer>& other);

  // The centroid of the tracked touches, in the view's bounds (null: the window's).
  Point locationInView(const View* view) const;
  size_t numberOfTouches() const { return touches_.size(); }
  Point locationOfTouch(size_t index, const View* view) const;

  // Called by the view that adds or removes it.
  void setView(const std::shared_ptr<View>& view);

  template <typename T>
  std::shared_ptr<T> sharedAs() {
    return std::static_pointer_cast<T>(shared_from_this());
  }

 protected:
  friend class TouchDispatcher;

  virtual void touchesBegan(const TouchSet& /*touches*/, const Event& /*event*/) {}
  virtual void touchesMoved(const TouchSet& /*touches*/, const Event& /*event*/) {}
  virtual void touchesEnded(const TouchSet& /*touches*/, const Event& /*event*/) {}
  virtual void touchesCancelled(const TouchSet& touches, const Event& event);
  // Back to possible once a gesture is over; subclasses clear their own state too.
  virtual void reset();
  // Moves the state; the dispatcher settles conflicts and sends the actions.
  void setState(State state);
  const TouchSet& trackedTouches() const { return touches_; }
  // Lets go of a touch the recogniser will not use (it keeps going to the view).
  void ignoreTouch(const std::shared_ptr<Touch>& touch);

 private:
  struct Target {
    std::weak_ptr<void> target;
    bool hasTarget;
    Action action;
  };

  void sendActions();

  State state_ = State::Possible;
  // A state asked for while waiting on another recogniser to fail.
  std::optional<State> pending_;
  std::weak_ptr<View> view_;
  std::vector<Target> targets_;
  std::weak_ptr<GestureRecognizerDelegate> delegate_;
  std::vector<std::weak_ptr<GestureRecognizer>> failureRequirements_;
  TouchSet touches_;
  // Where the touches last were, in window coordinates, for actions after they lifted.
  Point lastWindowLocation_;
  bool enabled_ = true;
  bool cancelsTouchesInView_ = true;
  bool delaysTouchesBegan_ = false;
  bool delaysTouchesEnded_ = true;
};

}  // namespace pf
