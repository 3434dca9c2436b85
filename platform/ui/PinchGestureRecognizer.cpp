#include "platform/ui/PinchGestureRecognizer.h"

#include <cmath>

#include "platform/ui/Event.h"
#include "platform/ui/Touch.h"

namespace pf {

double PinchGestureRecognizer::spread() const {
  const auto& touches = trackedTouches();
  if (touches.size() < 2) return 0;
  const Point a = touches[0]->locationInView(nullptr), b = touches[1]->locationInView(nullptr);
  return std::hypot(b.x - a.x, b.y - a.y);
}

void PinchGestureRecognizer::setScale(double scale) {
  // Later movement continues from this scale.
  const double now = spread();
  base_ = scale;
  startSpread_ = now > 0 ? now : startSpread_;
  scale_ = scale;
}

void PinchGestureRecognizer::touchesBegan(const TouchSet&, const Event& event) {
  if (trackedTouches().size() > 2 && state() == State::Possible) return setState(State::Failed);
  if (trackedTouches().size() == 2 && state() == State::Possible) {
    startSpread_ = spread();
    base_ = 1;
    scale_ = 1;
    lastTime_ = event.timestamp();
  }
}

void PinchGestureRecognizer::touchesMoved(const TouchSet&, const Event& event) {
  if (trackedTouches().size() < 2 || startSpread_ <= 0) return;
  const double now = spread();
  const double scale = base_ * now / startSpread_;
  const double elapsed = event.timestamp() - lastTime_;
  if (elapsed > 0) velocity_ = (scale - scale_) / elapsed;
  lastTime_ = event.timestamp();
  scale_ = scale;
  if (state() == State::Possible) {
    if (std::fabs(now - startSpread_) >= kHysteresis) setState(State::Began);
    return;
  }
  setState(State::Changed);
}

void PinchGestureRecognizer::touchesEnded(const TouchSet&, const Event&) {
  if (state() == State::Possible) return setState(State::Failed);
  setState(State::Ended);
}

void PinchGestureRecognizer::reset() {
  GestureRecognizer::reset();
  startSpread_ = 0;
  base_ = 1;
  scale_ = 1;
  velocity_ = 0;
}

}  // namespace pf
