#include "ui/deck/PanelDeckController.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/Path.h"
#include "platform/ui/Accessibility.h"
#include "platform/ui/Application.h"
#include "platform/ui/BasicAnimation.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/KeyframeAnimation.h"
#include "platform/ui/Layer.h"
#include "platform/ui/LayerRenderer.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/PanGestureRecognizer.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ShapeLayer.h"
#include "platform/ui/Slider.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/Touch.h"
#include "platform/ui/Transaction.h"
#include "platform/ui/Window.h"
#include "ui/deck/PanelDeckItem.h"
#include "ui/deck/PanelDeckView.h"
#include "ui/deck/WrapController.h"

namespace {

using pf::Rect;
using pf::View;

// The platform's view animation options used by the slides.
constexpr unsigned kDeckBaseOptions = View::kAnimationLayoutSubviews | View::kAnimationBeginFromCurrentState;
constexpr unsigned kDeckEaseIn = View::kAnimationCurveEaseIn;
constexpr unsigned kDeckEaseOut = View::kAnimationCurveEaseOut;
constexpr unsigned kDeckTouchUpInside = 64;
constexpr const char* kDeckPreviewBounceKey = "previewBounceAnimation";

bool validDeckSide(unsigned side) {
  return side >= DeckSideLeft && side <= DeckSideBottom;
}

bool sameDeckTitle(const std::optional<std::string>& a, const std::optional<std::string>& b) {
  return a == b;
}

double deckMinX(const Rect& r) { return r.origin.x; }
double deckMaxX(const Rect& r) { return r.origin.x + r.size.width; }
double deckMinY(const Rect& r) { return r.origin.y; }
double deckMaxY(const Rect& r) { return r.origin.y + r.size.height; }

// A picture of the view as it is on screen now, at the screen's scale.
std::shared_ptr<pf::Image> deckSnapshotImage(View& view) {
  const double scale = pf::Screen::mainScreen().scale();
  const pf::Size size = view.bounds().size;
  auto bitmap = pf::Bitmap::create(static_cast<int>(std::ceil(size.width * scale)),
                                   static_cast<int>(std::ceil(size.height * scale)));
  pf::GraphicsContext context(bitmap, scale);
  const Rect frame = view.frame();
  context.translate(-frame.origin.x, -frame.origin.y);
  pf::LayerRenderer::render(*view.layer(), context);
  return pf::Image::withBitmap(bitmap, scale);
}

}  // namespace

// --- Construction -----------------------------------------------------------------------------

PanelDeckController::PanelDeckController() {
  shadowLayer_ = pf::Layer::make();
  shadowLayer_->setMasksToBounds(false);
  shadowLayer_->setShadowRadius(10.0);
  shadowLayer_->setShadowOpacity(0.5);
  shadowLayer_->setShadowColor(pf::Color::black());
  shadowLayer_->setShadowOffset({0, 0});
  // We have no table reorder control, so the slider is the only view a pan may not start on.
  disabledPanClasses_.insert(&pf::Slider::staticClass());
}

PanelDeckController::~PanelDeckController() {
  cleanup();
  // The controllers' links are weak and expire with the deck; the slots go with the members.
}

std::shared_ptr<PanelDeckController> PanelDeckController::create(Controller center, Controller left,
                                                                 Controller right, Controller top,
                                                                 Controller bottom) {
  auto deck = std::make_shared<PanelDeckController>();
  deck->setCenterController(std::move(center));
  for (unsigned side = DeckSideLeft; side <= DeckSideBottom; ++side) deck->setLedgeValue(kDefaultLedge, side);
  if (left) deck->setLeftController(std::move(left));
  if (right) deck->setRightController(std::move(right));
  if (top) deck->setTopController(std::move(top));
  if (bottom) deck->setBottomController(std::move(bottom));
  return deck;
}

std::shared_ptr<PanelDeckController> PanelDeckController::self() {
  return sharedAs<PanelDeckController>();
}

void PanelDeckController::cleanup() {
  slidingController_.reset();
  referenceView_.reset();
  centerView_.reset();
  centerTapper_.reset();
}

PanelDeckView* PanelDeckController::deckView() const {
  if (!isViewLoaded()) return nullptr;
  return dynamic_cast<PanelDeckView*>(const_cast<PanelDeckController*>(this)->view().get());
}

// --- Controller access ------------------------------------------------------------------------

PanelDeckController::Controller PanelDeckController::controllerForSide(unsigned side) const {
  return validDeckSide(side) ? controllers_[side] : nullptr;
}

int PanelDeckController::sideControllerCount() const {
  int count = 0;
  for (unsigned side = DeckSideLeft; side <= DeckSideBottom; ++side) count += controllers_[side] ? 1 : 0;
  return count;
}

std::vector<PanelDeckController::Controller> PanelDeckController::controllers() const {
  std::vector<Controller> all;
  if (centerController_) all.push_back(centerController_);
  for (unsigned side = DeckSideLeft; side <= DeckSideBottom; ++side) {
    if (controllers_[side]) all.push_back(controllers_[side]);
  }
  return all;
}

void PanelDeckController::doForControllers(const ControllerBlock& block) const {
  if (!block) return;
  for (unsigned side = DeckSideLeft; side <= DeckSideBottom; ++side) block(controllers_[side], DeckSide(side));
}

DeckSide PanelDeckController::oppositeOfSide(unsigned side) {
  switch (side) {
    case DeckSideLeft: return DeckSideRight;
    case DeckSideRight: return DeckSideLeft;
    case DeckSideTop: return DeckSideBottom;
    case DeckSideBottom: return DeckSideTop;
    default: return DeckSideNone;
  }
}

DeckOffsetOrientation PanelDeckController::orientationOfSide(unsigned side) {
  if (side == DeckSideLeft || side == DeckSideRight) return DeckOffsetHorizontal;
  if (side == DeckSideTop || side == DeckSideBottom) return DeckOffsetVertical;
  return DeckOffsetNone;
}

int PanelDeckController::sideForController(const pf::ViewController* controller) const {
  for (unsigned side = DeckSideLeft; side <= DeckSideBottom; ++side) {
    if (controller && controllers_[side].get() == controller) return static_cast<int>(side);
  }
  return kNotFound;
}

void PanelDeckController::disablePanOverViewsOfClass(const pf::Class& cls) {
  disabledPanClasses_.insert(&cls);
}

void PanelDeckController::enablePanOverViewsOfClass(const pf::Class& cls) {
  disabledPanClasses_.erase(&cls);
}

bool PanelDeckController::canPanOverViewsOfClass(const pf::Class& cls) const {
  return disabledPanClasses_.count(&cls) > 0;
}

std::vector<const pf::Class*> PanelDeckController::viewClassesWithDisabledPan() const {
  return {disabledPanClasses_.begin(), disabledPanClasses_.end()};
}

// --- Geometry ---------------------------------------------------------------------------------

Rect PanelDeckController::referenceBounds() const {
  if (referenceView_) return referenceView_->bounds();
  return pf::Screen::mainScreen().bounds();
}

double PanelDeckController::statusBarHeight() const {
  auto& app = pf::Application::sharedApplication();
  const auto orientation = app.statusBarOrientation();
  const bool landscape = orientation == pf::Application::InterfaceOrientation::LandscapeLeft ||
                         orientation == pf::Application::InterfaceOrientation::LandscapeRight;
  const Rect frame = app.statusBarFrame();
  return landscape ? frame.size.width : frame.size.height;
}

double PanelDeckController::relativeStatusBarHeight() const {
  return dynamic_cast<pf::Window*>(referenceView_.get()) ? statusBarHeight() : 0;
}

Rect PanelDeckController::centerViewBounds() const {
  Rect bounds = referenceBounds();
  if (navigationBehavior_ != DeckNavigationIntegrated) return bounds;
  double bar = 0;
  if (auto navigation = navigationController(); navigation && !navigation->isNavigationBarHidden()) {
    bar = navigation->navigationBar()->frame().size.height;
  }
  bounds.size.height -= relativeStatusBarHeight() + bar;
  return bounds;
}

Rect PanelDeckController::sideViewBounds() const {
  Rect bounds = referenceBounds();
  if (navigationBehavior_ != DeckNavigationIntegrated) return bounds;
  const double status = relativeStatusBarHeight();
  bounds.origin.y += status;
  bounds.size.height -= status;
  return bounds;
}

double PanelDeckController::extent(unsigned orientation) const {
  const Rect r = referenceBounds();
  return orientation == DeckOffsetHorizontal ? r.size.width : r.size.height;
}

double PanelDeckController::limitOffset(double offset, unsigned orientation) const {
  const bool horizontal = orientation == DeckOffsetHorizontal;
  const auto& minController = controllers_[horizontal ? DeckSideLeft : DeckSideTop];
  const auto& maxController = controllers_[horizontal ? DeckSideRight : DeckSideBottom];
  const double size = horizontal ? referenceBounds().size.width : referenceBounds().size.height;
  if (minController && maxController) return offset;
  if (minController && maxLedge_ > 0) return std::min(offset, size - maxLedge_);
  if (maxController && maxLedge_ > 0) return std::max(offset, maxLedge_ - size);
  return offset;
}

pf::Size PanelDeckController::slidingSizeForOffset(double offset, unsigned orientation) const {
  if (!resizesCenterView_) return referenceBounds().size;
  const double o = std::fabs(limitOffset(offset, orientation));
  const Rect center = centerViewBounds();
  if (orientation == DeckOffsetHorizontal) return {center.size.width - o, center.size.height};
  return {center.size.width, center.size.height - o};
}

Rect PanelDeckController::slidingRectForOffset(double offset, unsigned orientation) const {
  const double o = limitOffset(offset, orientation);
  const double shift = (o < 0 && resizesCenterView_) ? 0 : o;
  const pf::Size size = slidingSizeForOffset(o, orientation);
  if (orientation == DeckOffsetHorizontal) return {{shift, 0}, size};
  return {{0, shift}, size};
}

double PanelDeckController::ledgeOffsetForSide(unsigned side) const {
  const Rect r = referenceBounds();
  switch (side) {
    case DeckSideLeft: return r.size.width - ledge_[side];
    case DeckSideRight: return ledge_[side] - r.size.width;
    case DeckSideTop: return r.size.height - ledge_[side];
    case DeckSideBottom: return ledge_[side] - r.size.height;
    default: return 0;
  }
}

pf::View* PanelDeckController::slidingControllerView() const {
  auto sliding = slidingController_.lock();
  if (navigationBehavior_ == DeckNavigationIntegrated && navigationController() && sliding) {
    return sliding->isViewLoaded() ? sliding->view().get() : nullptr;
  }
  return centerView_.get();
}

void PanelDeckController::setSlidingFrameForOffset(double offset, bool limit, bool panning, unsigned orientation,
                                                   bool animated) {
  (void)animated;
  const double previous = offset_;
  if (limit) offset = limitOffset(offset, orientation);
  offset_ = offset;
  offsetOrientation_ = static_cast<DeckOffsetOrientation>(orientation);
  if (View* sliding = slidingControllerView()) {
    sliding->setFrame(slidingRectForOffset(offset, orientation));
    auto& layer = *sliding->layer();
    auto running = std::dynamic_pointer_cast<const pf::BasicAnimation>(layer.animationForKey("position"));
    shadowLayer_->setFrame(layer.frame());
    auto follow = pf::BasicAnimation::make("position");
    follow->duration = running ? running->duration : 0;
    follow->fillMode = pf::Animation::FillMode::Forwards;
    if (running) {
      follow->fromValue = running->fromValue;
      follow->timingFunction = running->timingFunction;
    }
    follow->toValue = (running && !pf::isEmpty(running->toValue)) ? running->toValue : pf::AnimatableValue(layer.position());
    shadowLayer_->addAnimation(follow, "position");
  }
  setParallax();
  if (offset_ != previous) notifyDidChangeOffset(offset_, orientation, panning);
}

void PanelDeckController::setSlidingFrameForOffset(double offset, unsigned orientation, bool animated) {
  setSlidingFrameForOffset(offset, true, false, orientation, animated);
}

