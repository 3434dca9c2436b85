#include "platform/ui/Touch.h"

#include "platform/ui/View.h"
#include "platform/ui/Window.h"

namespace pf {

Touch::Touch(std::shared_ptr<Window> window, Point location, double timestamp, int tapCount)
    : timestamp_(timestamp), tapCount_(tapCount), window_(window), location_(location), previous_(location) {}

Point Touch::locationInView(const View* view) const {
  auto window = window_.lock();
  if (!view || !window) return location_;
  return view->convertPointFromView(location_, window.get());
}

Point Touch::previousLocationInView(const View* view) const {
  auto window = window_.lock();
  if (!view || !window) return previous_;
  return view->convertPointFromView(previous_, window.get());
}

void Touch::moveTo(Point location, double timestamp) {
  previous_ = location_;
  location_ = location;
  timestamp_ = timestamp;
  phase_ = Phase::Moved;
}

void Touch::setPhase(Phase phase, double timestamp) {
  phase_ = phase;
  timestamp_ = timestamp;
}

void Touch::addGestureRecognizer(const std::shared_ptr<GestureRecognizer>& recognizer) {
  recognizers_.push_back(recognizer);
}

}  // namespace pf
