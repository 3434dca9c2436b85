#pragma once
// A touch event: every finger now on the screen, the time, and which of them belong to a view or a
// recogniser. Main thread only.

#include <memory>
#include <vector>

#include "platform/ui/Responder.h"

namespace pf {

class GestureRecognizer;
class View;

class Event {
 public:
  // The platform's event type numbers.
  enum class Type { Touches = 0, Motion = 1, RemoteControl = 2 };

  Event(TouchSet touches, double timestamp) : touches_(std::move(touches)), timestamp_(timestamp) {}

  Type type() const { return Type::Touches; }
  double timestamp() const { return timestamp_; }
  const TouchSet& allTouches() const { return touches_; }
  TouchSet touchesForView(const View* view) const;
  TouchSet touchesForGestureRecognizer(const GestureRecognizer* recognizer) const;

 private:
  TouchSet touches_;
  double timestamp_;
};

}  // namespace pf
