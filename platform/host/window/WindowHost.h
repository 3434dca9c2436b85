#pragma once
// Shows the key window in a real desktop window (SDL2) and runs the main run loop behind it. The
// mouse becomes one finger; with Alt held, a second finger mirrors it around the window's centre, so
// a drag pinches or turns. Typed text and the return and backspace keys go to the first responder.
// A frame is drawn only when something changed or an animation runs; while idle the thread sleeps
// in the run loop, woken by the window system's events. Minimising the window sends the application
// to the background and restoring it brings it back. Closing the window (or quit()) terminates
// the application and ends run(). Only the app binary, and its one test, link this. Main thread only.

#include <memory>
#include <string>

namespace pf {

class WindowHost {
 public:
  WindowHost();
  ~WindowHost();
  WindowHost(const WindowHost&) = delete;
  WindowHost& operator=(const WindowHost&) = delete;

  // Opens the window at the screen's size and scale; false, with the reason, when there is no display.
  bool open(const std::string& title, std::string* error);
  // Runs the main run loop until quit; answers the number of frames shown.
  int run();
  // Ends run() on the next turn of the main loop.
  void quit();
  int framesShown() const;
  // Copies the last frame shown to a PNG file (for a look from outside).
  bool saveScreenshot(const std::string& path) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace pf
