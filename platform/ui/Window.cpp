#include "platform/ui/Window.h"

#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Layer.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TouchDispatcher.h"

namespace pf {

Window::Window() : Window(Screen::mainScreen().bounds()) {}

Window::Window(const Rect& frame) : View(frame) {}

Window::~Window() = default;

void Window::makeKeyAndVisible() {
  makeKeyWindow();
  setHidden(false);
}

void Window::makeKeyWindow() {
  Application::sharedApplication().setKeyWindow(sharedAs<Window>());
}

bool Window::isKeyWindow() const {
  return Application::sharedApplication().keyWindow().get() == this;
}

void Window::setRootView(const std::shared_ptr<View>& view) {
  if (view == rootView_) return;
  if (rootView_) rootView_->removeFromSuperview();
  rootView_ = view;
  if (!view) return;
  view->setFrame(bounds());
  view->setAutoresizingMask(kFlexibleWidth | kFlexibleHeight);
  addSubview(view);
}

std::shared_ptr<Responder> Window::nextResponder() const {
  return Application::sharedApplication().sharedAs<Responder>();
}

void Window::sendEvent(const Event& event) {
  TouchDispatcher::shared().dispatch(*this, event);
}

void Window::scheduleLayout() {
  if (layoutScheduled_) return;
  layoutScheduled_ = true;
  std::weak_ptr<Window> weak = sharedAs<Window>();
  RunLoop::main()->post([weak] {
    auto window = weak.lock();
    if (!window) return;
    window->layoutScheduled_ = false;
    window->layoutIfNeeded();
  });
}

}  // namespace pf
