#include "platform/ui/LongPressGestureRecognizer.h"

#include <cmath>

#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Timer.h"

namespace pf {

LongPressGestureRecognizer::~LongPressGestureRecognizer() {
  stopTimer();
}

void LongPressGestureRecognizer::stopTimer() {
  if (timer_) timer_->invalidate();
  timer_.reset();
}

void LongPressGestureRecognizer::touchesBegan(const TouchSet&, const Event&) {
  if (state() != State::Possible) return;
  if (trackedTouches().size() > touchesRequired_) {
    stopTimer();
    return setState(State::Failed);
  }
  if (trackedTouches().size() < touchesRequired_) return;
  start_ = locationInView(nullptr);
  stopTimer();
  std::weak_ptr<LongPressGestureRecognizer> weak = sharedAs<LongPressGestureRecognizer>();
  timer_ = RunLoop::main()->performAfter(
      minimumPressDuration_,
      [weak] {
        if (auto self = weak.lock(); self && self->state() == State::Possible) self->setState(State::Began);
      },
      RunLoop::kCommonModes);
}

void LongPressGestureRecognizer::touchesMoved(const TouchSet&, const Event&) {
  if (state() == State::Possible) {
    const Point here = locationInView(nullptr);
    if (timer_ && std::hypot(here.x - start_.x, here.y - start_.y) > allowableMovement_) {
      stopTimer();
      setState(State::Failed);
    }
    return;
  }
  setState(State::Changed);
}

void LongPressGestureRecognizer::touchesEnded(const TouchSet&, const Event&) {
  stopTimer();
  setState(state() == State::Possible ? State::Failed : State::Ended);
}

void LongPressGestureRecognizer::reset() {
  GestureRecognizer::reset();
  stopTimer();
}

}  // namespace pf
