#include "platform/ui/ViewController.h"

#include <algorithm>
#include <numbers>
#include <utility>

#include "platform/foundation/Error.h"
#include "platform/foundation/Log.h"
#include "platform/runtime/ChangeObservers.h"
#include "platform/ui/ControllerRouting.h"
#include "platform/ui/ModalPresentationFrame.h"
#include "platform/ui/Device.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Nib.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/Window.h"

namespace pf {

// A modal transition under way: finishing it ends the appearance calls and runs the completion.
struct ViewController::ModalTransition {
  std::function<void()> finish;
};

namespace {

// The strip of the presenter left showing above a partial curl: a touch on it takes the curl down.
class CurlCatcher : public View {
 public:
  CurlCatcher(const Rect& frame, std::weak_ptr<ViewController> presenter)
      : View(frame), presenter_(std::move(presenter)) {}
  void touchesBegan(const TouchSet&, const Event*) override {}
  void touchesEnded(const TouchSet&, const Event*) override {
    if (auto presenter = presenter_.lock()) presenter->dismissViewControllerAnimated(true);
  }

 private:
  std::weak_ptr<ViewController> presenter_;
};

constexpr double kSheetDimmingAlpha = 0.4;

// The shade behind a sheet on a tablet: the presenter stays in view, dimmed, and takes no touches.
class SheetDimmingView : public View {
 public:
  SheetDimmingView(const Rect& frame, std::weak_ptr<View> sheet) : View(frame), sheet_(std::move(sheet)) {
    setBackgroundColor(Color::fromWhite(0, kSheetDimmingAlpha));
    setAutoresizingMask(kFlexibleWidth | kFlexibleHeight);
  }
  bool dims(const View& sheet) const { return sheet_.lock().get() == &sheet; }
  void touchesBegan(const TouchSet&, const Event*) override {}
  void touchesEnded(const TouchSet&, const Event*) override {}

