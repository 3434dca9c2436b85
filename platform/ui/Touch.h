#pragma once
// One finger on the screen from the moment it lands until it lifts or the touch is cancelled: its
// phase, where it is and was (kept in window coordinates, answered in any view's), how many quick
// taps it ends, when it last changed, and the view and recognisers it was delivered to.
// Main thread only.

#include <memory>
#include <vector>

#include "platform/graphics/Point.h"

namespace pf {

class GestureRecognizer;
class View;
class Window;

class Touch {
 public:
  // The platform's phase numbers.
  enum class Phase { Began = 0, Moved = 1, Stationary = 2, Ended = 3, Cancelled = 4 };

  Touch(std::shared_ptr<Window> window, Point location, double timestamp, int tapCount);

  Phase phase() const { return phase_; }
  double timestamp() const { return timestamp_; }
  int tapCount() const { return tapCount_; }
  std::shared_ptr<View> view() const { return view_.lock(); }
  std::shared_ptr<Window> window() const { return window_.lock(); }
  // In the view's bounds space; a null view means the window's.
  Point locationInView(const View* view) const;
  Point previousLocationInView(const View* view) const;
  const std::vector<std::weak_ptr<GestureRecognizer>>& gestureRecognizers() const { return recognizers_; }

  // Driven by the window as the finger moves.
  void setView(const std::shared_ptr<View>& view) { view_ = view; }
  void moveTo(Point location, double timestamp);
  void setPhase(Phase phase, double timestamp);
  void addGestureRecognizer(const std::shared_ptr<GestureRecognizer>& recognizer);
  Point windowLocation() const { return location_; }

 private:
  Phase phase_ = Phase::Began;
  double timestamp_;
  int tapCount_;
  std::weak_ptr<Window> window_;
  std::weak_ptr<View> view_;
  Point location_;
  Point previous_;
  std::vector<std::weak_ptr<GestureRecognizer>> recognizers_;
};

}  // namespace pf
