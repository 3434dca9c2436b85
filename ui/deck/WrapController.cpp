#include "ui/deck/WrapController.h"

#include "platform/ui/Application.h"
#include "platform/ui/View.h"
#include "ui/deck/WrapControllerItem.h"

std::shared_ptr<WrapController> WrapController::create(std::shared_ptr<pf::ViewController> wrapped) {
  auto wrapper = std::make_shared<WrapController>(std::move(wrapped));
  wrapper->attachWrapped();
  return wrapper;
}

WrapController::WrapController(std::shared_ptr<pf::ViewController> wrapped) : wrapped_(std::move(wrapped)) {}

WrapController::~WrapController() {
  if (!wrapped_) return;
  wrapped_->willMoveToParentViewController(nullptr);
  setWrapController(*wrapped_, nullptr);
  wrapped_->didMoveToParentViewController(nullptr);
}

namespace {

// Copies the tab-bar item and the bottom-bar flag from one controller to the other when they differ.
void copyWrappedTabBarValues(pf::ViewController& from, pf::ViewController& to) {
  if (to.tabBarItem() != from.tabBarItem()) to.setTabBarItem(from.tabBarItem());
  to.setHidesBottomBarWhenPushed(from.hidesBottomBarWhenPushed());
}

}  // namespace

void WrapController::attachWrapped() {
  if (!wrapped_) return;
  auto self = sharedAs<WrapController>();
  setWrapController(*wrapped_, self);
  copyWrappedTabBarValues(*wrapped_, *this);
  std::weak_ptr<WrapController> weak = self;
  const auto toWrapped = [weak](const std::string&) {
    if (auto wrapper = weak.lock()) copyWrappedTabBarValues(*wrapper, *wrapper->wrapped_);
  };
  const auto fromWrapped = [weak](const std::string&) {
    if (auto wrapper = weak.lock()) copyWrappedTabBarValues(*wrapper->wrapped_, *wrapper);
  };
  for (const char* key : {"tabBarItem", "hidesBottomBarWhenPushed"}) {
    sharedValues_.push_back(pf::ChangeObservers::observe(*this, key, toWrapped));
    sharedValues_.push_back(pf::ChangeObservers::observe(*wrapped_, key, fromWrapped));
  }
}

double WrapController::statusBarHeight() const {
  auto& app = pf::Application::sharedApplication();
  const auto orientation = app.statusBarOrientation();
  const bool landscape = orientation == pf::Application::InterfaceOrientation::LandscapeLeft ||
                         orientation == pf::Application::InterfaceOrientation::LandscapeRight;
  return landscape ? app.statusBarFrame().size.width : app.statusBarFrame().size.height;
}

void WrapController::loadView() {
  const double h = statusBarHeight();
  auto wrappedView = wrapped_->view();
  const pf::Rect w = wrappedView->frame();
  auto own = std::make_shared<pf::View>(pf::Rect{{w.origin.x, w.origin.y + h}, {w.size.width, w.size.height - h}});
  own->setAutoresizingMask(wrappedView->autoresizingMask());
  setView(own);
  wrappedView->setFrame(own->bounds());
  wrappedView->setAutoresizingMask(pf::View::kFlexibleWidth | pf::View::kFlexibleHeight);
  addChildViewController(wrapped_);
  own->addSubview(wrappedView);
}

void WrapController::viewDidLoad() {
  pf::ViewController::viewDidLoad();
  wrapped_->didMoveToParentViewController(this);
  if (onViewDidLoad_) onViewDidLoad_(*this);
}

void WrapController::viewDidUnload() {
  pf::ViewController::viewDidUnload();
  if (wrapped_->isViewLoaded()) wrapped_->view()->removeFromSuperview();
}

void WrapController::viewWillAppear(bool animated) {
  pf::ViewController::viewWillAppear(animated);
  if (onViewWillAppear_) onViewWillAppear_(*this, animated);
  wrapped_->beginAppearanceTransition(true, animated);
}

void WrapController::viewDidAppear(bool animated) {
  pf::ViewController::viewDidAppear(animated);
  if (onViewDidAppear_) onViewDidAppear_(*this, animated);
  wrapped_->endAppearanceTransition();
}

void WrapController::viewWillDisappear(bool animated) {
  pf::ViewController::viewWillDisappear(animated);
  if (onViewWillDisappear_) onViewWillDisappear_(*this, animated);
  wrapped_->beginAppearanceTransition(false, animated);
}

void WrapController::viewDidDisappear(bool animated) {
  pf::ViewController::viewDidDisappear(animated);
  if (onViewDidDisappear_) onViewDidDisappear_(*this, animated);
  wrapped_->endAppearanceTransition();
}

void WrapController::didReceiveMemoryWarning() {
  wrapped_->didReceiveMemoryWarning();
}

bool WrapController::shouldAutorotate() {
  return wrapped_->shouldAutorotate();
}

unsigned WrapController::supportedInterfaceOrientations() const {
  return wrapped_->supportedInterfaceOrientations();
}

bool WrapController::shouldAutorotateToInterfaceOrientation(Orientation orientation) {
  return wrapped_->shouldAutorotateToInterfaceOrientation(orientation);
}

void WrapController::willRotateToInterfaceOrientation(Orientation orientation, double duration) {
  pf::ViewController::willRotateToInterfaceOrientation(orientation, duration);
  wrapped_->willRotateToInterfaceOrientation(orientation, duration);
}

void WrapController::willAnimateRotationToInterfaceOrientation(Orientation orientation, double duration) {
  pf::ViewController::willAnimateRotationToInterfaceOrientation(orientation, duration);
  wrapped_->willAnimateRotationToInterfaceOrientation(orientation, duration);
}

void WrapController::didRotateFromInterfaceOrientation(Orientation from) {
  pf::ViewController::didRotateFromInterfaceOrientation(from);
  wrapped_->didRotateFromInterfaceOrientation(from);
}