 private:
  std::weak_ptr<View> sheet_;
};

void removeSheetDimming(const View& sheet) {
  const auto window = sheet.window();
  if (!window) return;
  for (const auto& view : window->subviews()) {
    if (auto shade = std::dynamic_pointer_cast<SheetDimmingView>(view); shade && shade->dims(sheet)) {
      shade->removeFromSuperview();
    }
  }
}

// The topmost view under the window that holds the view.
std::shared_ptr<View> topAncestor(const std::shared_ptr<View>& view) {
  auto top = view;
  while (top) {
    auto parent = top->superview();
    if (!parent || std::dynamic_pointer_cast<Window>(parent)) return top;
    top = parent;
  }
  return top;
}

// Places a screen-filling view for an interface orientation: the window never turns, its root view
// does, with the status bar along the interface's top edge.
void placeForOrientation(View& view, Application::InterfaceOrientation orientation) {
  using O = Application::InterfaceOrientation;
  const Rect screen = Screen::mainScreen().bounds();
  const double bar = Application::sharedApplication().statusBarFrame().height();
  const double w = screen.width(), h = screen.height();
  switch (orientation) {
    case O::Portrait:
      view.setTransform(AffineTransform::identity());
      view.setFrame(Rect(0, bar, w, h - bar));
      return;
    case O::PortraitUpsideDown:
      view.setTransform(AffineTransform::makeRotation(std::numbers::pi));
      view.setBounds(Rect(0, 0, w, h - bar));
      view.setCenter({w / 2, (h - bar) / 2});
      return;
    case O::LandscapeLeft:
      view.setTransform(AffineTransform::makeRotation(std::numbers::pi / 2));
      view.setBounds(Rect(0, 0, h, w - bar));
      view.setCenter({(w - bar) / 2, h / 2});
      return;
    case O::LandscapeRight:
      view.setTransform(AffineTransform::makeRotation(-std::numbers::pi / 2));
      view.setBounds(Rect(0, 0, h, w - bar));
      view.setCenter({bar + (w - bar) / 2, h / 2});
      return;
  }
}

// Runs the changes in an animation block when asked and animations are on, else at once; the
// completion runs once either way (later on the main loop when animated).
void animateOrApply(bool animated, const std::function<void()>& changes, std::function<void()> completion) {
  if (animated && View::areAnimationsEnabled()) {
    View::animateWithDuration(ViewController::kTransitionDuration, changes,
                              [completion = std::move(completion)](bool) { completion(); });
    return;
  }
  View::performWithoutAnimation(changes);
  completion();
}

}  // namespace

ViewController::ViewController() : ViewController(std::string()) {}

ViewController::ViewController(std::string nibName) : nibName_(std::move(nibName)) {
  memoryWarnings_ = NotificationCenter::defaultCenter().addObserver(
      Application::kDidReceiveMemoryWarningNotification, nullptr,
      [this](const Notification&) { didReceiveMemoryWarning(); });
}

ViewController::~ViewController() {
  if (view_) view_->setViewController(nullptr);
}

std::shared_ptr<View> ViewController::view() {
  if (view_) return view_;
  loadView();
  if (!view_) throw ContractViolation(className() + " made no view in loadView");
  viewDidLoad();
  return view_;
}

void ViewController::setView(std::shared_ptr<View> view) {
  if (view_ == view) return;
  if (view_) view_->setViewController(nullptr);
  view_ = std::move(view);
  if (view_) view_->setViewController(std::static_pointer_cast<Responder>(weak_from_this().lock()));
}

void ViewController::loadView() {
  if (nibName_.empty()) {
    setView(std::make_shared<View>(Screen::mainScreen().applicationFrame()));
    return;
  }
  Nib::nibWithNibName(nibName_)->instantiateWithOwner(shared_from_this());
  if (!view_) {
    throw ContractViolation("The interface file " + nibName_ + " does not connect the view of " +
                            className());
  }
}

void ViewController::beginAppearanceTransition(bool isAppearing, bool animated) {
  if (isAppearing) {
    if (appearance_ == AppearanceState::Appearing || appearance_ == AppearanceState::Appeared) return;
    view();
    appearance_ = AppearanceState::Appearing;
    appearanceAnimated_ = animated;
    viewWillAppear(animated);
  } else {
    if (appearance_ == AppearanceState::Disappearing || appearance_ == AppearanceState::Disappeared) return;
    appearance_ = AppearanceState::Disappearing;
    appearanceAnimated_ = animated;
    viewWillDisappear(animated);
  }
  if (!shouldAutomaticallyForwardAppearanceMethods()) return;
  for (auto& child : childrenInView()) child->beginAppearanceTransition(isAppearing, animated);
}

void ViewController::endAppearanceTransition() {
  const bool animated = appearanceAnimated_;
  if (appearance_ == AppearanceState::Appearing) {
    appearance_ = AppearanceState::Appeared;
    viewDidAppear(animated);
  } else if (appearance_ == AppearanceState::Disappearing) {
    appearance_ = AppearanceState::Disappeared;
    viewDidDisappear(animated);
  } else {
    return;
  }
  if (!shouldAutomaticallyForwardAppearanceMethods()) return;
  for (auto& child : childrenInView()) child->endAppearanceTransition();
}

std::vector<std::shared_ptr<ViewController>> ViewController::childrenInView() const {
  std::vector<std::shared_ptr<ViewController>> inView;
  if (!view_) return inView;
  for (auto& child : children_) {
    if (child->view_ && child->view_->isDescendantOfView(view_.get())) inView.push_back(child);
  }
  return inView;
}

void ViewController::setTitle(std::optional<std::string> title) {
  title_ = std::move(title);
  if (navigationItem_) navigationItem_->setTitle(title_);
  if (tabBarItem_) tabBarItem_->setTitle(title_);
  ChangeObservers::didChange(*this, "title");
}

std::shared_ptr<NavigationItem> ViewController::navigationItem() {
  ViewController* subject = this;
  std::shared_ptr<ViewController> standIn;
  if (auto routing = ControllerRouting::installed()) standIn = routing->navigationStandIn(*this);
  if (standIn) subject = standIn.get();
  if (!subject->navigationItem_) {
    subject->navigationItem_ = std::make_shared<NavigationItem>();
    subject->navigationItem_->setTitle(subject->title_);
  }
  return subject->navigationItem_;
}

void ViewController::setTabBarItem(std::shared_ptr<TabBarItem> item) {
  tabBarItem_ = std::move(item);
  ChangeObservers::didChange(*this, "tabBarItem");
}

void ViewController::setHidesBottomBarWhenPushed(bool hides) {
  if (hides == hidesBottomBarWhenPushed_) return;
  hidesBottomBarWhenPushed_ = hides;
  ChangeObservers::didChange(*this, "hidesBottomBarWhenPushed");
}

std::shared_ptr<TabBarItem> ViewController::tabBarItem() {
  if (!tabBarItem_) tabBarItem_ = std::make_shared<TabBarItem>(title_, nullptr, 0);
  return tabBarItem_;
}

void ViewController::addChildViewController(const std::shared_ptr<ViewController>& child) {
  if (!child || child.get() == this) return;
  if (child->parent_.lock().get() == this) return;
  if (child->parentViewController()) child->removeFromParentViewController();
  child->willMoveToParentViewController(this);
  children_.push_back(child);
  child->parent_ = std::static_pointer_cast<ViewController>(shared_from_this());
  ChangeObservers::didChange(*child, "parentViewController");
}

void ViewController::removeFromParentViewController() {
  auto parent = parent_.lock();
  if (!parent) return;
  auto self = std::static_pointer_cast<ViewController>(shared_from_this());
  auto& siblings = parent->children_;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), self), siblings.end());
  parent_.reset();
  ChangeObservers::didChange(*this, "parentViewController");
  didMoveToParentViewController(nullptr);
}