void PanelDeckController::panToSlidingFrameForOffset(double offset, unsigned orientation, bool animated) {
  setSlidingFrameForOffset(offset, true, true, orientation, animated);
}

void PanelDeckController::setSlidingFrameForOffset(double offset, bool limit, unsigned orientation, bool animated) {
  setSlidingFrameForOffset(offset, limit, false, orientation, animated);
}

void PanelDeckController::hideAppropriateSideViews() {
  View* sliding = slidingControllerView();
  if (!sliding) return;
  const Rect f = sliding->frame();
  const Rect r = referenceBounds();
  hideControllerViewForSide(deckMinX(f) <= 0, DeckSideLeft);
  hideControllerViewForSide(deckMaxX(f) >= r.size.width, DeckSideRight);
  hideControllerViewForSide(deckMinY(f) <= 0, DeckSideTop);
  hideControllerViewForSide(deckMaxY(f) >= r.size.height, DeckSideBottom);
}

void PanelDeckController::hideControllerViewForSide(bool hide, unsigned side) {
  auto controller = controllerForSide(side);
  if (!controller || !controller->isViewLoaded()) return;
  controller->view()->setHidden(sideControllerCount() >= 2 ? hide : false);
}

// --- Sizes and ledges -------------------------------------------------------------------------

double PanelDeckController::ledge(unsigned side) const {
  return validDeckSide(side) ? ledge_[side] : 0;
}

double PanelDeckController::sizeAsLedge(double size, unsigned side) const {
  if (sizeMode_ == DeckSizeModeLedge) return size;
  const Rect r = referenceBounds();
  return (side == DeckSideLeft || side == DeckSideRight ? r.size.width : r.size.height) - size;
}

double PanelDeckController::ledgeAsSize(double ledge, unsigned mode, unsigned side) const {
  if (mode == DeckSizeModeLedge) return ledge;
  const Rect r = referenceBounds();
  return (side == DeckSideLeft || side == DeckSideRight ? r.size.width : r.size.height) - ledge;
}

double PanelDeckController::sizeForSide(unsigned side) const {
  return ledgeAsSize(ledge(side), side);
}

void PanelDeckController::setLedgeValue(double ledge, unsigned side) {
  if (!validDeckSide(side)) return;
  if (maxLedge_ > 0 && maxLedge_ < ledge) ledge = maxLedge_;
  double filtered = ledge;
  auto askDelegate = [this, &filtered, side](PanelDeckControllerDelegate& d) {
    if (auto answer = d.changesLedge(*this, filtered, DeckSide(side))) filtered = *answer;
  };
  performDelegate(askDelegate);
  ledge_[side] = filtered;
}

void PanelDeckController::setSize(double size, unsigned side, std::function<void(bool finished)> completion) {
  if (!validDeckSide(side)) return;
  const double newLedge = sizeAsLedge(size, side);
  const auto offsetFor = [this, side](double l) {
    const Rect r = referenceBounds();
    switch (side) {
      case DeckSideLeft: return r.size.width - l;
      case DeckSideRight: return l - r.size.width;
      case DeckSideTop: return r.size.height - l;
      default: return l - r.size.height;
    }
  };
  View* sliding = slidingControllerView();
  if (viewFirstAppeared_ && sliding) {
    const Rect f = sliding->frame();
    const double origin = orientationOfSide(side) == DeckOffsetHorizontal ? f.origin.x : f.origin.y;
    const double current = ledge_[side];
    if (origin == offsetFor(current) && newLedge != current) {
      const double duration = newLedge < current ? closeSlideDuration(true) : openSlideDuration(true);
      auto weak = std::weak_ptr<PanelDeckController>(self());
      View::animateWithDuration(
          duration,
          [weak, offsetFor, newLedge, side] {
            if (auto deck = weak.lock()) deck->setSlidingFrameForOffset(offsetFor(newLedge), orientationOfSide(side), true);
          },
          std::move(completion));
    }
  }
  setLedgeValue(newLedge, side);
}

void PanelDeckController::setMaxSize(double size, std::function<void(bool finished)> completion) {
  if (sideControllerCount() >= 2) {
    pf::logf("PanelDeckController: warning: setting maxLedge with more than one side controllers. Value will be ignored.");
    return;
  }
  for (unsigned side = DeckSideLeft; side <= DeckSideBottom; ++side) {
    if (!controllers_[side]) continue;
    maxLedge_ = sizeAsLedge(size, side);
    if (maxLedge_ < ledge_[side]) {
      setSize(size, side, std::move(completion));
    } else if (completion) {
      completion(false);
    }
    setSlidingFrameForOffset(offset_, orientationOfSide(side), false);
    return;
  }
}

// --- Delegate fan-out -------------------------------------------------------------------------

namespace {

// The controller as a delegate, or the controller it wraps (a wrapper answers for what it lacks).
PanelDeckControllerDelegate* fanOutTarget(pf::ViewController& controller) {
  if (auto* direct = dynamic_cast<PanelDeckControllerDelegate*>(&controller)) return direct;
  if (auto* wrapper = dynamic_cast<WrapController*>(&controller)) {
    return dynamic_cast<PanelDeckControllerDelegate*>(wrapper->wrappedController().get());
  }
  return nullptr;
}

}  // namespace

// Asks the delegate, then (mode 1) every controller that answers and is not the delegate, or else the
// top of a navigation controller; every candidate is asked, and nobody answering means yes.
template <typename Answer, typename Ask>
bool PanelDeckController::checkDelegate(const Ask& ask) {
  bool answer = true;
  auto delegate = delegate_.lock();
  if (delegate) {
    if (std::optional<bool> said = ask(*delegate)) answer = *said;
  }
  if (delegateMode_ == DeckDelegateOnly) return answer;
  for (const auto& controller : controllers()) {
    auto* asked = fanOutTarget(*controller);
    std::optional<bool> said;
    if (asked && asked != delegate.get()) said = ask(*asked);
    if (!said) {
      auto navigation = std::dynamic_pointer_cast<pf::NavigationController>(controller);
      auto top = navigation ? navigation->topViewController() : nullptr;
      auto* topAsked = dynamic_cast<PanelDeckControllerDelegate*>(top.get());
      if (topAsked && topAsked != delegate.get()) said = ask(*topAsked);
    }
    if (said) answer = answer && *said;
  }
  return answer;
}

// Tells the delegate, then (mode 1) every controller that listens and is not the delegate, or else
// the top of a navigation controller.
template <typename Tell>
void PanelDeckController::performDelegate(const Tell& tell) {
  auto delegate = delegate_.lock();
  if (delegate) tell(*delegate);
  if (delegateMode_ == DeckDelegateOnly) return;
  for (const auto& controller : controllers()) {
    auto* told = fanOutTarget(*controller);
    if (told) {
      if (told != delegate.get()) tell(*told);
      continue;
    }
    auto navigation = std::dynamic_pointer_cast<pf::NavigationController>(controller);
    auto top = navigation ? navigation->topViewController() : nullptr;
    auto* topTold = dynamic_cast<PanelDeckControllerDelegate*>(top.get());
    if (topTold && topTold != delegate.get()) tell(*topTold);
  }
}

// --- Side state -------------------------------------------------------------------------------

bool PanelDeckController::isSideClosed(unsigned side) const {
  if (!controllerForSide(side)) return true;
  View* sliding = slidingControllerView();
  if (!sliding) return true;
  const Rect f = sliding->frame();
  const Rect r = referenceBounds();
  switch (side) {
    case DeckSideLeft: return deckMinX(f) <= 0;
    case DeckSideRight: return deckMaxX(f) >= r.size.width;
    case DeckSideTop: return deckMinY(f) <= 0;
    case DeckSideBottom: return deckMaxY(f) >= r.size.height;
    default: return true;
  }
}

bool PanelDeckController::isSideOpen(unsigned side) const {
  if (!controllerForSide(side)) return false;
  View* sliding = slidingControllerView();
  if (!sliding) return false;
  const Rect f = sliding->frame();
  const Rect r = referenceBounds();
  switch (side) {
    case DeckSideLeft: return deckMinX(f) == r.size.width - ledge_[side];
    case DeckSideRight: return deckMaxX(f) == ledge_[side];
    case DeckSideTop: return deckMinY(f) == r.size.height - ledge_[side];
    case DeckSideBottom: return deckMaxY(f) == ledge_[side];
    default: return false;
  }
}

bool PanelDeckController::isAnySideOpen() const {
  for (unsigned side = DeckSideLeft; side <= DeckSideBottom; ++side) {
    if (isSideOpen(side)) return true;
  }
  return false;
}

bool PanelDeckController::isSideTransitioning(unsigned side) const {
  return !isSideClosed(side) && !isSideOpen(side);
}

bool PanelDeckController::checkCanOpenSide(unsigned side) {
  if (isSideOpen(side)) return false;
  return checkDelegate<bool>(
      [this, side](PanelDeckControllerDelegate& d) { return d.shouldOpenViewSide(*this, DeckSide(side)); });
}

bool PanelDeckController::checkCanCloseSide(unsigned side, bool animated) {
  if (isSideClosed(side)) return false;
  return checkDelegate<bool>([this, side, animated](PanelDeckControllerDelegate& d) {
    return d.shouldCloseViewSide(*this, DeckSide(side), animated);
  });
}

// --- Notifications ----------------------------------------------------------------------------

void PanelDeckController::notifyWillOpenSide(unsigned side, bool animated) {
  if (!validDeckSide(side)) return;
  notifyAppearanceForSide(side, animated, DeckAppearanceHidden, DeckAppearanceTransitioning);
  if (isSideClosed(side)) {
    performDelegate([this, side, animated](PanelDeckControllerDelegate& d) {
      d.willOpenViewSide(*this, DeckSide(side), animated);
    });
  }
}

void PanelDeckController::notifyDidOpenSide(unsigned side, bool animated) {
  if (!validDeckSide(side)) return;
  notifyAppearanceForSide(side, animated, DeckAppearanceTransitioning, DeckAppearanceShown);
  if (isSideOpen(side)) {
    performDelegate([this, side, animated](PanelDeckControllerDelegate& d) {
      d.didOpenViewSide(*this, DeckSide(side), animated);
    });
  }
}

void PanelDeckController::notifyWillCloseSide(unsigned side, bool animated) {
  if (!validDeckSide(side)) return;
  notifyAppearanceForSide(side, animated, DeckAppearanceShown, DeckAppearanceTransitioning);
  if (!isSideClosed(side)) {
    performDelegate([this, side, animated](PanelDeckControllerDelegate& d) {
      d.willCloseViewSide(*this, DeckSide(side), animated);
    });
  }
}

void PanelDeckController::notifyDidCloseSide(unsigned side, bool animated) {
  if (!validDeckSide(side)) return;
  notifyAppearanceForSide(side, animated, DeckAppearanceTransitioning, DeckAppearanceHidden);
  if (isSideClosed(side)) {
    performDelegate([this, side, animated](PanelDeckControllerDelegate& d) {
      d.didCloseViewSide(*this, DeckSide(side), animated);
      d.didShowCenterViewFromSide(*this, DeckSide(side), animated);
    });
  }
}

void PanelDeckController::notifyDidChangeOffset(double offset, unsigned orientation, bool panning) {
  performDelegate([this, offset, orientation, panning](PanelDeckControllerDelegate& d) {
    d.didChangeOffset(*this, offset, static_cast<DeckOffsetOrientation>(orientation), panning);
  });
}

DeckAppearanceState PanelDeckController::sideAppearance(unsigned side) const {
  return validDeckSide(side) ? sideAppeared_[side] : DeckAppearanceHidden;
}

