#include "platform/ui/SwipeGestureRecognizer.h"

#include <cmath>

#include "platform/ui/Event.h"

namespace pf {

unsigned SwipeGestureRecognizer::strokeDirection(Point delta) const {
  const double ax = std::fabs(delta.x), ay = std::fabs(delta.y);
  if (ax >= ay * 2) return delta.x > 0 ? kRight : kLeft;
  if (ay >= ax * 2) return delta.y > 0 ? kDown : kUp;
  return 0;
}

void SwipeGestureRecognizer::touchesBegan(const TouchSet&, const Event& event) {
  if (trackedTouches().size() > touchesRequired_) return setState(State::Failed);
  start_ = locationInView(nullptr);
  startTime_ = event.timestamp();
}

void SwipeGestureRecognizer::touchesMoved(const TouchSet&, const Event& event) {
  if (state() != State::Possible) return;
  if (event.timestamp() - startTime_ > kMaximumDuration) return setState(State::Failed);
  const Point here = locationInView(nullptr);
  const Point delta{here.x - start_.x, here.y - start_.y};
  if (std::hypot(delta.x, delta.y) < kMinimumDistance / 2) return;
  const unsigned stroke = strokeDirection(delta);
  if (!(stroke & direction_)) return setState(State::Failed);
  if (std::hypot(delta.x, delta.y) >= kMinimumDistance && trackedTouches().size() == touchesRequired_)
    setState(kRecognized);
}

void SwipeGestureRecognizer::touchesEnded(const TouchSet&, const Event&) {
  if (state() == State::Possible) setState(State::Failed);
}

}  // namespace pf
