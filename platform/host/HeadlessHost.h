#pragma once
// Runs the application without a screen, for tests and tools: renders the key window to a bitmap or
// a PNG at the screen's scale, and plays scripted input (taps, drags, pinches, typed text, return)
// while moving the main run loop's clock. Under a virtual clock everything is exact and takes no real
// time. Main thread only.

#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Point.h"

namespace pf {

class TouchInjector;
class Window;

class HeadlessHost {
 public:
  // Drives the given window, or the key window at each call when none is given.
  explicit HeadlessHost(std::shared_ptr<Window> window = nullptr);
  ~HeadlessHost();

  // Lays out and draws the window over black, at the screen scale; nullptr without a window.
  std::shared_ptr<Bitmap> render();
  // Renders and writes a PNG; false when there is nothing to draw or the file cannot be written.
  bool writePng(const std::string& path);
  // The pixel under a point of the window in the last rendering.
  Pixel pixelAt(Point point) const;

  void tap(Point at);
  // A tap on the status bar: scrolls the window's one scroll-to-top view up; answers whether it did.
  bool tapStatusBar();
  // Presses at the first point, moves through the others evenly over the duration, lifts.
  void drag(const std::vector<Point>& path, double duration = 0.3);
  // Two fingers around the centre, from one distance apart to another, over the duration.
  void pinch(Point center, double fromDistance, double toDistance, double duration = 0.3);
  // Types into the first responder when it takes text; answers whether it did.
  bool typeText(const std::string& text);
  // Pastes into the first responder: the whole text in one insertion, as one change.
  bool pasteText(const std::string& text);
  bool pressReturn();
  bool pressBackspace();
  // Runs the main loop while the clock moves on by the seconds.
  void advance(double seconds);
  // Handles what is posted now without moving the clock.
  void runPending();

 private:
  std::shared_ptr<Window> target() const;
  TouchInjector& fingers();

  std::shared_ptr<Window> window_;
  std::shared_ptr<Window> injectorWindow_;
  std::unique_ptr<TouchInjector> injector_;
  std::shared_ptr<Bitmap> last_;
  double lastScale_ = 1;
};

}  // namespace pf