// One appearance call on a child, through the platform's balanced transitions: a "did" call whose
// "will" was skipped (a slide reversed half way) gets it first, so the child never stops hearing.
void PanelDeckController::sendAppearance(pf::ViewController& controller, DeckAppearanceState from,
                                         DeckAppearanceState to, bool animated) const {
  using State = pf::ViewController::AppearanceState;
  const State state = controller.appearanceState();
  if (from < to) {
    if (to == DeckAppearanceShown && (state == State::Disappeared || state == State::Disappearing)) {
      controller.beginAppearanceTransition(true, animated);
    }
    if (to == DeckAppearanceTransitioning) {
      controller.beginAppearanceTransition(true, animated);
    } else {
      controller.endAppearanceTransition();
    }
  } else {
    if (to == DeckAppearanceHidden && (state == State::Appeared || state == State::Appearing)) {
      controller.beginAppearanceTransition(false, animated);
    }
    if (to == DeckAppearanceTransitioning) {
      controller.beginAppearanceTransition(false, animated);
    } else {
      controller.endAppearanceTransition();
    }
  }
}

void PanelDeckController::notifyAppearanceForSide(unsigned side, bool animated, DeckAppearanceState from,
                                                  DeckAppearanceState to) {
  if (!validDeckSide(side)) return;
  if (viewAppeared_ < to) {
    sideAppeared_[side] = to;
    return;
  }
  if (from < to ? sideAppeared_[side] > from : sideAppeared_[side] < from) return;
  sideAppeared_[side] = to;
  if (auto controller = controllers_[side]) {
    controller->view();
    sendAppearance(*controller, from, to, animated);
  }
}

void PanelDeckController::transitionAppearanceFrom(DeckAppearanceState from, DeckAppearanceState to, bool animated) {
  doForControllers([&](const Controller& controller, DeckSide side) {
    if (!controller) return;
    if (from < to ? sideAppeared_[side] <= from : sideAppeared_[side] < from) return;
    sendAppearance(*controller, from, to, animated);
  });
}

void PanelDeckController::postScreenChanged() const {
  pf::Accessibility::post(pf::Accessibility::Notification::ScreenChanged);
}

// --- Opening and closing ----------------------------------------------------------------------

double PanelDeckController::bounceFactor() const {
  return bounceDurationFactor_ != 0 ? bounceDurationFactor_ : 1;
}

double PanelDeckController::openSideFactor() const {
  if (bounceOpenSideDurationFactor_ != 0) return bounceOpenSideDurationFactor_;
  return bounceDurationFactor_ != 0 ? 1 - bounceDurationFactor_ : 1;
}

void PanelDeckController::setBounceDurationFactor(double factor) {
  bounceDurationFactor_ = std::clamp(factor, 0.0, 0.99);
}

bool PanelDeckController::openSideView(unsigned side, bool animated, DeckCompletionBlock completion) {
  return openSideView(side, animated, 0, std::move(completion));
}

bool PanelDeckController::openSideView(unsigned side, bool animated, double duration, DeckCompletionBlock completion) {
  if (!controllerForSide(side) || isSideOpen(side)) {
    if (completion) completion(*this, true);
    return true;
  }
  if (!checkCanOpenSide(side)) {
    if (completion) completion(*this, false);
    return false;
  }
  if (!isSideClosed(oppositeOfSide(side))) return toggleOpenView(animated, std::move(completion));
  if (duration == 0) duration = openSlideDuration(animated);
  if (isSideClosed(side)) {
    auto deck = self();
    return closeOpenView(animated, 0, [deck, side, animated, duration, completion](PanelDeckController&, bool ok) {
      if (!ok) {
        if (completion) completion(*deck, false);
        return;
      }
      deck->openSideNow(side, animated, duration, kDeckBaseOptions, completion);
    });
  }
  return openSideNow(side, animated, duration, kDeckBaseOptions | kDeckEaseOut, std::move(completion));
}

// The finishing step of a plain opening.
bool PanelDeckController::openSideNow(unsigned side, bool animated, double duration, Options options,
                                      DeckCompletionBlock completion) {
  notifyWillOpenSide(side, animated);
  disableUserInteraction();
  auto deck = self();
  View::animateWithDuration(
      duration, 0, options,
      [deck, side] {
        deck->hideControllerViewForSide(false, side);
        deck->setSlidingFrameForOffset(deck->ledgeOffsetForSide(side), orientationOfSide(side), true);
        deck->centerViewHidden();
      },
      [deck, side, animated, completion](bool) {
        deck->enableUserInteraction();
        deck->setAccessibilityForCenterTapper();
        if (completion) completion(*deck, true);
        deck->notifyDidOpenSide(side, animated);
        deck->postScreenChanged();
      });
  return true;
}

bool PanelDeckController::closeSideView(unsigned side, bool animated, DeckCompletionBlock completion) {
  return closeSideView(side, animated, 0, std::move(completion));
}

bool PanelDeckController::closeSideView(unsigned side, bool animated, double duration, DeckCompletionBlock completion) {
  if (isSideClosed(side)) {
    if (completion) completion(*this, true);
    return true;
  }
  if (!checkCanCloseSide(side, animated)) {
    if (completion) completion(*this, false);
    return false;
  }
  if (duration == 0) duration = closeSlideDuration(animated);
  const bool fullyOpen = isSideOpen(side);
  notifyWillCloseSide(side, animated);
  disableUserInteraction();
  auto deck = self();
  View::animateWithDuration(
      duration, 0, fullyOpen ? kDeckBaseOptions : kDeckBaseOptions | kDeckEaseOut,
      [deck, side] {
        deck->setSlidingFrameForOffset(0, orientationOfSide(side), true);
        deck->centerViewVisible();
      },
      [deck, side, animated, completion](bool) {
        deck->hideAppropriateSideViews();
        deck->enableUserInteraction();
        if (completion) completion(*deck, true);
        deck->notifyDidCloseSide(side, animated);
        deck->postScreenChanged();
      });
  return true;
}

bool PanelDeckController::openSideView(unsigned side, double bounceOffset, double targetOffset,
                                       DeckBouncedBlock bounced, DeckCompletionBlock completion) {
  if (!controllerForSide(side) || isSideOpen(side)) {
    if (completion) completion(*this, true);
    return true;
  }
  if (!checkCanOpenSide(side)) {
    if (completion) completion(*this, false);
    return false;
  }
  const Options options = isSideClosed(side) ? kDeckBaseOptions | kDeckEaseIn : kDeckBaseOptions;
  auto deck = self();
  return closeOpenView(true, 0, [deck, side, bounceOffset, targetOffset, options, bounced, completion](
                                    PanelDeckController&, bool ok) {
    if (!ok) {
      if (completion) completion(*deck, false);
      return;
    }
    deck->finishBouncingOpen(side, bounceOffset, targetOffset, options, bounced, completion);
  });
}

void PanelDeckController::finishBouncingOpen(unsigned side, double bounceOffset, double targetOffset, Options options,
                                             DeckBouncedBlock bounced, DeckCompletionBlock completion) {
  notifyWillOpenSide(side, true);
  disableUserInteraction();
  auto deck = self();
  const auto orientation = orientationOfSide(side);
  View::animateWithDuration(
      openSlideDuration(true) * bounceFactor(), 0, options,
      [deck, side, bounceOffset, orientation] {
        deck->hideControllerViewForSide(false, side);
        deck->setSlidingFrameForOffset(bounceOffset, orientation, true);
      },
      [deck, side, targetOffset, orientation, bounced, completion](bool) {
        deck->centerViewHidden();
        if (bounced) bounced(*deck);
        auto controller = deck->controllerForSide(side);
        deck->performDelegate([&](PanelDeckControllerDelegate& d) {
          d.didBounceViewSideOpeningController(*deck, DeckSide(side), controller.get());
        });
        View::animateWithDuration(
            deck->openSlideDuration(true) * deck->openSideFactor(), 0, kDeckBaseOptions,
            [deck, targetOffset, orientation] { deck->setSlidingFrameForOffset(targetOffset, orientation, true); },
            [deck, side, completion](bool) {
              deck->enableUserInteraction();
              deck->setAccessibilityForCenterTapper();
              if (completion) completion(*deck, true);
              deck->notifyDidOpenSide(side, true);
              deck->postScreenChanged();
            });
      });
}

bool PanelDeckController::closeSideView(unsigned side, double bounceOffset, DeckBouncedBlock bounced,
                                        DeckCompletionBlock completion) {
  if (isSideClosed(side)) {
    if (completion) completion(*this, true);
    return true;
  }
  if (!checkCanCloseSide(side, true)) {
    if (completion) completion(*this, false);
    return false;
  }
  const Options options = isSideOpen(side) ? kDeckBaseOptions | kDeckEaseIn : kDeckBaseOptions;
  const auto orientation = orientationOfSide(side);
  notifyWillCloseSide(side, true);
  disableUserInteraction();
  auto deck = self();
  View::animateWithDuration(
      openSlideDuration(true) * openSideFactor(), 0, options,
      [deck, bounceOffset, orientation] { deck->setSlidingFrameForOffset(bounceOffset, orientation, true); },
      [deck, side, orientation, bounced, completion](bool) {
        if (bounced) bounced(*deck);
        auto controller = deck->controllerForSide(side);
        deck->performDelegate([&](PanelDeckControllerDelegate& d) {
          d.didBounceViewSideClosingController(*deck, DeckSide(side), controller.get());
        });
        View::animateWithDuration(
            deck->closeSlideDuration(true) * deck->bounceFactor(), 0, View::kAnimationLayoutSubviews | kDeckEaseOut,
            [deck, orientation] {
              deck->setSlidingFrameForOffset(0, orientation, true);
              deck->centerViewVisible();
            },
            [deck, side, completion](bool) {
              deck->hideAppropriateSideViews();
              deck->enableUserInteraction();
              if (completion) completion(*deck, true);
              deck->notifyDidCloseSide(side, true);
              deck->postScreenChanged();
            });
      });
  return true;
}

bool PanelDeckController::toggleOpenView(bool animated, DeckCompletionBlock completion) {
  unsigned closing = DeckSideNone;
  for (unsigned side = DeckSideLeft; side <= DeckSideBottom && !closing; ++side) {
    if (isSideOpen(side)) closing = side;
  }
  if (!closing) {
    if (completion) completion(*this, false);
    return false;
  }
  const unsigned opening = oppositeOfSide(closing);
  const double target = ledgeOffsetForSide(opening);
  const bool canClose = checkCanCloseSide(closing, animated);
  const bool canOpen = checkCanOpenSide(opening);
  if (!canClose && !canOpen) {
    if (completion) completion(*this, false);
    return false;
  }
  notifyWillCloseSide(closing, animated);
  auto deck = self();
  View::animateWithDuration(
      closeSlideDuration(animated), 0, View::kAnimationLayoutSubviews | kDeckEaseIn,
      [deck, closing] { deck->setSlidingFrameForOffset(0, orientationOfSide(closing), true); },
      [deck, closing, opening, target, animated, completion](bool) {
        deck->finishSwitch(closing, opening, target, animated, completion);
      });
  return true;
}

// The second half of a switch to the opposite side.
void PanelDeckController::finishSwitch(unsigned closing, unsigned opening, double target, bool animated,
                                       DeckCompletionBlock completion) {
  notifyWillOpenSide(opening, animated);
  auto deck = self();
  View::animateWithDuration(
      openSlideDuration(animated), 0, View::kAnimationLayoutSubviews | kDeckEaseOut,
      [deck, opening, target] { deck->setSlidingFrameForOffset(target, orientationOfSide(opening), true); },
      [deck, opening, animated, completion](bool) {
        if (completion) completion(*deck, true);
        deck->notifyDidOpenSide(opening, animated);
      });
  hideAppropriateSideViews();
  notifyDidCloseSide(closing, animated);
}

bool PanelDeckController::closeOpenView(bool animated, DeckCompletionBlock completion) {
  return closeOpenView(animated, 0, std::move(completion));
}

bool PanelDeckController::closeOpenView(bool animated, double duration, DeckCompletionBlock completion) {
  for (unsigned side = DeckSideLeft; side <= DeckSideBottom; ++side) {
    if (!isSideClosed(side)) return closeSideView(side, animated, duration, std::move(completion));
  }
  if (completion) completion(*this, true);
  return true;
}