void ViewController::replaceChildren(std::vector<std::shared_ptr<ViewController>> children) {
  const auto contains = [](const auto& list, const std::shared_ptr<ViewController>& c) {
    return std::find(list.begin(), list.end(), c) != list.end();
  };
  auto self = std::static_pointer_cast<ViewController>(shared_from_this());
  for (auto& leaver : children_) {
    if (!contains(children, leaver)) leaver->willMoveToParentViewController(nullptr);
  }
  for (auto& comer : children) {
    if (contains(children_, comer)) continue;
    if (auto other = comer->parent_.lock(); other && other != self) comer->removeFromParentViewController();
    comer->willMoveToParentViewController(this);
    comer->parent_ = self;
  }
  const auto previous = std::exchange(children_, std::move(children));
  for (auto& comer : children_) {
    if (!contains(previous, comer)) ChangeObservers::didChange(*comer, "parentViewController");
  }
}

void ViewController::releaseChild(const std::shared_ptr<ViewController>& child) {
  if (!child || child->parent_.lock().get() != this) return;
  if (std::find(children_.begin(), children_.end(), child) != children_.end()) return;
  child->parent_.reset();
  ChangeObservers::didChange(*child, "parentViewController");
  child->didMoveToParentViewController(nullptr);
}

std::shared_ptr<NavigationController> ViewController::navigationController() const {
  const ViewController* subject = this;
  std::shared_ptr<ViewController> standIn;
  if (auto routing = ControllerRouting::installed()) standIn = routing->navigationStandIn(*this);
  if (standIn) subject = standIn.get();
  for (auto parent = subject->parent_.lock(); parent; parent = parent->parent_.lock()) {
    if (auto navigation = std::dynamic_pointer_cast<NavigationController>(parent)) return navigation;
  }
  return nullptr;
}

std::shared_ptr<TabBarController> ViewController::tabBarController() const {
  for (auto parent = parent_.lock(); parent; parent = parent->parent_.lock()) {
    if (auto tabs = std::dynamic_pointer_cast<TabBarController>(parent)) return tabs;
  }
  return nullptr;
}

