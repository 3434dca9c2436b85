#include "platform/ui/NavigationController.h"

#include <algorithm>

#include "platform/foundation/Log.h"
#include "platform/ui/NavigationBarMaker.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/View.h"

namespace pf {

// A move from one top to another; finishing it ends the appearance calls and the parent moves.
struct NavigationController::Move {
  std::function<void()> finish;
};

namespace {

bool contains(const NavigationController::Stack& stack, const std::shared_ptr<ViewController>& controller) {
  return std::find(stack.begin(), stack.end(), controller) != stack.end();
}

}  // namespace

NavigationController::NavigationController() = default;

NavigationController::NavigationController(std::shared_ptr<ViewController> rootViewController) {
  pendingRoot_ = std::move(rootViewController);
}

NavigationController::~NavigationController() = default;

const NavigationController::Stack& NavigationController::viewControllers() const {
  const_cast<NavigationController*>(this)->ensureRoot();
  return childViewControllers();
}

std::shared_ptr<ViewController> NavigationController::topViewController() const {
  const auto& stack = viewControllers();
  return stack.empty() ? nullptr : stack.back();
}

std::shared_ptr<ViewController> NavigationController::visibleViewController() const {
  if (auto presented = presentedViewController()) return presented;
  return topViewController();
}

std::vector<std::shared_ptr<ViewController>> NavigationController::childrenInView() const {
  if (auto top = topViewController(); top && top->isViewLoaded() && isViewLoaded()) return {top};
  return {};
}

std::shared_ptr<TabBarItem> NavigationController::tabBarItem() {
  const auto& stack = viewControllers();
  if (hasOwnTabBarItem() || stack.empty()) return ViewController::tabBarItem();
  return stack.front()->tabBarItem();
}

bool NavigationController::hidesBottomBar() const {
  const auto& stack = viewControllers();
  return std::any_of(stack.begin() + std::min<size_t>(1, stack.size()), stack.end(),
                     [](auto& controller) { return controller->hidesBottomBarWhenPushed(); });
}

void NavigationController::setViewControllers(Stack controllers, bool animated) {
  Stack unique;
  for (auto& controller : controllers) {
    if (controller && !contains(unique, controller) && controller.get() != this) unique.push_back(controller);
  }
  changeStack(std::move(unique), animated);
}

void NavigationController::pushViewController(const std::shared_ptr<ViewController>& controller,
                                              bool animated) {
  if (!controller || controller.get() == this) return;
  ensureRoot();
  if (contains(viewControllers(), controller)) {
    logf("Refused to push %s, which is already on the stack", controller->className());
    return;
  }
  Stack stack = viewControllers();
  stack.push_back(controller);
  changeStack(std::move(stack), animated);
}

std::shared_ptr<ViewController> NavigationController::popViewControllerAnimated(bool animated) {
  ensureRoot();
  Stack stack = viewControllers();
  if (stack.size() < 2) return nullptr;
  auto popped = stack.back();
  stack.pop_back();
  changeStack(std::move(stack), animated);
  return popped;
}

NavigationController::Stack NavigationController::popToViewController(
    const std::shared_ptr<ViewController>& controller, bool animated) {
  ensureRoot();
  const Stack& stack = viewControllers();
  auto at = std::find(stack.begin(), stack.end(), controller);
  if (at == stack.end()) return {};
  Stack popped(at + 1, stack.end());
  if (popped.empty()) return {};
  changeStack(Stack(stack.begin(), at + 1), animated);
  return popped;
}

NavigationController::Stack NavigationController::popToRootViewControllerAnimated(bool animated) {
  ensureRoot();
  if (viewControllers().empty()) return {};
  return popToViewController(viewControllers().front(), animated);
}

void NavigationController::ensureRoot() {
  if (!pendingRoot_) return;
  auto root = std::move(pendingRoot_);
  pendingRoot_.reset();
  if (viewControllers().empty()) changeStack({root}, false);
}

void NavigationController::finishMove() {
  if (!move_) return;
  auto move = std::move(move_);
  move_.reset();
  move->finish();
}

void NavigationController::changeStack(Stack stack, bool animated) {
  finishMove();
  const Stack old = viewControllers();
  auto oldTop = old.empty() ? nullptr : old.back();
  auto newTop = stack.empty() ? nullptr : stack.back();
  Stack leavers, comers;
  for (auto& c : old) {
    if (!contains(stack, c)) leavers.push_back(c);
  }
  for (auto& c : stack) {
    if (!contains(old, c)) comers.push_back(c);
  }
  const bool isPush = newTop && !contains(old, newTop);
  replaceChildren(std::move(stack));
  showItems(animated);

  const bool onScreen = isViewLoaded() && (appearanceState() == AppearanceState::Appearing ||
                                           appearanceState() == AppearanceState::Appeared);
  const bool moves = oldTop != newTop;
  animated = animated && onScreen && moves && oldTop && View::areAnimationsEnabled();
  auto self = sharedAs<NavigationController>();
  auto delegate = delegate_.lock();

  if (isViewLoaded() && moves) {
    if (newTop) newTop->view();
    if (onScreen && delegate && newTop) delegate->willShowViewController(*this, *newTop, animated);
    if (onScreen && oldTop) oldTop->beginAppearanceTransition(false, animated);
    if (newTop) {
      auto shown = newTop->view();
      const double width = content_->bounds().width();
      View::performWithoutAnimation([&] {
        shown->setTransform(AffineTransform::identity());
        shown->setFrame(content_->bounds());
        shown->setAutoresizingMask(View::kFlexibleWidth | View::kFlexibleHeight);
        if (animated) shown->setFrame(Rect(isPush ? width : -width, 0, width, content_->bounds().height()));
      });
      content_->addSubview(shown);
    }
    if (onScreen && newTop) newTop->beginAppearanceTransition(true, animated);
  }

  std::weak_ptr<NavigationController> weakSelf = self;
  auto move = std::make_shared<Move>();
  move->finish = [weakSelf, oldTop, newTop, leavers, comers, onScreen, moves, animated] {
    auto navigation = weakSelf.lock();
    if (!navigation) return;
    if (moves && oldTop && oldTop != navigation->topViewController() && oldTop->isViewLoaded()) {
      auto gone = oldTop->view();
      if (navigation->content_ && gone->superview() == navigation->content_) {
        gone->removeFromSuperview();
        View::performWithoutAnimation([&] { gone->setFrame(navigation->content_->bounds()); });
      }
    }
    if (onScreen && moves) {
      if (oldTop) oldTop->endAppearanceTransition();
      if (newTop) newTop->endAppearanceTransition();
    }
    for (auto& leaver : leavers) navigation->releaseChild(leaver);
    for (auto& comer : comers) {
      if (comer->parentViewController() == navigation) comer->didMoveToParentViewController(navigation.get());
    }
    if (onScreen && moves && newTop) {
      if (auto delegate = navigation->delegate_.lock())
        delegate->didShowViewController(*navigation, *newTop, animated);
    }
  };
  move_ = move;
  if (auto tabs = tabBarController()) tabs->updateTabBarVisibility(animated);
  if (!animated) {
    finishMove();
    return;
  }
  const double width = content_->bounds().width();
  View::animateWithDuration(
      kPushDuration, 0, View::kAnimationCurveEaseInOut,
      [&] {
        if (newTop) newTop->view()->setFrame(content_->bounds());
        if (oldTop) {
          Rect leaving = content_->bounds();
          leaving.origin.x = isPush ? -width : width;
          oldTop->view()->setFrame(leaving);
        }
      },
      [weakSelf, move](bool) {
        auto navigation = weakSelf.lock();
        if (navigation && navigation->move_ == move) navigation->finishMove();
      });
}

std::shared_ptr<View> NavigationController::makeNavigationBar() {
  return NavigationBarMaker::makeBar();
}

void NavigationController::showItems(bool animated) {
  auto bar = std::dynamic_pointer_cast<NavigationBar>(bar_);
  if (!bar) return;
  std::vector<std::shared_ptr<NavigationItem>> items;
  for (auto& controller : childViewControllers()) items.push_back(controller->navigationItem());
  bar->setItems(std::move(items), animated);
}

bool NavigationController::shouldPopItem(NavigationBar&, NavigationItem& item) {
  auto top = topViewController();
  if (top && top->navigationItem().get() == &item && viewControllers().size() > 1)
    popViewControllerAnimated(true);
  return true;
}

std::shared_ptr<View> NavigationController::navigationBar() {
  view();
  return bar_;
}

void NavigationController::loadView() {
  auto container = std::make_shared<View>(Screen::mainScreen().applicationFrame());
  container->setClipsToBounds(true);
  content_ = std::make_shared<View>(Rect());
  content_->setAutoresizingMask(View::kFlexibleWidth | View::kFlexibleHeight);
  container->addSubview(content_);
  bar_ = makeNavigationBar();
  bar_->setAutoresizingMask(View::kFlexibleWidth | View::kFlexibleBottomMargin);
  if (auto bar = std::dynamic_pointer_cast<NavigationBar>(bar_))
    bar->setDelegate(sharedAs<NavigationController>());
  container->addSubview(bar_);
  bar_->setHidden(barHidden_);
  setView(container);
  // The content area first: the root's view is framed to it.
  layoutBar();
  ensureRoot();
  showItems(false);
  if (auto top = topViewController()) {
    auto shown = top->view();
    shown->setFrame(content_->bounds());
    shown->setAutoresizingMask(View::kFlexibleWidth | View::kFlexibleHeight);
    content_->addSubview(shown);
  }
}

void NavigationController::layoutBar() {
  const Rect bounds = view()->bounds();
  const double top = barHidden_ ? 0 : kNavigationBarHeight;
  bar_->setFrame(Rect(0, top - kNavigationBarHeight, bounds.width(), kNavigationBarHeight));
  content_->setFrame(Rect(0, top, bounds.width(), bounds.height() - top));
}

void NavigationController::setNavigationBarHidden(bool hidden, bool animated) {
  if (hidden == barHidden_) return;
  barHidden_ = hidden;
  if (!isViewLoaded()) return;
  if (animated && View::areAnimationsEnabled()) {
    bar_->setHidden(false);
    View::animateWithDuration(
        kBarHideDuration, [this] { layoutBar(); },
        [weak = std::weak_ptr<NavigationController>(sharedAs<NavigationController>())](bool) {
          if (auto navigation = weak.lock()) navigation->bar_->setHidden(navigation->barHidden_);
        });
    return;
  }
  layoutBar();
  bar_->setHidden(hidden);
}

}  // namespace pf