bool PanelDeckController::closeOpenViewBouncing(DeckBouncedBlock bounced, DeckCompletionBlock completion) {
  for (unsigned side = DeckSideLeft; side <= DeckSideBottom; ++side) {
    if (isSideOpen(side)) return closeSideViewBouncing(side, std::move(bounced), std::move(completion));
  }
  if (completion) completion(*this, true);
  return true;
}

bool PanelDeckController::toggleSideView(unsigned side, bool animated, DeckCompletionBlock completion) {
  if (isSideClosed(side)) return openSideView(side, animated, std::move(completion));
  return closeSideView(side, animated, 0, std::move(completion));
}

bool PanelDeckController::openSideViewBouncing(unsigned side, DeckBouncedBlock bounced, DeckCompletionBlock completion) {
  const Rect r = referenceBounds();
  double bounce = 0;
  switch (side) {
    case DeckSideLeft: bounce = r.size.width; break;
    case DeckSideRight: bounce = -r.size.width; break;
    case DeckSideTop: bounce = r.size.height; break;
    case DeckSideBottom: bounce = -r.size.height; break;
    default: break;
  }
  return openSideView(side, bounce, ledgeOffsetForSide(side), std::move(bounced), std::move(completion));
}

bool PanelDeckController::closeSideViewBouncing(unsigned side, DeckBouncedBlock bounced, DeckCompletionBlock completion) {
  const Rect r = referenceBounds();
  double bounce = 0;
  switch (side) {
    case DeckSideLeft: bounce = r.size.width; break;
    case DeckSideRight: bounce = -r.size.width; break;
    case DeckSideTop: bounce = r.size.height; break;
    case DeckSideBottom: bounce = -r.size.height; break;
    default: break;
  }
  return closeSideView(side, bounce, std::move(bounced), std::move(completion));
}

bool PanelDeckController::toggleLeftView(bool animated, DeckCompletionBlock c) { return toggleSideView(DeckSideLeft, animated, std::move(c)); }
bool PanelDeckController::openLeftView(bool animated, DeckCompletionBlock c) { return openSideView(DeckSideLeft, animated, std::move(c)); }
bool PanelDeckController::closeLeftView(bool animated, DeckCompletionBlock c) { return closeSideView(DeckSideLeft, animated, 0, std::move(c)); }
bool PanelDeckController::closeLeftView(bool animated, double duration, DeckCompletionBlock c) { return closeSideView(DeckSideLeft, animated, duration, std::move(c)); }
bool PanelDeckController::openLeftViewBouncing(DeckBouncedBlock b, DeckCompletionBlock c) { return openSideViewBouncing(DeckSideLeft, std::move(b), std::move(c)); }
bool PanelDeckController::closeLeftViewBouncing(DeckBouncedBlock b, DeckCompletionBlock c) { return closeSideViewBouncing(DeckSideLeft, std::move(b), std::move(c)); }
bool PanelDeckController::toggleRightView(bool animated, DeckCompletionBlock c) { return toggleSideView(DeckSideRight, animated, std::move(c)); }
bool PanelDeckController::openRightView(bool animated, DeckCompletionBlock c) { return openSideView(DeckSideRight, animated, std::move(c)); }
bool PanelDeckController::closeRightView(bool animated, DeckCompletionBlock c) { return closeSideView(DeckSideRight, animated, 0, std::move(c)); }
bool PanelDeckController::openRightViewBouncing(DeckBouncedBlock b, DeckCompletionBlock c) { return openSideViewBouncing(DeckSideRight, std::move(b), std::move(c)); }
bool PanelDeckController::closeRightViewBouncing(DeckBouncedBlock b, DeckCompletionBlock c) { return closeSideViewBouncing(DeckSideRight, std::move(b), std::move(c)); }
bool PanelDeckController::toggleTopView(bool animated, DeckCompletionBlock c) { return toggleSideView(DeckSideTop, animated, std::move(c)); }
bool PanelDeckController::openTopView(bool animated, DeckCompletionBlock c) { return openSideView(DeckSideTop, animated, std::move(c)); }
bool PanelDeckController::closeTopView(bool animated, DeckCompletionBlock c) { return closeSideView(DeckSideTop, animated, 0, std::move(c)); }
bool PanelDeckController::openTopViewBouncing(DeckBouncedBlock b, DeckCompletionBlock c) { return openSideViewBouncing(DeckSideTop, std::move(b), std::move(c)); }
bool PanelDeckController::closeTopViewBouncing(DeckBouncedBlock b, DeckCompletionBlock c) { return closeSideViewBouncing(DeckSideTop, std::move(b), std::move(c)); }
bool PanelDeckController::toggleBottomView(bool animated, DeckCompletionBlock c) { return toggleSideView(DeckSideBottom, animated, std::move(c)); }
bool PanelDeckController::openBottomView(bool animated, DeckCompletionBlock c) { return openSideView(DeckSideBottom, animated, std::move(c)); }
bool PanelDeckController::closeBottomView(bool animated, DeckCompletionBlock c) { return closeSideView(DeckSideBottom, animated, 0, std::move(c)); }
bool PanelDeckController::openBottomViewBouncing(DeckBouncedBlock b, DeckCompletionBlock c) { return openSideViewBouncing(DeckSideBottom, std::move(b), std::move(c)); }
bool PanelDeckController::closeBottomViewBouncing(DeckBouncedBlock b, DeckCompletionBlock c) { return closeSideViewBouncing(DeckSideBottom, std::move(b), std::move(c)); }

bool PanelDeckController::canRightViewPushViewControllerOverCenterController() const {
  return dynamic_cast<pf::NavigationController*>(centerController_.get()) != nullptr;
}

void PanelDeckController::rightViewPushViewControllerOverCenterController(const Controller& controller) {
  auto center = std::dynamic_pointer_cast<pf::NavigationController>(centerController_);
  if (!center) {
    throw pf::ContractViolation(
        "cannot rightViewPushViewControllerOverCenterView when center controller is not a navigation controller");
  }
  auto deckView = view();
  auto snapshot = std::make_shared<pf::ImageView>(deckView->frame());
  snapshot->setImage(deckSnapshotImage(*deckView));
  if (auto superview = deckView->superview()) superview->addSubview(snapshot);
  const Rect remembered = deckView->frame();
  Rect moved = remembered;
  moved.origin.x += remembered.size.width;
  deckView->setFrame(moved);
  closeRightView(false);
  auto navigation = center->navigationController() ? center->navigationController() : center;
  navigation->pushViewController(controller, false);
  disableUserInteraction();
  auto deck = self();
  View::animateWithDuration(
      0.3, 0, 0,
      [snapshot, deckView, remembered] {
        Rect shifted = snapshot->frame();
        shifted.origin.x -= remembered.size.width;
        snapshot->setFrame(shifted);
        deckView->setFrame(remembered);
      },
      [deck, snapshot](bool) {
        deck->enableUserInteraction();
        snapshot->removeFromSuperview();
      });
}

// --- Slots and the centre ---------------------------------------------------------------------

void PanelDeckController::setController(Controller controller, unsigned side) {
  if (!validDeckSide(side)) return;
  Controller previous = controllers_[side];
  if (controller == previous) return;
  // Where the newcomer sat before (a side or the centre): that place is emptied, whatever the slot held.
  const int oldSide = controller ? sideForController(controller.get()) : kNotFound;
  Rect frame = referenceBounds();
  const bool shown = viewFirstAppeared_;
  auto before = [this, side, shown] {
    if (!shown) return;
    notifyAppearanceForSide(side, false, DeckAppearanceShown, DeckAppearanceTransitioning);
    if (controllers_[side] && controllers_[side]->isViewLoaded()) controllers_[side]->view()->removeFromSuperview();
    notifyAppearanceForSide(side, false, DeckAppearanceTransitioning, DeckAppearanceHidden);
  };
  if (previous) {
    frame = previous->isViewLoaded() ? previous->view()->frame() : frame;
    previous->willMoveToParentViewController(nullptr);
    before();
    setPanelDeckController(*previous, nullptr);
    previous->removeFromParentViewController();
    previous->didMoveToParentViewController(nullptr);
  }
  if (controller && controller == centerController_) setCenterController(nullptr);
  if (oldSide != kNotFound) setController(nullptr, static_cast<unsigned>(oldSide));
  controllers_[side] = controller;
  if (!controller) return;
  std::weak_ptr<PanelDeckController> weak = self();
  enqueueFinishTransitionBlock(
      [weak, controller, side, frame, shown] {
        auto deck = weak.lock();
        if (!deck || deck->controllers_[side] != controller) return;
        auto parent = deck->parentViewController() ? deck->parentViewController()->parentViewController() : nullptr;
        if (!parent) parent = deck->presentingViewController();
        if (!parent) parent = deck;
        parent->addChildViewController(controller);
        setPanelDeckController(*controller, deck);
        if (shown) {
          deck->notifyAppearanceForSide(side, false, DeckAppearanceHidden, DeckAppearanceTransitioning);
          deck->hideAppropriateSideViews();
          auto view = controller->view();
          view->setFrame(frame);
          view->setAutoresizingMask(View::kFlexibleWidth | View::kFlexibleHeight);
          if (View* sliding = deck->slidingControllerView(); sliding && deck->slidingController()) {
            deck->referenceView_->insertSubviewBelow(view, sliding);
          } else {
            deck->referenceView_->addSubview(view);
          }
          deck->notifyAppearanceForSide(side, false, DeckAppearanceTransitioning, DeckAppearanceShown);
        }
        controller->didMoveToParentViewController(parent.get());
        deck->applyCenterViewOpacityIfNeeded();
      },
      controller);
}

void PanelDeckController::setCenterController(Controller controller) {
  if (controller == centerController_) return;
  Rect frame = referenceBounds();
  const bool shown = viewFirstAppeared_;
  // The side the new centre sat in is emptied, also on a deck without a centre.
  for (unsigned side = DeckSideLeft; side <= DeckSideBottom; ++side) {
    if (controller && controllers_[side] == controller) setController(nullptr, side);
  }
  if (auto old = centerController_) {
    if (old->isViewLoaded()) frame = old->view()->frame();
    old->willMoveToParentViewController(nullptr);
    if (shown) {
      old->beginAppearanceTransition(false, false);
      restoreShadowToSlidingView();
      removePanners();
      if (old->isViewLoaded()) old->view()->removeFromSuperview();
      old->endAppearanceTransition();
      if (centerView_) centerView_->removeFromSuperview();
    }
    centerTitleObservation_.remove();
    tabBarObservations_.clear();
    setPanelDeckController(*old, nullptr);
    old->removeFromParentViewController();
    old->didMoveToParentViewController(nullptr);
  }
  centerController_ = controller;
  if (!controller) return;
  controller->willMoveToParentViewController(this);
  addChildViewController(controller);
  setPanelDeckController(*controller, self());
  observeCenter(controller);
  setTitle(controller->title());
  if (automaticallyUpdateTabBarItems_) {
    observeCenterTabBarItem(controller);
    copyCenterTabBarItem();
    setHidesBottomBarWhenPushed(controller->hidesBottomBarWhenPushed());
  }
  controller->view();
  applyCenterViewOpacityIfNeeded();
  applyCenterViewCornerRadiusAnimated(false);
  if (shown) {
    view()->addSubview(centerView_);
    controller->beginAppearanceTransition(true, false);
    auto navigation = std::dynamic_pointer_cast<pf::NavigationController>(controller);
    const bool barShown = navigation && !navigation->isNavigationBarHidden();
    if (barShown) navigation->setNavigationBarHidden(true, false);
    setSlidingAndReferenceViews();
    auto centerControllerView = controller->view();
    centerControllerView->setFrame(frame);
    centerControllerView->setAutoresizingMask(View::kFlexibleWidth | View::kFlexibleHeight);
    centerControllerView->setHidden(false);
    centerView_->addSubview(centerControllerView);
    if (barShown) navigation->setNavigationBarHidden(false, false);
    addPanners();
    applyShadowToSlidingViewAnimated(false);
    controller->endAppearanceTransition();
  }
  controller->didMoveToParentViewController(this);
  if (isAnySideOpen()) centerViewHidden();
}