std::shared_ptr<ViewController> ViewController::presentationRoot() {
  auto root = std::static_pointer_cast<ViewController>(shared_from_this());
  while (auto parent = root->parent_.lock()) root = parent;
  return root;
}

std::shared_ptr<ViewController> ViewController::presentedViewController() const {
  auto self = std::const_pointer_cast<ViewController>(sharedAs<ViewController>());
  return self->presentationRoot()->presented_;
}

std::shared_ptr<ViewController> ViewController::presentingViewController() const {
  auto self = std::const_pointer_cast<ViewController>(sharedAs<ViewController>());
  return self->presentationRoot()->presenting_.lock();
}

void ViewController::presentViewController(const std::shared_ptr<ViewController>& controller, bool animated,
                                           Completion completion) {
  if (!controller) return;
  std::shared_ptr<ViewController> presenter;
  if (auto routing = ControllerRouting::installed()) presenter = routing->presenterFor(*this);
  auto root = presenter ? presenter->presentationRoot() : presentationRoot();
  root->finishModalTransition();
  if (root->presented_) {
    logf("Refused to present %s over %s, which already presents %s", controller->className(),
         root->className(), root->presented_->className());
    return;
  }
  if (controller->presenting_.lock() || controller->parentViewController()) {
    logf("Refused to present %s, which is already shown", controller->className());
    return;
  }
  root->showPresented(controller, animated, std::move(completion));
}

void ViewController::presentModalViewController(const std::shared_ptr<ViewController>& controller,
                                                bool animated) {
  presentViewController(controller, animated);
}

void ViewController::dismissViewControllerAnimated(bool animated, Completion completion) {
  auto root = presentationRoot();
  if (root->presented_) {
    root->hidePresented(animated, std::move(completion));
  } else if (auto presenter = root->presenting_.lock()) {
    presenter->hidePresented(animated, std::move(completion));
  }
}

void ViewController::dismissModalViewControllerAnimated(bool animated) {
  dismissViewControllerAnimated(animated);
}

void ViewController::finishModalTransition() {
  if (!modalTransition_) return;
  auto transition = std::move(modalTransition_);
  modalTransition_.reset();
  transition->finish();
}

