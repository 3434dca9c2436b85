#pragma once
// Turns finger positions into touch events for a window: a host's mouse, a test's script. Fingers are
// numbered; each press starts a touch, moves update it and a lift ends it, and every change becomes
// one event carrying all fingers down. Quick presses at one spot count up the tap count. Times come
// from the installed clock. Main thread only.

#include <map>
#include <memory>
#include <vector>

#include "platform/graphics/Point.h"

namespace pf {

class Touch;
class Window;

class TouchInjector {
 public:
  explicit TouchInjector(std::shared_ptr<Window> window) : window_(std::move(window)) {}

  // Positions in window coordinates.
  void press(int finger, Point location);
  void move(int finger, Point location);
  void lift(int finger);
  // Moves several fingers in one event.
  void moveAll(const std::map<int, Point>& locations);
  // Ends every finger as cancelled (the window lost the pointer).
  void cancelAll();
  bool isDown(int finger) const { return fingers_.contains(finger); }

 private:
  void send();
  int tapCountAt(Point location) const;

  std::shared_ptr<Window> window_;
  std::map<int, std::shared_ptr<Touch>> fingers_;
  Point lastTapAt_;
  double lastTapTime_ = -1;
  int lastTapCount_ = 0;
};

}  // namespace pf