void PanelDeckController::observeCenter(const Controller& center) {
  std::weak_ptr<PanelDeckController> weak = self();
  centerTitleObservation_ = pf::ChangeObservers::observe(*center, "title", [weak](const std::string&) {
    if (auto deck = weak.lock()) deck->centerTitleChanged();
  });
}

void PanelDeckController::observeCenterTabBarItem(const Controller& center) {
  tabBarObservations_.clear();
  std::weak_ptr<PanelDeckController> weak = self();
  auto handler = [weak](const std::string& key) {
    if (auto deck = weak.lock()) deck->centerTabBarItemChanged(key);
  };
  tabBarObservations_.push_back(pf::ChangeObservers::observe(*center, "tabBarItem", handler));
  tabBarObservations_.push_back(pf::ChangeObservers::observe(*center, "hidesBottomBarWhenPushed", handler));
  auto item = center->tabBarItem();
  tabBarObservations_.push_back(pf::ChangeObservers::observe(*item, "title", handler));
  tabBarObservations_.push_back(pf::ChangeObservers::observe(*item, "image", handler));
}

void PanelDeckController::copyCenterTabBarItem() {
  if (!centerController_) return;
  auto from = centerController_->tabBarItem();
  auto to = tabBarItem();
  to->setTitle(from->title());
  to->setImage(from->image());
}

void PanelDeckController::centerTabBarItemChanged(const std::string& key) {
  if (!centerController_) return;
  if (key == "hidesBottomBarWhenPushed") {
    const bool hides = centerController_->hidesBottomBarWhenPushed();
    setHidesBottomBarWhenPushed(hides);
    if (auto tabs = tabBarController()) tabs->setHidesBottomBarWhenPushed(hides);
    return;
  }
  // A new item on the centre: follow that one from now on.
  if (key == "tabBarItem") observeCenterTabBarItem(centerController_);
  copyCenterTabBarItem();
}

void PanelDeckController::centerTitleChanged() {
  if (!centerController_) return;
  if (!sameDeckTitle(title(), centerController_->title())) setTitle(centerController_->title());
}

void PanelDeckController::setAutomaticallyUpdateTabBarItems(bool update) {
  if (automaticallyUpdateTabBarItems_) tabBarObservations_.clear();
  automaticallyUpdateTabBarItems_ = update;
  if (update && centerController_) {
    observeCenterTabBarItem(centerController_);
    copyCenterTabBarItem();
  }
}

void PanelDeckController::setTitle(std::optional<std::string> title) {
  const auto centerTitle = centerController_ ? centerController_->title() : std::optional<std::string>();
  if (!sameDeckTitle(title, centerTitle)) {
    pf::ViewController::setTitle(title);
    if (centerController_) centerController_->setTitle(title);
  } else if (!sameDeckTitle(this->title(), title)) {
    pf::ViewController::setTitle(title);
  }
}

bool PanelDeckController::setSlidingAndReferenceViews() {
  auto navigation = navigationController();
  if (navigation && navigationBehavior_ == DeckNavigationIntegrated) {
    auto navigationSuperview = navigation->view()->superview();
    if (!navigationSuperview) return false;
    slidingController_ = navigation;
    referenceView_ = navigationSuperview;
  } else {
    slidingController_ = centerController_;
    referenceView_ = view();
  }
  finishTransitionBlocks();
  return true;
}

void PanelDeckController::enqueueFinishTransitionBlock(FinishTransitionBlock block, const Controller& controller) {
  controller->willMoveToParentViewController(this);
  if (referenceView_) {
    block();
    return;
  }
  setPanelDeckController(*controller, self());
  if (!finishBlocks_) {
    finishBlocks_ = std::make_shared<std::vector<FinishTransitionBlock>>();
    std::weak_ptr<PanelDeckController> weak = self();
    auto handler = [weak](const std::string&) {
      if (auto deck = weak.lock()) deck->finishTransitionBlocks();
    };
    placementObservations_.clear();
    placementObservations_.push_back(pf::ChangeObservers::observe(*this, "parentViewController", handler));
    placementObservations_.push_back(pf::ChangeObservers::observe(*this, "presentingViewController", handler));
  }
  finishBlocks_->push_back(std::move(block));
}

void PanelDeckController::finishTransitionBlocks() {
  if (!parentViewController() && !presentingViewController()) return;
  if (!referenceView_ || !finishBlocks_) return;
  placementObservations_.clear();
  auto blocks = std::move(finishBlocks_);
  finishBlocks_.reset();
  for (auto& block : *blocks) block();
}

void PanelDeckController::setNavigationControllerBehavior(unsigned behavior) {
  if (viewFirstAppeared_) {
    throw pf::ContractViolation("Cannot set navigationcontroller behavior when the view deck is already showing.");
  }
  navigationBehavior_ = static_cast<DeckNavigationControllerBehavior>(behavior);
}

// --- View lifecycle ---------------------------------------------------------------------------

void PanelDeckController::loadView() {
  offset_ = 0;
  viewFirstAppeared_ = false;
  viewAppeared_ = DeckAppearanceHidden;
  auto deckView = std::make_shared<PanelDeckView>(pf::Screen::mainScreen().applicationFrame());
  if (std::dynamic_pointer_cast<pf::NavigationController>(presentingViewController())) {
    deckView->setNeedsOffsetAdjustment();
  }
  deckView->setAutoresizingMask(View::kFlexibleWidth | View::kFlexibleHeight);
  deckView->setAutoresizesSubviews(true);
  deckView->setClipsToBounds(true);
  setView(deckView);
}

void PanelDeckController::viewDidLoad() {
  pf::ViewController::viewDidLoad();
  centerView_ = std::make_shared<View>(view()->bounds());
  centerView_->setAutoresizingMask(View::kFlexibleWidth | View::kFlexibleHeight);
  centerView_->setAutoresizesSubviews(true);
  centerView_->setClipsToBounds(true);
  view()->addSubview(centerView_);
}

void PanelDeckController::viewDidLayoutSubviews() {
  pf::ViewController::viewDidLayoutSubviews();
  View* sliding = slidingControllerView();
  auto mask = sliding ? std::dynamic_pointer_cast<pf::ShapeLayer>(sliding->layer()->mask()) : nullptr;
  if (!mask || !mask->path()) return;
  if (mask->path()->boundingBox().size == sliding->layer()->bounds().size) return;
  applyCenterViewCornerRadiusAnimated(false);
  applyShadowToSlidingViewAnimated(false);
}

void PanelDeckController::viewDidUnload() {
  cleanup();
  pf::ViewController::viewDidUnload();
}

// Step A of the first appearance: the children's views go where they belong.
void PanelDeckController::arrangeViews() {
  if (centerController_) {
    auto centerControllerView = centerController_->view();
    centerControllerView->removeFromSuperview();
    centerView_->addSubview(centerControllerView);
  }
  View* sliding = slidingControllerView();
  doForControllers([this, sliding](const Controller& controller, DeckSide) {
    if (!controller) return;
    auto sideView = controller->view();
    sideView->removeFromSuperview();
    if (sliding && sliding->superview().get() == referenceView_.get()) {
      referenceView_->insertSubviewBelow(sideView, sliding);
    } else {
      referenceView_->insertSubview(sideView, 0);
    }
  });
  setSlidingFrameForOffset(offset_, offsetOrientation_, false);
  if (sliding) sliding->setHidden(false);
  centerView_->setFrame(centerViewBounds());
  if (centerController_) {
    auto centerControllerView = centerController_->view();
    centerControllerView->setAutoresizingMask(View::kFlexibleWidth | View::kFlexibleHeight);
    centerControllerView->setFrame(centerView_->bounds());
  }
  doForControllers([this](const Controller& controller, DeckSide) {
    if (!controller) return;
    auto sideView = controller->view();
    sideView->setFrame(sideViewBounds());
    sideView->setAutoresizingMask(View::kFlexibleWidth | View::kFlexibleHeight);
  });
  applyCenterViewCornerRadiusAnimated(false);
  applyShadowToSlidingViewAnimated(false);
  applyCenterViewOpacityIfNeeded();
}

void PanelDeckController::viewWillAppear(bool animated) {
  pf::ViewController::viewWillAppear(animated);
  std::weak_ptr<PanelDeckController> weak = self();
  boundsObservation_ = pf::ChangeObservers::observe(*view(), "bounds", [weak](const std::string&) {
    if (auto deck = weak.lock()) deck->viewBoundsChanged();
  });
  if (!viewFirstAppeared_) {
    viewFirstAppeared_ = true;
    auto arranged = std::make_shared<bool>(false);
    if (setSlidingAndReferenceViews()) {
      arrangeViews();
      *arranged = true;
    }
    auto deck = self();
    pf::DispatchQueue::main()->after(0.001, [deck, arranged] {
      if (!*arranged) {
        deck->setSlidingAndReferenceViews();
        deck->arrangeViews();
      }
      deck->setSlidingFrameForOffset(deck->offset_, deck->offsetOrientation_, false);
      deck->hideAppropriateSideViews();
    });
    setNeedsAddPanners();
    bool allClosed = true;
    for (unsigned side = DeckSideLeft; side <= DeckSideBottom; ++side) allClosed = allClosed && isSideClosed(side);
    if (allClosed) {
      centerViewVisible();
    } else {
      centerViewHidden();
    }
  } else if (willAppearShouldArrangeViewsAfterRotation_ != 0) {
    const auto stored = static_cast<Orientation>(willAppearShouldArrangeViewsAfterRotation_);
    willRotateToInterfaceOrientation(interfaceOrientation(), 0);
    willAnimateRotationToInterfaceOrientation(interfaceOrientation(), 0);
    didRotateFromInterfaceOrientation(stored);
  }
  if (centerController_) centerController_->beginAppearanceTransition(true, animated);
  transitionAppearanceFrom(DeckAppearanceHidden, DeckAppearanceTransitioning, animated);
  if (navigationBehavior_ == DeckNavigationIntegrated) {
    auto deck = self();
    pf::DispatchQueue::main()->after(0.010, [deck] {
      if (View* sliding = deck->slidingControllerView()) {
        Rect frame = sliding->frame();
        frame.origin = deck->willAppearOffset_;
        sliding->setFrame(frame);
      }
    });
  }
  viewAppeared_ = DeckAppearanceTransitioning;
}

void PanelDeckController::viewDidAppear(bool animated) {
  pf::ViewController::viewDidAppear(animated);
  if (centerController_) centerController_->endAppearanceTransition();
  transitionAppearanceFrom(DeckAppearanceTransitioning, DeckAppearanceShown, animated);
  viewAppeared_ = DeckAppearanceShown;
}

void PanelDeckController::viewWillDisappear(bool animated) {
  pf::ViewController::viewWillDisappear(animated);
  if (centerController_) centerController_->beginAppearanceTransition(false, animated);
  transitionAppearanceFrom(DeckAppearanceShown, DeckAppearanceTransitioning, animated);
  viewAppeared_ = DeckAppearanceTransitioning;
}

void PanelDeckController::viewDidDisappear(bool animated) {
  pf::ViewController::viewDidDisappear(animated);
  if (navigationBehavior_ == DeckNavigationIntegrated) {
    if (View* sliding = slidingControllerView()) willAppearOffset_ = sliding->frame().origin;
  }
  boundsObservation_.remove();
  if (centerController_) centerController_->endAppearanceTransition();
  transitionAppearanceFrom(DeckAppearanceTransitioning, DeckAppearanceHidden, animated);
  viewAppeared_ = DeckAppearanceHidden;
}

void PanelDeckController::didReceiveMemoryWarning() {
  pf::ViewController::didReceiveMemoryWarning();
  for (const auto& controller : {centerController_, controllers_[DeckSideLeft], controllers_[DeckSideRight]}) {
    if (controller) controller->didReceiveMemoryWarning();
  }
}