void ViewController::showPresented(const std::shared_ptr<ViewController>& presented, bool animated,
                                   Completion completion) {
  auto self = std::static_pointer_cast<ViewController>(shared_from_this());
  auto ownView = view();
  auto window = ownView->window();
  if (!window) {
    logf("Refused to present %s from %s, which is not in a window", presented->className(), className());
    return;
  }
  presented_ = presented;
  presented->presenting_ = self;
  ChangeObservers::didChange(*presented, "presentingViewController");
  const ModalTransitionStyle style = presented->transitionStyle_;
  const bool curl = style == ModalTransitionStyle::PartialCurl;
  presentedCurl_ = curl;
  const int presentationStyle = static_cast<int>(presented->presentationStyle_);
  const Rect frame = ModalPresentationFrame::frameFor(
      presentationStyle, ownView->convertRectToView(ownView->bounds(), nullptr), *window);
  const bool keepPresenter = ModalPresentationFrame::keepsPresenterVisible(presentationStyle);
  auto shown = presented->view();
  shown->setFrame(frame);
  auto lifted = topAncestor(ownView);
  if (curl) {
    window->insertSubviewBelow(shown, lifted.get());
  } else {
    window->addSubview(shown);
  }
  if (keepPresenter) window->insertSubviewBelow(std::make_shared<SheetDimmingView>(window->bounds(), shown), shown.get());
  if (!curl) beginAppearanceTransition(false, animated);
  presented->beginAppearanceTransition(true, animated);

  const double lift = frame.height() * kPartialCurlShare;
  View::performWithoutAnimation([&] {
    switch (style) {
      case ModalTransitionStyle::CoverVertical:
        shown->setFrame(Rect(frame.origin.x, frame.origin.y + Screen::mainScreen().bounds().height(),
                             frame.width(), frame.height()));
        break;
      case ModalTransitionStyle::CrossDissolve:
        shown->setAlpha(0);
        break;
      case ModalTransitionStyle::FlipHorizontal:
        shown->setTransform(AffineTransform::makeScale(0.01, 1));
        break;
      case ModalTransitionStyle::PartialCurl:
        break;
    }
  });
  const Point liftedCenter = lifted->center();
  auto changes = [=] {
    shown->setFrame(frame);
    shown->setAlpha(1);
    shown->setTransform(AffineTransform::identity());
    if (curl) lifted->setCenter({liftedCenter.x, liftedCenter.y - lift});
  };
  std::weak_ptr<ViewController> weakSelf = self;
  std::weak_ptr<ViewController> weakPresented = presented;
  auto transition = std::make_shared<ModalTransition>();
  transition->finish = [weakSelf, weakPresented, curl, keepPresenter, lift, frame,
                        completion = std::move(completion)] {
    auto presenter = weakSelf.lock();
    auto shown = weakPresented.lock();
    if (!presenter || !shown) return;
    if (curl) {
      auto catcher = std::make_shared<CurlCatcher>(
          Rect(frame.origin.x, frame.origin.y, frame.width(), frame.height() - lift), weakSelf);
      presenter->curlCatcher_ = catcher;
      if (auto window = presenter->view()->window()) window->addSubview(catcher);
    } else if (!keepPresenter) {
      topAncestor(presenter->view())->setHidden(true);
    }
    if (!curl) presenter->endAppearanceTransition();
    shown->endAppearanceTransition();
    if (completion) completion();
  };
  modalTransition_ = transition;
  animateOrApply(animated, changes, [weakSelf, transition] {
    auto presenter = weakSelf.lock();
    if (presenter && presenter->modalTransition_ == transition) presenter->finishModalTransition();
  });
}

void ViewController::hidePresented(bool animated, Completion completion) {
  finishModalTransition();
  auto presented = presented_;
  if (!presented) return;
  if (presented->presented_) presented->hidePresented(false, {});
  auto self = std::static_pointer_cast<ViewController>(shared_from_this());
  const bool curl = presentedCurl_;
  auto shown = presented->view();
  auto lifted = topAncestor(view());
  if (curlCatcher_) {
    curlCatcher_->removeFromSuperview();
    curlCatcher_.reset();
  }
  if (!curl) lifted->setHidden(false);
  presented->beginAppearanceTransition(false, animated);
  if (!curl) beginAppearanceTransition(true, animated);

  const Rect frame = shown->frame();
  const ModalTransitionStyle style = presented->transitionStyle_;
  const double lift = frame.height() * kPartialCurlShare;
  const Point liftedCenter = lifted->center();
  auto changes = [=] {
    switch (style) {
      case ModalTransitionStyle::CoverVertical:
        shown->setFrame(Rect(frame.origin.x, frame.origin.y + Screen::mainScreen().bounds().height(),
                             frame.width(), frame.height()));
        break;
      case ModalTransitionStyle::CrossDissolve:
        shown->setAlpha(0);
        break;
      case ModalTransitionStyle::FlipHorizontal:
        shown->setTransform(AffineTransform::makeScale(0.01, 1));
        break;
      case ModalTransitionStyle::PartialCurl:
        break;
    }
    if (curl) lifted->setCenter({liftedCenter.x, liftedCenter.y + lift});
  };
  std::weak_ptr<ViewController> weakSelf = self;
  auto transition = std::make_shared<ModalTransition>();
  transition->finish = [weakSelf, presented, curl, frame, completion = std::move(completion)] {
    auto presenter = weakSelf.lock();
    auto shown = presented->view();
    removeSheetDimming(*shown);
    shown->removeFromSuperview();
    View::performWithoutAnimation([&] {
      shown->setFrame(frame);
      shown->setAlpha(1);
      shown->setTransform(AffineTransform::identity());
    });
    presented->endAppearanceTransition();
    presented->presenting_.reset();
    ChangeObservers::didChange(*presented, "presentingViewController");
    if (presenter) {
      presenter->presented_.reset();
      if (!curl) presenter->endAppearanceTransition();
    }
    if (completion) completion();
  };
  modalTransition_ = transition;
  animateOrApply(animated, changes, [weakSelf, transition] {
    auto presenter = weakSelf.lock();
    if (presenter && presenter->modalTransition_ == transition) presenter->finishModalTransition();
  });
}

