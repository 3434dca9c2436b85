#include "platform/ui/TapGestureRecognizer.h"

#include <cmath>

#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Timer.h"
#include "platform/ui/Touch.h"

namespace pf {

TapGestureRecognizer::~TapGestureRecognizer() {
  stopTimer();
}

void TapGestureRecognizer::stopTimer() {
  if (timer_) timer_->invalidate();
  timer_.reset();
}

void TapGestureRecognizer::fail() {
  stopTimer();
  setState(State::Failed);
}

void TapGestureRecognizer::touchesBegan(const TouchSet& touches, const Event&) {
  stopTimer();
  if (down_ == 0 && taps_ == 0) start_ = locationInView(nullptr);
  down_ += touches.size();
  maxDown_ = std::max(maxDown_, down_);
  if (down_ > static_cast<size_t>(touchesRequired_)) return fail();
  const Point here = locationInView(nullptr);
  if (std::hypot(here.x - start_.x, here.y - start_.y) > kAllowableMovement * 2) fail();
}

void TapGestureRecognizer::touchesMoved(const TouchSet& touches, const Event&) {
  for (const auto& touch : touches) {
    const Point p = touch->locationInView(nullptr);
    if (std::hypot(p.x - start_.x, p.y - start_.y) > kAllowableMovement) return fail();
  }
}

void TapGestureRecognizer::touchesEnded(const TouchSet& touches, const Event&) {
  down_ -= std::min(down_, touches.size());
  if (down_ > 0) return;
  if (maxDown_ != static_cast<size_t>(touchesRequired_)) return fail();
  maxDown_ = 0;
  if (++taps_ >= tapsRequired_) {
    setState(kRecognized);
    return;
  }
  std::weak_ptr<TapGestureRecognizer> weak = sharedAs<TapGestureRecognizer>();
  timer_ = RunLoop::main()->performAfter(
      kTapInterval,
      [weak] {
        if (auto self = weak.lock(); self && self->state() == State::Possible) self->fail();
      },
      RunLoop::kCommonModes);
}

void TapGestureRecognizer::reset() {
  GestureRecognizer::reset();
  stopTimer();
  taps_ = 0;
  down_ = 0;
  maxDown_ = 0;
}

}  // namespace pf
