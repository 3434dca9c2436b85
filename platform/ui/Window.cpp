#include "platform/ui/Window.h"

#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Layer.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TouchDispatcher.h"
#include "platform/ui/ViewController.h"

namespace pf {

Window::Window() : Window(Screen::mainScreen().bounds()) {}

Window::Window(const Rect& frame) : View(frame) {}

Window::~Window() = default;

void Window::makeKeyAndVisible() {
  makeKeyWindow();
  setHidden(false);
  if (rootViewController_ &&
      rootViewController_->appearanceState() == ViewController::AppearanceState::Disappeared) {
    rootViewController_->beginAppearanceTransition(true, false);
    rootViewController_->endAppearanceTransition();
  }
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

void Window::setRootViewController(std::shared_ptr<ViewController> controller) {
  if (controller == rootViewController_) return;
  const bool shown = isKeyWindow() && !isHidden();
  auto old = std::move(rootViewController_);
  rootViewController_ = controller;
  if (old && shown) old->beginAppearanceTransition(false, false);
  if (!controller) {
    setRootView(nullptr);
  } else {
    auto view = controller->view();
    setRootView(view);
    view->setFrame(Screen::mainScreen().applicationFrame());
    if (shown) controller->beginAppearanceTransition(true, false);
  }
  if (old && shown) old->endAppearanceTransition();
  if (controller && shown) controller->endAppearanceTransition();
}

void Window::statusBarFrameDidChange() {
  if (rootViewController_) rootViewController_->view()->setFrame(Screen::mainScreen().applicationFrame());
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