void PanelDeckController::viewBoundsChanged() {
  setSlidingFrameForOffset(offset_, offsetOrientation_, false);
  if (View* sliding = slidingControllerView()) {
    sliding->layer()->setShadowPath(std::make_shared<pf::Path>(pf::Path::withRect(referenceBounds())));
  }
  auto navigation = std::dynamic_pointer_cast<pf::NavigationController>(centerController_);
  if (navigation && !navigation->isNavigationBarHidden()) {
    navigation->setNavigationBarHidden(true, false);
    navigation->setNavigationBarHidden(false, false);
  }
}

// --- Rotation ---------------------------------------------------------------------------------

bool PanelDeckController::shouldAutorotate() {
  preRotationSize_ = referenceBounds().size;
  preRotationCenterSize_ = centerView_ ? centerView_->bounds().size : pf::Size{};
  willAppearShouldArrangeViewsAfterRotation_ = static_cast<int>(interfaceOrientation());
  relayRotationMethod([](pf::ViewController& c) { c.shouldAutorotate(); });
  return centerController_ ? centerController_->shouldAutorotate() : true;
}

bool PanelDeckController::shouldAutorotateToInterfaceOrientation(Orientation orientation) {
  preRotationSize_ = referenceBounds().size;
  preRotationCenterSize_ = centerView_ ? centerView_->bounds().size : pf::Size{};
  willAppearShouldArrangeViewsAfterRotation_ = static_cast<int>(orientation);
  relayRotationMethod([orientation](pf::ViewController& c) { c.shouldAutorotateToInterfaceOrientation(orientation); });
  return centerController_ ? centerController_->shouldAutorotateToInterfaceOrientation(orientation) : true;
}

unsigned PanelDeckController::supportedInterfaceOrientations() const {
  return centerController_ ? centerController_->supportedInterfaceOrientations()
                           : pf::ViewController::supportedInterfaceOrientations();
}

PanelDeckController::Orientation PanelDeckController::preferredInterfaceOrientationForPresentation() const {
  return centerController_ ? centerController_->preferredInterfaceOrientationForPresentation()
                           : pf::ViewController::preferredInterfaceOrientationForPresentation();
}

void PanelDeckController::willRotateToInterfaceOrientation(Orientation orientation, double duration) {
  pf::ViewController::willRotateToInterfaceOrientation(orientation, duration);
  if (preRotationSize_.width == 0) {
    preRotationSize_ = referenceBounds().size;
    preRotationCenterSize_ = centerView_ ? centerView_->bounds().size : pf::Size{};
  }
  relayRotationMethod([orientation, duration](pf::ViewController& c) {
    c.willRotateToInterfaceOrientation(orientation, duration);
  });
}

void PanelDeckController::willAnimateRotationToInterfaceOrientation(Orientation orientation, double duration) {
  pf::ViewController::willAnimateRotationToInterfaceOrientation(orientation, duration);
  arrangeViewsAfterRotation();
  relayRotationMethod([orientation, duration](pf::ViewController& c) {
    c.willAnimateRotationToInterfaceOrientation(orientation, duration);
  });
  applyCenterViewCornerRadiusAnimated(true);
  applyShadowToSlidingViewAnimated(true);
}

void PanelDeckController::didRotateFromInterfaceOrientation(Orientation from) {
  pf::ViewController::didRotateFromInterfaceOrientation(from);
  relayRotationMethod([from](pf::ViewController& c) { c.didRotateFromInterfaceOrientation(from); });
  setAccessibilityForCenterTapper();
}

void PanelDeckController::relayRotationMethod(const std::function<void(pf::ViewController& controller)>& relay) {
  if (centerController_) relay(*centerController_);
  for (unsigned side = DeckSideLeft; side <= DeckSideBottom; ++side) {
    if (controllers_[side]) relay(*controllers_[side]);
  }
}

void PanelDeckController::arrangeViewsAfterRotation() {
  willAppearShouldArrangeViewsAfterRotation_ = 0;
  const pf::Size p = preRotationSize_;
  if (p.width <= 0 || p.height <= 0) return;
  View* sliding = slidingControllerView();
  if (!sliding) return;
  const bool horizontal = offsetOrientation_ == DeckOffsetHorizontal;
  const Rect r = referenceBounds();
  double o = horizontal ? sliding->frame().origin.x : sliding->frame().origin.y;
  const double pe = horizontal ? p.width : p.height;
  const double re = horizontal ? r.size.width : r.size.height;
  if (resizesCenterView_ && o == 0) o += (horizontal ? preRotationCenterSize_.width : preRotationCenterSize_.height) - pe;
  unsigned openSide = DeckSideNone;
  if (o != 0) {
    const unsigned minSide = horizontal ? DeckSideLeft : DeckSideTop;
    const unsigned maxSide = horizontal ? DeckSideRight : DeckSideBottom;
    if (o - (pe - ledge_[minSide]) == 0) {
      openSide = minSide;
    } else if (o - (ledge_[maxSide] - pe) == 0) {
      openSide = maxSide;
    }
  }
  if (sizeMode_ != DeckSizeModeLedge) {
    if (maxLedge_ != 0) maxLedge_ = re + maxLedge_ - pe;
    setLedgeValue(ledge_[DeckSideLeft] + r.size.width - p.width, DeckSideLeft);
    setLedgeValue(ledge_[DeckSideRight] + r.size.width - p.width, DeckSideRight);
    setLedgeValue(ledge_[DeckSideTop] + r.size.height - p.height, DeckSideTop);
    setLedgeValue(ledge_[DeckSideBottom] + r.size.height - p.height, DeckSideBottom);
  } else if (o > 0) {
    o = o + re - pe;
  } else if (o < 0) {
    o = o + pe - re;
  }
  if (openSide != DeckSideNone) o = ledgeOffsetForSide(openSide);
  setSlidingFrameForOffset(o, offsetOrientation_, false);
  preRotationSize_ = {};
}

// --- Panning ----------------------------------------------------------------------------------

void PanelDeckController::setPanningMode(unsigned mode) {
  panningMode_ = static_cast<DeckPanningMode>(mode);
  if (viewFirstAppeared_) setNeedsAddPanners();
}

void PanelDeckController::setPanningView(std::shared_ptr<View> view) {
  if (view == panningView_) return;
  panningView_ = std::move(view);
  if (viewFirstAppeared_ && panningMode_ == DeckPanningPanningView) setNeedsAddPanners();
}

void PanelDeckController::setPanningCancelsTouchesInView(bool cancels) {
  panningCancelsTouchesInView_ = cancels;
  for (auto& panner : panners_) panner->setCancelsTouchesInView(cancels);
}

void PanelDeckController::addPanner(const std::shared_ptr<View>& view) {
  if (!view) return;
  auto panner = std::make_shared<pf::PanGestureRecognizer>();
  std::weak_ptr<PanelDeckController> weak = self();
  panner->addTarget(weak, [weak](pf::GestureRecognizer& recognizer) {
    if (auto deck = weak.lock()) deck->pan(static_cast<pf::PanGestureRecognizer&>(recognizer));
  });
  panner->setCancelsTouchesInView(panningCancelsTouchesInView_);
  panner->setDelegate(std::static_pointer_cast<pf::GestureRecognizerDelegate>(self()));
  view->addGestureRecognizer(panner);
  panners_.push_back(panner);
}

void PanelDeckController::addPanners() {
  removePanners();
  const auto barOf = [](const std::shared_ptr<pf::NavigationController>& navigation) -> std::shared_ptr<View> {
    if (!navigation || navigation->isNavigationBarHidden()) return nullptr;
    return navigation->navigationBar();
  };
  switch (panningMode_) {
    case DeckPanningFullView:
    case DeckPanningDelegate:
    case DeckPanningNavigationBarOrOpenCenter:
      if (View* sliding = slidingControllerView()) addPanner(sliding->sharedAs<View>());
      addPanner(centerTapper_);
      addPanner(barOf(navigationController()));
      break;
    case DeckPanningNavigationBar:
      addPanner(barOf(navigationController()));
      if (centerController_) {
        addPanner(barOf(centerController_->navigationController()));
        addPanner(barOf(std::dynamic_pointer_cast<pf::NavigationController>(centerController_)));
      }
      break;
    case DeckPanningPanningView:
      addPanner(panningView_);
      break;
    case DeckPanningAllViews:
      addPanner(view());
      break;
    default:
      break;
  }
}

void PanelDeckController::removePanners() {
  for (auto& panner : panners_) {
    if (auto view = panner->view()) view->removeGestureRecognizer(panner.get());
  }
  panners_.clear();
}

bool PanelDeckController::hasActivePanner() const {
  for (const auto& panner : panners_) {
    const auto state = panner->state();
    if (state == pf::GestureRecognizer::State::Began || state == pf::GestureRecognizer::State::Changed) return true;
  }
  return false;
}

void PanelDeckController::setNeedsAddPanners() {
  if (needsAddPannersIfAllPannersAreInactive_) return;
  if (hasActivePanner()) {
    needsAddPannersIfAllPannersAreInactive_ = true;
  } else {
    addPanners();
  }
}

void PanelDeckController::addPannersIfAllPannersAreInactiveAndNeeded() {
  if (!needsAddPannersIfAllPannersAreInactive_ || hasActivePanner()) return;
  addPanners();
  needsAddPannersIfAllPannersAreInactive_ = false;
}

std::optional<bool> PanelDeckController::shouldReceiveTouch(pf::GestureRecognizer& recognizer, pf::Touch& touch) {
  if (auto other = panningGestureDelegate_.lock()) {
    if (other->shouldReceiveTouch(recognizer, touch) == false) return false;
  }
  auto touched = touch.view();
  if (touched) {
    for (const pf::Class* cls : disabledPanClasses_) {
      if (touched->isKindOf(*cls)) return false;
    }
  }
  const bool admit = !touched || checkDelegate<bool>([this, &touched](PanelDeckControllerDelegate& d) {
    return d.shouldBeginPanOverView(*this, *touched);
  });
  if (!admit) return false;
  if (View* sliding = slidingControllerView()) panOrigin_ = sliding->frame().origin;
  return true;
}

DeckOffsetOrientation PanelDeckController::orientationOfVelocity(pf::PanGestureRecognizer& panner) const {
  const pf::Point velocity = panner.velocityInView(referenceView_.get());
  return std::fabs(velocity.x) >= std::fabs(velocity.y) ? DeckOffsetHorizontal : DeckOffsetVertical;
}

double PanelDeckController::slidingPosition(unsigned orientation) const {
  View* sliding = slidingControllerView();
  if (!sliding) return 0;
  return orientation == DeckOffsetHorizontal ? sliding->frame().origin.x : sliding->frame().origin.y;
}

std::optional<bool> PanelDeckController::gestureRecognizerShouldBegin(pf::GestureRecognizer& recognizer) {
  auto& panner = static_cast<pf::PanGestureRecognizer&>(recognizer);
  View* sliding = slidingControllerView();
  if (panningMode_ == DeckPanningNavigationBarOrOpenCenter && sliding && panner.view().get() == sliding) {
    auto navigation = std::dynamic_pointer_cast<pf::NavigationController>(centerController_);
    if (!navigation && centerController_) navigation = centerController_->navigationController();
    if (navigation) {
      auto bar = navigation->navigationBar();
      const pf::Point at = panner.locationInView(bar.get());
      if (!bar->pointInside(at, nullptr) && !isAnySideOpen()) return false;
    }
  }
  if (auto other = panningGestureDelegate_.lock()) {
    if (other->gestureRecognizerShouldBegin(recognizer) == false) return false;
  }
  const auto orientation = orientationOfVelocity(panner);
  const unsigned minSide = orientation == DeckOffsetHorizontal ? DeckSideLeft : DeckSideTop;
  const unsigned maxSide = orientation == DeckOffsetHorizontal ? DeckSideRight : DeckSideBottom;
  const double p = slidingPosition(orientation);
  if (panningMode_ == DeckPanningDelegate) {
    if (auto d = delegate_.lock(); d && d->shouldPan(*this, panner) == false) return false;
  }
  if (p != 0) return true;
  const double v = locationOfPanner(panner, orientation);
  if (v > 0 && !checkCanOpenSide(minSide)) {
    closeSideView(minSide, false, DeckCompletionBlock());
    return false;
  }
  if (v < 0 && !checkCanOpenSide(maxSide)) {
    closeSideView(maxSide, false, DeckCompletionBlock());
    return false;
  }
  return true;
}

