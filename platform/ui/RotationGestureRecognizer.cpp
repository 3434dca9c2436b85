#include "platform/ui/RotationGestureRecognizer.h"

#include <cmath>
#include <numbers>

#include "platform/ui/Event.h"
#include "platform/ui/Touch.h"

namespace pf {

double RotationGestureRecognizer::angle() const {
  const auto& touches = trackedTouches();
  const Point a = touches[0]->locationInView(nullptr), b = touches[1]->locationInView(nullptr);
  return std::atan2(b.y - a.y, b.x - a.x);
}

void RotationGestureRecognizer::setRotation(double rotation) {
  if (trackedTouches().size() >= 2) lastAngle_ = angle();
  rotation_ = rotation;
}

void RotationGestureRecognizer::touchesBegan(const TouchSet&, const Event& event) {
  if (trackedTouches().size() > 2 && state() == State::Possible) return setState(State::Failed);
  if (trackedTouches().size() == 2 && state() == State::Possible) {
    lastAngle_ = angle();
    rotation_ = 0;
    measuring_ = true;
    lastTime_ = event.timestamp();
  }
}

void RotationGestureRecognizer::touchesMoved(const TouchSet&, const Event& event) {
  if (!measuring_ || trackedTouches().size() < 2) return;
  // Summed step by step, so a turn past half a circle keeps counting instead of wrapping round.
  const double now = angle();
  double step = now - lastAngle_;
  while (step > std::numbers::pi) step -= 2 * std::numbers::pi;
  while (step < -std::numbers::pi) step += 2 * std::numbers::pi;
  lastAngle_ = now;
  const double rotation = rotation_ + step;
  const double elapsed = event.timestamp() - lastTime_;
  if (elapsed > 0) velocity_ = (rotation - rotation_) / elapsed;
  lastTime_ = event.timestamp();
  rotation_ = rotation;
  if (state() == State::Possible) {
    if (std::fabs(rotation_) >= kHysteresis) setState(State::Began);
    return;
  }
  setState(State::Changed);
}

void RotationGestureRecognizer::touchesEnded(const TouchSet&, const Event&) {
  if (state() == State::Possible) return setState(State::Failed);
  setState(State::Ended);
}

void RotationGestureRecognizer::reset() {
  GestureRecognizer::reset();
  rotation_ = 0;
  velocity_ = 0;
  measuring_ = false;
}

}  // namespace pf