unsigned ViewController::supportedInterfaceOrientations() const {
  return Screen::mainScreen().profile() == Screen::Profile::Tablet ? kOrientationMaskAll
                                                                   : kOrientationMaskAllButUpsideDown;
}

bool ViewController::shouldAutorotateToInterfaceOrientation(Orientation orientation) {
  return (supportedInterfaceOrientations() & maskOf(orientation)) != 0;
}

ViewController::Orientation ViewController::interfaceOrientation() const {
  return Application::sharedApplication().statusBarOrientation();
}

void ViewController::sendWillRotate(Orientation orientation, double duration) {
  willRotateToInterfaceOrientation(orientation, duration);
  if (shouldAutomaticallyForwardRotationMethods()) {
    for (auto& child : childrenInView()) child->sendWillRotate(orientation, duration);
  }
  if (presented_) presented_->sendWillRotate(orientation, duration);
}

void ViewController::sendWillAnimateRotation(Orientation orientation, double duration) {
  willAnimateRotationToInterfaceOrientation(orientation, duration);
  if (shouldAutomaticallyForwardRotationMethods()) {
    for (auto& child : childrenInView()) child->sendWillAnimateRotation(orientation, duration);
  }
  if (presented_) presented_->sendWillAnimateRotation(orientation, duration);
}

void ViewController::sendDidRotate(Orientation from) {
  didRotateFromInterfaceOrientation(from);
  if (shouldAutomaticallyForwardRotationMethods()) {
    for (auto& child : childrenInView()) child->sendDidRotate(from);
  }
  if (presented_) presented_->sendDidRotate(from);
}

bool ViewController::attemptRotationToDeviceOrientation(bool animated) {
  const auto device = Device::currentDevice().orientation();
  if (device == Device::Orientation::Unknown || device == Device::Orientation::FaceUp ||
      device == Device::Orientation::FaceDown) {
    return false;
  }
  // The platform numbers a landscape device and the interface turned to match it alike.
  const auto wanted = static_cast<Orientation>(static_cast<int>(device));
  auto window = Application::sharedApplication().keyWindow();
  auto root = window ? window->rootViewController() : nullptr;
  if (!root || wanted == Application::sharedApplication().statusBarOrientation()) return false;
  if (!root->shouldAutorotate() || !(root->supportedInterfaceOrientations() & maskOf(wanted)) ||
      !root->shouldAutorotateToInterfaceOrientation(wanted)) {
    return false;
  }
  root->rotateTo(wanted, animated);
  return true;
}

void ViewController::rotateTo(Orientation orientation, bool animated) {
  const Orientation from = interfaceOrientation();
  const double duration = animated && View::areAnimationsEnabled() ? kTransitionDuration : 0;
  sendWillRotate(orientation, duration);
  Application::sharedApplication().setStatusBarOrientation(orientation, animated);
  std::vector<std::shared_ptr<View>> turned{view()};
  for (auto shown = presented_; shown; shown = shown->presented_) turned.push_back(shown->view());
  auto self = std::static_pointer_cast<ViewController>(shared_from_this());
  animateOrApply(
      duration > 0,
      [&] {
        for (auto& screenView : turned) placeForOrientation(*screenView, orientation);
        sendWillAnimateRotation(orientation, duration);
      },
      [self, from] { self->sendDidRotate(from); });
}

std::shared_ptr<Responder> ViewController::nextResponder() const {
  if (view_) {
    if (auto superview = view_->superview()) return superview;
  }
  return parent_.lock();
}

}  // namespace pf