std::optional<bool> PanelDeckController::shouldRecognizeSimultaneously(pf::GestureRecognizer& recognizer,
                                                                       pf::GestureRecognizer& other) {
  if (auto d = panningGestureDelegate_.lock()) {
    if (auto answer = d->shouldRecognizeSimultaneously(recognizer, other)) return answer;
  }
  return false;
}

double PanelDeckController::locationOfPanner(pf::PanGestureRecognizer& panner, unsigned orientation) const {
  const bool horizontal = orientation == DeckOffsetHorizontal;
  const unsigned minSide = horizontal ? DeckSideLeft : DeckSideTop;
  const unsigned maxSide = horizontal ? DeckSideRight : DeckSideBottom;
  const pf::Point t = panner.translationInView(referenceView_.get());
  double pv = horizontal ? panOrigin_.x + t.x : panOrigin_.y + t.y;
  const double w = extent(orientation);
  if (!controllers_[minSide]) pv = std::min(pv, 0.0);
  const double orig = controllers_[maxSide] ? pv : std::max(pv, 0.0);
  double v = std::min(orig, w - ledge_[minSide]);
  v = std::max(v, ledge_[maxSide] - w);
  if (elastic_) {
    float dx = static_cast<float>(std::fabs(orig) - std::fabs(v));
    if (dx > 0) {
      dx = 2 * dx / std::log(dx + 1);
      v = orig >= 0 ? v + dx : v - dx;
    }
  }
  return limitOffset(v, orientation);
}

void PanelDeckController::pan(pf::PanGestureRecognizer& panner) {
  if (!enabled_) return;
  unsigned orientation = offsetOrientation_;
  if (offset_ == 0 && panner.state() == pf::GestureRecognizer::State::Began) orientation = orientationOfVelocity(panner);
  pan(panner, orientation);
}

void PanelDeckController::pan(pf::PanGestureRecognizer& panner, unsigned orientation) {
  setParallax();
  const bool horizontal = orientation == DeckOffsetHorizontal;
  const unsigned minSide = horizontal ? DeckSideLeft : DeckSideTop;
  const unsigned maxSide = horizontal ? DeckSideRight : DeckSideBottom;
  const double cur = slidingPosition(orientation);
  const double v = locationOfPanner(panner, orientation);
  unsigned closed = DeckSideNone;
  unsigned opened = DeckSideNone;
  if (v >= 0 && cur <= 0 && cur != v) {
    if (cur < 0) {
      if (!checkCanCloseSide(maxSide, false)) return;
      notifyWillCloseSide(maxSide, false);
      closed = maxSide;
    }
    if (v > 0) {
      if (!checkCanOpenSide(minSide)) {
        closeSideView(maxSide, false, DeckCompletionBlock());
        return;
      }
      notifyWillOpenSide(minSide, false);
      opened = minSide;
    }
  } else if (v <= 0 && cur >= 0 && cur != v) {
    if (cur > 0) {
      if (!checkCanCloseSide(minSide, false)) return;
      notifyWillCloseSide(minSide, false);
      closed = minSide;
    }
    if (v < 0) {
      if (!checkCanOpenSide(maxSide)) {
        closeSideView(minSide, false, DeckCompletionBlock());
        return;
      }
      notifyWillOpenSide(maxSide, false);
      opened = maxSide;
    }
  }
  View* sliding = slidingControllerView();
  if (sliding && sliding->layer()->animationForKey(kDeckPreviewBounceKey)) {
    sliding->setFrame(sliding->layer()->presentationOrSelf()->frame());
    sliding->layer()->removeAnimationForKey(kDeckPreviewBounceKey);
    auto deck = self();
    View::animateWithDuration(0.3, 0, View::kAnimationLayoutSubviews | View::kAnimationBeginFromCurrentState,
                              [deck, v, orientation] { deck->panToSlidingFrameForOffset(v, orientation, true); });
  } else {
    panToSlidingFrameForOffset(v, orientation, false);
  }
  const auto state = panner.state();
  if (state == pf::GestureRecognizer::State::Ended || state == pf::GestureRecognizer::State::Cancelled ||
      state == pf::GestureRecognizer::State::Failed) {
    endPan(panner, v, orientation);
  } else {
    hideAppropriateSideViews();
  }
  setAccessibilityForCenterTapper();
  notifyDidCloseSide(closed, false);
  notifyDidOpenSide(opened, false);
  addPannersIfAllPannersAreInactiveAndNeeded();
}

// Where a released pan settles: a fling decides by direction, a slow release by two thirds.
void PanelDeckController::endPan(pf::PanGestureRecognizer& panner, double v, unsigned orientation) {
  if (slidingPosition(orientation) == 0) {
    centerViewVisible();
  } else {
    centerViewHidden();
  }
  const bool horizontal = orientation == DeckOffsetHorizontal;
  const unsigned minSide = horizontal ? DeckSideLeft : DeckSideTop;
  const unsigned maxSide = horizontal ? DeckSideRight : DeckSideBottom;
  const double w = extent(orientation);
  const double lmin = ledge_[minSide];
  const double lmax = ledge_[maxSide];
  const pf::Point velocity = panner.velocityInView(referenceView_.get());
  const double s = horizontal ? velocity.x : velocity.y;
  View* sliding = slidingControllerView();
  const double x = sliding ? sliding->frame().origin.x : 0;
  if (std::fabs(s) < kFlingSpeed) {
    if (v >= (w - lmin) - (w - lmin) / 3) {
      openSideView(minSide, true, DeckCompletionBlock());
    } else if (v <= (w - lmax) / 3 + lmax - w) {
      openSideView(maxSide, true, DeckCompletionBlock());
    } else {
      closeOpenView(true, DeckCompletionBlock());
    }
  } else if (s <= -kFlingSpeed) {
    const double d = std::fabs(1.25 * x / std::fabs(s));
    if (v < 0) {
      openSideView(maxSide, true, d, DeckCompletionBlock());
    } else {
      closeOpenView(true, d, DeckCompletionBlock());
    }
  } else {
    const double d = 1.25 * std::fabs((view()->frame().size.width - leftSize()) - x) / std::fabs(s);
    if (v > 0) {
      openSideView(minSide, true, d, DeckCompletionBlock());
    } else {
      closeOpenView(true, d, DeckCompletionBlock());
    }
  }
}

// --- The centre tapper, interaction and parallax -----------------------------------------------

void PanelDeckController::setCenterhiddenInteractivity(unsigned interactivity) {
  centerInteractivity_ = static_cast<DeckCenterHiddenInteractivity>(interactivity);
  bool anyOpen = false;
  for (unsigned side = DeckSideLeft; side <= DeckSideBottom; ++side) anyOpen = anyOpen || !isSideClosed(side);
  if (!anyOpen) return;
  if (interactivity != 0) {
    centerViewHidden();
  } else {
    centerViewVisible();
  }
}

void PanelDeckController::centerViewHidden() {
  if (centerInteractivity_ != DeckCenterInteractive && centerView_) {
    if (!centerTapper_) {
      centerTapper_ = pf::Button::buttonWithType(pf::Button::Type::Custom);
      centerTapper_->setAutoresizingMask(View::kFlexibleWidth | View::kFlexibleHeight);
      centerTapper_->setFrame(centerView_->bounds());
      std::weak_ptr<PanelDeckController> weak = self();
      centerTapper_->addTarget(weak, "centerTapped", [weak](pf::Control&, unsigned) {
        if (auto deck = weak.lock()) deck->centerTapped();
      }, kDeckTouchUpInside);
      centerTapper_->setBackgroundColor(pf::Color::clear());
      pf::Accessibility::setViewIsModal(*centerTapper_, true);
    }
    centerView_->addSubview(centerTapper_);
    centerTapper_->setFrame(centerView_->bounds());
    setAccessibilityForCenterTapper();
    setNeedsAddPanners();
  }
  applyShadowToSlidingViewAnimated(true);
}

void PanelDeckController::centerViewVisible() {
  if (centerTapper_) {
    centerTapper_->removeTarget(this, "centerTapped", kDeckTouchUpInside);
    centerTapper_->removeFromSuperview();
  }
  centerTapper_.reset();
  setNeedsAddPanners();
  applyShadowToSlidingViewAnimated(true);
}

void PanelDeckController::centerTapped() {
  if (centerInteractivity_ != DeckCenterTapToClose && centerInteractivity_ != DeckCenterTapToCloseBouncing) return;
  View* sliding = slidingControllerView();
  if (!sliding) return;
  const Rect f = sliding->frame();
  const bool bouncing = centerInteractivity_ == DeckCenterTapToCloseBouncing;
  unsigned side = DeckSideNone;
  if (controllers_[DeckSideLeft] && deckMinX(f) > 0) {
    side = DeckSideLeft;
  } else if (controllers_[DeckSideRight] && deckMinX(f) < 0) {
    side = DeckSideRight;
  } else if (controllers_[DeckSideBottom] && deckMinY(f) < 0) {
    side = DeckSideBottom;
  } else if (controllers_[DeckSideTop] && deckMinY(f) > 0) {
    side = DeckSideTop;
  }
  if (side == DeckSideNone) return;
  if (bouncing) {
    closeSideViewBouncing(side);
  } else {
    closeSideView(side, true, 0, DeckCompletionBlock());
  }
}

void PanelDeckController::setCenterTapperAccessibilityLabel(std::optional<std::string> label) {
  if (label == tapperLabel_) return;
  tapperLabel_ = std::move(label);
  setAccessibilityForCenterTapper();
}

void PanelDeckController::setCenterTapperAccessibilityHint(std::optional<std::string> hint) {
  if (hint == tapperHint_) return;
  tapperHint_ = std::move(hint);
  setAccessibilityForCenterTapper();
}

void PanelDeckController::setAccessibilityForCenterTapper() {
  if (!centerTapper_) return;
  pf::Accessibility::setLabel(*centerTapper_, tapperLabel_);
  pf::Accessibility::setHint(*centerTapper_, tapperHint_);
  auto window = isViewLoaded() ? view()->window() : nullptr;
  const Rect inWindow = centerTapper_->convertRectToView(centerTapper_->bounds(), nullptr);
  pf::Accessibility::setFrame(*centerTapper_, window ? window->bounds().intersection(inWindow) : inWindow);
}

void PanelDeckController::disableUserInteraction() {
  if (++disabledUserInteractions_ == 1) {
    if (auto* gate = deckView()) gate->setAllowUserInteractionEnabled(false);
  }
}

void PanelDeckController::enableUserInteraction() {
  if (disabledUserInteractions_ == 0) return;
  if (--disabledUserInteractions_ == 0) {
    if (auto* gate = deckView()) gate->setAllowUserInteractionEnabled(true);
  }
}

Rect PanelDeckController::getLeftParallax() const {
  View* sliding = slidingControllerView();
  auto left = controllers_[DeckSideLeft];
  Rect frame = left && left->isViewLoaded() ? left->view()->frame() : Rect{};
  if (!sliding) return frame;
  const Rect s = sliding->frame();
  frame.origin.x = parallaxAmount_ * std::min(0.0, s.origin.x - (s.size.width - ledge_[DeckSideLeft]));
  return frame;
}

Rect PanelDeckController::getRightParallax() const {
  View* sliding = slidingControllerView();
  auto right = controllers_[DeckSideRight];
  Rect frame = right && right->isViewLoaded() ? right->view()->frame() : Rect{};
  if (!sliding) return frame;
  const Rect s = sliding->frame();
  frame.origin.x = parallaxAmount_ * std::max(0.0, s.origin.x + (s.size.width - ledge_[DeckSideRight]));
  return frame;
}

