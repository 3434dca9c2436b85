#pragma once
// The root of a view tree on the screen. The key window is the one the hosts draw and send touches
// to; its next responder is the application. A window lays out its tree on the turn of the main loop
// after a view asked for layout, and routes touch events to gesture recognisers and views.
// Main thread only.

#include <memory>

#include "platform/ui/View.h"

namespace pf {

class Event;
class ViewController;

class Window : public View {
  PF_OBJECT(Window, View)

  Window();
  explicit Window(const Rect& frame);
  ~Window() override;

  void makeKeyAndVisible();
  void makeKeyWindow();
  bool isKeyWindow() const;
  double windowLevel() const { return windowLevel_; }
  void setWindowLevel(double level) { windowLevel_ = level; }

  // The view a screen's controller puts at the root; it fills the window.
  std::shared_ptr<View> rootView() const { return rootView_; }
  void setRootView(const std::shared_ptr<View>& view);
  // The controller whose view is the root view; the window owns it. On a key window the old root
  // disappears and the new one appears at once.
  std::shared_ptr<ViewController> rootViewController() const { return rootViewController_; }
  void setRootViewController(std::shared_ptr<ViewController> controller);
  // The status bar showed or hid: the root controller's view takes the application frame again, so a
  // screen that hides the bar gets its strip.
  void statusBarFrameDidChange();

  std::shared_ptr<Responder> nextResponder() const override;

  // Delivers a touch event: hit testing for new touches, then recognisers, then views.
  void sendEvent(const Event& event);
  // Lays out the tree on a later turn of the main loop (once however often asked).
  void scheduleLayout();

 private:
  std::shared_ptr<View> rootView_;
  std::shared_ptr<ViewController> rootViewController_;
  double windowLevel_ = 0;
  bool layoutScheduled_ = false;
};

}  // namespace pf
