#include "platform/ui/Event.h"

#include <algorithm>

#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/Touch.h"
#include "platform/ui/View.h"

namespace pf {

TouchSet Event::touchesForView(const View* view) const {
  TouchSet found;
  for (const auto& touch : touches_) {
    if (touch->view().get() == view) found.push_back(touch);
  }
  return found;
}

TouchSet Event::touchesForGestureRecognizer(const GestureRecognizer* recognizer) const {
  TouchSet found;
  for (const auto& touch : touches_) {
    const auto& list = touch->gestureRecognizers();
    if (std::any_of(list.begin(), list.end(), [&](auto& r) { return r.lock().get() == recognizer; }))
      found.push_back(touch);
  }
  return found;
}

}  // namespace pf