void PanelDeckController::setParallax() {
  if (parallaxAmount_ <= 0) return;
  if (auto left = controllers_[DeckSideLeft]; left && left->isViewLoaded()) left->view()->setFrame(getLeftParallax());
  if (auto right = controllers_[DeckSideRight]; right && right->isViewLoaded()) right->view()->setFrame(getRightParallax());
}

// --- Shadow, corners and opacity ---------------------------------------------------------------

void PanelDeckController::setShadowEnabled(bool enabled, bool animated) {
  shadowEnabled_ = enabled;
  if (enabled) {
    applyShadowToSlidingViewAnimated(animated);
  } else {
    restoreShadowToSlidingView();
  }
}

void PanelDeckController::restoreShadowToSlidingView() {
  if (slidingControllerView()) shadowLayer_->removeFromSuperlayer();
}

bool PanelDeckController::currentAnimationDuration(double& duration, std::optional<pf::TimingFunction>& timing) const {
  View* sliding = slidingControllerView();
  if (!sliding) return false;
  for (const auto& key : sliding->layer()->animationKeys()) {
    if (key != "bounds") continue;
    auto basic = std::dynamic_pointer_cast<const pf::BasicAnimation>(sliding->layer()->animationForKey(key));
    if (!basic) continue;
    duration = basic->duration;
    timing = basic->timingFunction;
    return true;
  }
  return false;
}

void PanelDeckController::applyShadowToSlidingViewAnimated(bool animated) {
  View* sliding = slidingControllerView();
  if (!shadowEnabled_ || !sliding) return;
  if (auto d = delegate_.lock()) {
    if (d->applyShadow(*this, *shadowLayer_, referenceBounds())) return;
  }
  auto& layer = *sliding->layer();
  std::shared_ptr<const pf::Path> path;
  if (auto mask = std::dynamic_pointer_cast<pf::ShapeLayer>(layer.mask())) path = mask->path();
  if (!animated) {
    if (auto* parent = layer.superlayer()) parent->insertSublayerBelow(shadowLayer_, &layer);
    shadowLayer_->setFrame(layer.frame());
    shadowLayer_->setShadowPath(path);
    return;
  }
  double duration = 0;
  std::optional<pf::TimingFunction> timing;
  if (currentAnimationDuration(duration, timing) && !shadowLayer_->animationForKey("animateShadowPath")) {
    auto pathAnimation = pf::BasicAnimation::make("shadowPath");
    pathAnimation->fromValue = shadowLayer_->shadowPath();
    pathAnimation->toValue = path;
    auto boundsAnimation = pf::BasicAnimation::make("bounds");
    boundsAnimation->fromValue = shadowLayer_->bounds();
    boundsAnimation->toValue = layer.bounds();
    for (auto& animation : {pathAnimation, boundsAnimation}) {
      animation->duration = duration;
      animation->timingFunction = timing;
      animation->fillMode = pf::Animation::FillMode::Forwards;
    }
    shadowLayer_->addAnimation(pathAnimation, "animateShadowPath");
    shadowLayer_->addAnimation(boundsAnimation, "animateBounds");
  }
  if (!shadowLayer_->hasAnimations()) {
    auto fade = pf::BasicAnimation::make("shadowOpacity");
    fade->fromValue = 0.0;
    fade->duration = 1.0;
    fade->timingFunction = pf::TimingFunction::named("easeInEaseOut");
    fade->fillMode = pf::Animation::FillMode::Forwards;
    shadowLayer_->addAnimation(fade, "animateShadowOpacity");
  }
}

void PanelDeckController::setCenterViewCornerRadius(double radius) {
  cornerRadius_ = radius;
  applyCenterViewCornerRadiusAnimated(false);
}

std::shared_ptr<pf::Path> PanelDeckController::generateCenterViewCornerRadiusPath() const {
  View* sliding = slidingControllerView();
  const Rect rect = sliding ? sliding->layer()->bounds() : Rect{};
  if (cornerRadius_ == 0) return std::make_shared<pf::Path>(pf::Path::withRect(rect));
  // Corner bits: top-left 1, top-right 2, bottom-left 4, bottom-right 8.
  unsigned corners = 0;
  if (controllers_[DeckSideLeft]) corners |= 1 | 4;
  if (controllers_[DeckSideRight]) corners |= 2 | 8;
  if (controllers_[DeckSideTop]) corners |= 1 | 2;
  if (controllers_[DeckSideBottom]) corners |= 4 | 8;
  return std::make_shared<pf::Path>(pf::Path::withRoundedRect(rect, corners, {cornerRadius_, cornerRadius_}));
}

void PanelDeckController::applyCenterViewCornerRadiusAnimated(bool animated) {
  View* sliding = slidingControllerView();
  if (!sliding) return;
  auto& layer = *sliding->layer();
  std::shared_ptr<const pf::Path> path = generateCenterViewCornerRadiusPath();
  auto mask = std::dynamic_pointer_cast<pf::ShapeLayer>(layer.mask());
  if (!mask) {
    mask = pf::ShapeLayer::make();
    mask->setFillColor(pf::Color::black());
    mask->setPath(path);
    layer.setMask(mask);
  }
  const Rect pathBounds = path->isEmpty() ? Rect{} : path->boundingBox();
  if (!animated) {  // an earlier animation's held end would hide the new size
    for (const char* key : {"animateBounds", "animatePath"}) mask->removeAnimationForKey(key);
    for (const char* key : {"animatePosition", "animateBounds", "animateShadowPath"})
      shadowLayer_->removeAnimationForKey(key);
  }
  if (animated) {
    double duration = 0.3;
    std::optional<pf::TimingFunction> timing = pf::TimingFunction::named("easeInEaseOut");
    currentAnimationDuration(duration, timing);
    const auto animate = [duration, timing](pf::Layer& target, const char* keyPath, pf::AnimatableValue from,
                                            pf::AnimatableValue to, const char* key) {
      auto animation = pf::BasicAnimation::make(keyPath);
      animation->fromValue = std::move(from);
      animation->toValue = std::move(to);
      animation->duration = duration;
      animation->timingFunction = timing;
      animation->fillMode = pf::Animation::FillMode::Forwards;
      target.addAnimation(animation, key);
    };
    animate(*mask, "bounds", mask->bounds(), pathBounds, "animateBounds");
    animate(*mask, "path", mask->path(), path, "animatePath");
    animate(*shadowLayer_, "position", shadowLayer_->position(), layer.position(), "animatePosition");
    animate(*shadowLayer_, "bounds", shadowLayer_->bounds(), layer.bounds(), "animateBounds");
    animate(*shadowLayer_, "shadowPath", shadowLayer_->shadowPath(), path, "animateShadowPath");
  }
  mask->setPath(path);
  mask->setFrame(pathBounds);
  shadowLayer_->setShadowPath(path);
  shadowLayer_->setFrame(layer.frame());
}

void PanelDeckController::setCenterViewOpacity(double opacity) {
  centerViewOpacity_ = opacity;
  if (opacity < 1 && sideControllerCount() > 1) {
    pf::logf("PanelDeckController: warning: setting centerViewOpacity to value different than 1 with more than one "
             "side controller. Value will be ignored.");
    return;
  }
  applyCenterViewOpacityIfNeeded();
}

void PanelDeckController::applyCenterViewOpacityIfNeeded() {
  if (!centerController_) return;
  auto centerControllerView = centerController_->view();
  if (sideControllerCount() < 2) {
    centerControllerView->setAlpha(centerViewOpacity_);
    centerControllerView->setOpaque(false);
  } else if (centerControllerView->alpha() < 1) {
    centerControllerView->setAlpha(1.0);
    centerControllerView->setOpaque(true);
  }
}

// --- Preview bounce ---------------------------------------------------------------------------

std::optional<std::vector<double>> PanelDeckController::bouncingValuesForViewSide(unsigned side, double maximumBounce,
                                                                                  float numberOfBounces,
                                                                                  float dampingFactor,
                                                                                  double duration) const {
  if (!validDeckSide(side)) return std::nullopt;
  const int n = std::min(100, static_cast<int>(std::floor(duration * 100)));
  const float period = static_cast<float>(2 * duration / numberOfBounces);
  const float omega = 2 * std::numbers::pi_v<float> / period;
  const float zeta = std::min(std::max(dampingFactor, 0.0001f), 0.9999f);
  const float k = -zeta * omega / std::sqrt(1 - zeta * zeta);
  const float tp = 0.18f * period;
  const float amplitude = static_cast<float>(maximumBounce) / (std::exp(k * tp) * std::sin(omega * tp));
  const unsigned orientation = orientationOfSide(side);
  View* sliding = slidingControllerView();
  const pf::Point position = sliding ? sliding->layer()->position() : pf::Point{};
  const double base = orientation == DeckOffsetHorizontal ? position.x : position.y;
  const double sign = (side == DeckSideLeft || side == DeckSideTop) ? 1 : -1;
  std::vector<double> values;
  values.reserve(static_cast<size_t>(std::max(n, 0)));
  for (int i = 0; i < n; ++i) {
    // The fraction is single precision, the duration double (as the caller gave it).
    const float t = static_cast<float>(static_cast<float>(i) / static_cast<float>(n) * duration);
    const float x = amplitude * std::exp(k * t) * static_cast<float>(std::sin(static_cast<double>(omega * t)));
    const double m = std::trunc(std::fabs(x));
    values.push_back(base + sign * limitOffset(m, orientation));
  }
  return values;
}

bool PanelDeckController::previewBounceView(unsigned side, DeckCompletionBlock completion) {
  return previewBounceView(side, 40.0, 1.2, true, std::move(completion));
}

bool PanelDeckController::previewBounceView(unsigned side, double distance, double duration, bool callDelegate,
                                            DeckCompletionBlock completion) {
  return previewBounceView(side, distance, duration, 4.0f, 0.4f, callDelegate, std::move(completion));
}

bool PanelDeckController::previewBounceView(unsigned side, double distance, double duration, float numberOfBounces,
                                            float dampingFactor, bool callDelegate, DeckCompletionBlock completion) {
  auto controller = controllerForSide(side);
  if (!controller || isSideOpen(side)) return false;
  if (callDelegate) {
    const bool allowed = checkDelegate<bool>(
        [this, side](PanelDeckControllerDelegate& d) { return d.shouldPreviewBounceViewSide(*this, DeckSide(side)); });
    if (!allowed) return false;
    if (isAnySideOpen() && !toggleOpenView(true)) return false;
  }
  View* sliding = slidingControllerView();
  if (!sliding || sliding->layer()->animationForKey(kDeckPreviewBounceKey)) return false;
  auto values = bouncingValuesForViewSide(side, distance, numberOfBounces, dampingFactor, duration);
  if (!values || values->empty()) return false;
  auto shake = pf::KeyframeAnimation::make(orientationOfSide(side) == DeckOffsetHorizontal ? "position.x" : "position.y");
  shake->timingFunction = pf::TimingFunction::named("linear");
  shake->duration = duration;
  for (double value : *values) shake->values.emplace_back(value);
  shake->removedOnCompletion = true;
  controller->view()->setHidden(false);
  auto deck = self();
  pf::Transaction::begin();
  pf::Transaction::setAnimationDuration(duration);
  pf::Transaction::setCompletionBlock([deck, controller, side, callDelegate, completion] {
    if (deck->offset_ == 0) controller->view()->setHidden(true);
    if (completion) completion(*deck, true);
    if (callDelegate) {
      deck->performDelegate([&](PanelDeckControllerDelegate& d) { d.didPreviewBounceViewSide(*deck, DeckSide(side), true); });
    }
  });
  sliding->layer()->addAnimation(shake, kDeckPreviewBounceKey);
  if (callDelegate) {
    performDelegate([this, side](PanelDeckControllerDelegate& d) { d.willPreviewBounceViewSide(*this, DeckSide(side), true); });
  }
  pf::Transaction::commit();
  return true;
}
