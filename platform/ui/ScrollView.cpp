#include "platform/ui/ScrollView.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "platform/foundation/Clock.h"
#include "platform/foundation/Timer.h"
#include "platform/ui/BasicAnimation.h"
#include "platform/ui/Layer.h"
#include "platform/ui/PanGestureRecognizer.h"
#include "platform/ui/PinchGestureRecognizer.h"
#include "platform/ui/Transaction.h"
#include "platform/ui/ViewAnimationContext.h"

namespace pf {

namespace {

// Below this speed (points per second) a deceleration ends.
constexpr double kStopSpeed = 8;
// Past an edge the content follows the finger at this fraction of its movement.
constexpr double kRubberBand = 0.5;
// Past an edge a deceleration keeps this much of its velocity per frame.
constexpr double kOvershootFriction = 0.7;
// A paging release faster than this (points per second) turns the page.
constexpr double kPageFlickSpeed = 300;

double easeOut(double t) {
  return 1 - (1 - t) * (1 - t) * (1 - t);
}

double clamp(double value, double low, double high) {
  return std::max(low, std::min(value, high));
}

// A scroll view's drag. It lets go of a drag that runs mostly along an axis the view cannot scroll,
// so a recogniser of an enclosing view (panels sliding sideways over a list) can take it.
class ScrollViewPan : public PanGestureRecognizer {
 public:
  explicit ScrollViewPan(std::function<bool(Point)> takesDrag) : takesDrag_(std::move(takesDrag)) {}

 protected:
  void touchesMoved(const TouchSet& touches, const Event& event) override {
    if (state() == State::Possible && trackedTouches().size() >= minimumNumberOfTouches()) {
      const Point t = translationInView(view().get());
      if (std::hypot(t.x, t.y) >= kHysteresis && !takesDrag_(t)) return setState(State::Failed);
    }
    PanGestureRecognizer::touchesMoved(touches, event);
  }

 private:
  std::function<bool(Point)> takesDrag_;
};

// Holds the start of a touch back from the content for a moment: a drag beginning meanwhile takes
// the touch before the content sees it; a still finger or a lift lets the content have it.
class ContentTouchDelay : public GestureRecognizer {
 public:
  ContentTouchDelay() {
    setDelaysTouchesBegan(true);
    setDelaysTouchesEnded(false);
    setCancelsTouchesInView(false);
  }

 protected:
  void touchesBegan(const TouchSet&, const Event&) override {
    if (timer_) return;
    std::weak_ptr<ContentTouchDelay> weak = sharedAs<ContentTouchDelay>();
    timer_ = Timer::scheduled(ScrollView::kContentTouchDelay, false, [weak](Timer&) {
      if (auto self = weak.lock()) self->giveUp();
    });
  }
  void touchesEnded(const TouchSet&, const Event&) override { giveUp(); }
  void reset() override {
    GestureRecognizer::reset();
    if (timer_) timer_->invalidate();
    timer_.reset();
  }

 private:
  void giveUp() {
    if (state() == State::Possible) setState(State::Failed);
  }
  std::shared_ptr<Timer> timer_;
};

}  // namespace

ScrollView::ScrollView() : ScrollView(Rect()) {}

ScrollView::ScrollView(const Rect& frame) : View(frame) {
  setClipsToBounds(true);
}

ScrollView::~ScrollView() {
  if (timer_) timer_->invalidate();
}

Point ScrollView::contentOffset() const {
  return bounds().origin;
}

void ScrollView::setContentOffset(Point offset) {
  stopMotion();
  applyOffset(offset);
}

void ScrollView::setContentOffset(Point offset, bool animated) {
  if (!animated) return setContentOffset(offset);
  stopMotion();
  startAnimation(offset, AnimationEnd::Scrolling);
}

std::optional<Point> ScrollView::animatedOffsetTarget() const {
  // A deceleration runs on the same timer but heads nowhere fixed until it springs back.
  if (!timer_ || (decelerating_ && !springing_)) return std::nullopt;
  return animationTo_;
}

void ScrollView::setContentSize(Size size) {
  contentSize_ = size;
}

void ScrollView::setContentInset(const EdgeInsets& inset) {
  contentInset_ = inset;
  // Springing back from an edge: spring to where the new inset puts that edge, or stop where the
  // content already lies inside the new limits.
  if (springing_) {
    const Point edge = clampedOffset(contentOffset());
    if (edge == animationTo_) return;
    startAnimation(edge, AnimationEnd::Deceleration);
    springing_ = true;
    return;
  }
  if (!ViewAnimationContext::isOpen() || dragging_ || decelerating_ || timer_) return;
  const Point inside = clampedOffset(contentOffset());
  if (inside != contentOffset()) applyOffset(inside);
}

Point ScrollView::minimumContentOffset() const {
  return {-contentInset_.left, -contentInset_.top};
}

Point ScrollView::maximumContentOffset() const {
  const Rect b = bounds();
  const Point low = minimumContentOffset();
  return {std::max(low.x, contentSize_.width + contentInset_.right - b.width()),
          std::max(low.y, contentSize_.height + contentInset_.bottom - b.height())};
}

Point ScrollView::clampedOffset(Point offset) const {
  const Point low = minimumContentOffset();
  const Point high = maximumContentOffset();
  return {clamp(offset.x, low.x, high.x), clamp(offset.y, low.y, high.y)};
}

void ScrollView::scrollRectToVisible(const Rect& rect, bool animated) {
  const Rect b = bounds();
  Point target = b.origin;
  if (rect.maxX() > b.maxX()) target.x = rect.maxX() - b.width();
  if (rect.minX() < target.x) target.x = rect.minX();
  if (rect.maxY() > b.maxY()) target.y = rect.maxY() - b.height();
  if (rect.minY() < target.y) target.y = rect.minY();
  target = clampedOffset(target);
  if (target == b.origin) return;
  setContentOffset(target, animated);
}

void ScrollView::setScrollEnabled(bool enabled) {
  scrollEnabled_ = enabled;
  if (pan_) pan_->setEnabled(enabled);
}

void ScrollView::setDelaysContentTouches(bool delays) {
  delaysContentTouches_ = delays;
  if (contentDelay_) contentDelay_->setEnabled(delays);
}

void ScrollView::setDecelerationRate(double rate) {
  decelerationRate_ = clamp(rate, 0.0, 0.9999);
}

const std::shared_ptr<PanGestureRecognizer>& ScrollView::panGestureRecognizer() {
  ensureRecognizers();
  return pan_;
}

const std::shared_ptr<PinchGestureRecognizer>& ScrollView::pinchGestureRecognizer() {
  ensureRecognizers();
  return pinch_;
}

void ScrollView::didMoveToWindow() {
  ensureRecognizers();
}

void ScrollView::ensureRecognizers() {
  if (pan_) return;
  pan_ = std::make_shared<ScrollViewPan>([this](Point t) {
    return std::abs(t.x) > std::abs(t.y) ? scrollsHorizontally() : scrollsVertically();
  });
  // A tap on the content ends at once; only a drag takes the touch away.
  pan_->setDelaysTouchesEnded(false);
  pan_->setEnabled(scrollEnabled_);
  pan_->setCancelsTouchesInView(canCancelContentTouches_);
  pan_->addTarget(weak_from_this(), [this](GestureRecognizer&) { handlePan(); });
  addGestureRecognizer(pan_);
  pinch_ = std::make_shared<PinchGestureRecognizer>();
  pinch_->setDelaysTouchesEnded(false);
  pinch_->addTarget(weak_from_this(), [this](GestureRecognizer&) { handlePinch(); });
  addGestureRecognizer(pinch_);
  contentDelay_ = std::make_shared<ContentTouchDelay>();
  contentDelay_->setEnabled(delaysContentTouches_);
  addGestureRecognizer(contentDelay_);
}

bool ScrollView::scrollsHorizontally() const {
  return alwaysBounceHorizontal_ ||
         contentSize_.width + contentInset_.left + contentInset_.right > bounds().width();
}

bool ScrollView::scrollsVertically() const {
  return alwaysBounceVertical_ ||
         contentSize_.height + contentInset_.top + contentInset_.bottom > bounds().height();
}

void ScrollView::handlePan() {
  using State = GestureRecognizer::State;
  switch (pan_->state()) {
    case State::Began:
      beginDragging();
      [[fallthrough]];
    case State::Changed: {
      Point t = pan_->translationInView(nullptr);
      if (directionalLock_ && lockedAxis_ == 0 && (t.x != 0 || t.y != 0)) {
        lockedAxis_ = std::abs(t.x) > std::abs(t.y) ? 1 : 2;
      }
      if (lockedAxis_ == 1 || !scrollsVertically()) t.y = 0;
      if (lockedAxis_ == 2 || !scrollsHorizontally()) t.x = 0;
      Point wanted{dragStart_.x - t.x, dragStart_.y - t.y};
      const Point inside = clampedOffset(wanted);
      if (bounces_) {
        wanted = {inside.x + (wanted.x - inside.x) * kRubberBand,
                  inside.y + (wanted.y - inside.y) * kRubberBand};
      } else {
        wanted = inside;
      }
      applyOffset(wanted);
      break;
    }
    case State::Ended: {
      Point v = pan_->velocityInView(nullptr);
      endDragging({lockedAxis_ == 2 || !scrollsHorizontally() ? 0 : -v.x,
                   lockedAxis_ == 1 || !scrollsVertically() ? 0 : -v.y});
      break;
    }
    case State::Cancelled:
    case State::Failed:
      endDragging({0, 0});
      break;
    default:
      break;
  }
}

void ScrollView::beginDragging() {
  stopMotion();
  dragStart_ = contentOffset();
  lockedAxis_ = 0;
  tracking_ = true;
  dragging_ = true;
  if (auto d = delegate()) d->scrollViewWillBeginDragging(*this);
}

void ScrollView::endDragging(Point velocity) {
  tracking_ = false;
  flingWithVelocity(velocity);
}

void ScrollView::flingWithVelocity(Point velocity) {
  auto keep = sharedAs<ScrollView>();
  const Point here = contentOffset();
  const bool outside = clampedOffset(here) != here;
  const bool moving = std::hypot(velocity.x, velocity.y) >= kStopSpeed;
  const bool paging = pagingEnabled_ && pageTarget(velocity) != here;
  const bool decelerate = moving || outside || paging;
  dragging_ = false;
  if (auto d = delegate()) d->scrollViewDidEndDragging(*this, decelerate);
  if (!decelerate) return hideIndicators();
  decelerating_ = true;
  if (auto d = delegate()) d->scrollViewWillBeginDecelerating(*this);
  if (pagingEnabled_) {
    startAnimation(pageTarget(velocity), AnimationEnd::Deceleration);
  } else {
    startDeceleration(velocity);
  }
}

Point ScrollView::pageTarget(Point velocity) const {
  const Rect b = bounds();
  auto page = [](double offset, double low, double size, double speed, double high) {
    if (size <= 0) return offset;
    double index = std::round((offset - low) / size);
    if (speed > kPageFlickSpeed) index = std::floor((offset - low) / size) + 1;
    if (speed < -kPageFlickSpeed) index = std::ceil((offset - low) / size) - 1;
    return clamp(low + index * size, low, high);
  };
  const Point low = minimumContentOffset();
  const Point high = maximumContentOffset();
  return {page(contentOffset().x, low.x, b.width(), velocity.x, high.x),
          page(contentOffset().y, low.y, b.height(), velocity.y, high.y)};
}

void ScrollView::startDeceleration(Point velocity) {
  velocity_ = velocity;
  std::weak_ptr<ScrollView> weak = sharedAs<ScrollView>();
  timer_ = Timer::scheduled(kFrameInterval, true, [weak](Timer&) {
    if (auto self = weak.lock()) self->decelerationStep();
  });
}

void ScrollView::decelerationStep() {
  const Point here = contentOffset();
  const Point inside = clampedOffset(here);
  // Inside the content the step is the exact integral of the decaying velocity over the frame, so
  // the rest point does not depend on the frame rate.
  const double keep = std::pow(decelerationRate_, kFrameInterval * 1000);
  const double travel = (1 - keep) / (-1000 * std::log(decelerationRate_));
  auto step = [&](double& v, bool outside) {
    const double moved = outside ? v * kFrameInterval : v * travel;
    v *= outside ? kOvershootFriction : keep;
    return moved;
  };
  const double dx = step(velocity_.x, here.x != inside.x);
  const double dy = step(velocity_.y, here.y != inside.y);
  Point next{here.x + dx, here.y + dy};
  const Point nextInside = clampedOffset(next);
  if (!bounces_) {
    if (nextInside.x != next.x) velocity_.x = 0;
    if (nextInside.y != next.y) velocity_.y = 0;
    next = nextInside;
  }
  applyOffset(next);
  if (std::hypot(velocity_.x, velocity_.y) >= kStopSpeed) return;
  timer_->invalidate();
  timer_.reset();
  if (nextInside != next) {
    startAnimation(nextInside, AnimationEnd::Deceleration);
    springing_ = true;
    return;
  }
  decelerating_ = false;
  hideIndicators();
  if (auto d = delegate()) d->scrollViewDidEndDecelerating(*this);
}

void ScrollView::startAnimation(Point target, AnimationEnd end) {
  springing_ = false;
  if (timer_) timer_->invalidate();
  animationFrom_ = contentOffset();
  animationTo_ = target;
  animationFromScale_ = zoomScale_;
  animationToScale_ = zoomScale_;
  animationStart_ = Clock::now();
  animationEnd_ = end;
  std::weak_ptr<ScrollView> weak = sharedAs<ScrollView>();
  timer_ = Timer::scheduled(kFrameInterval, true, [weak](Timer&) {
    if (auto self = weak.lock()) self->animationStep();
  });
}

void ScrollView::startZoomAnimation(double scale, Point target) {
  startAnimation(target, AnimationEnd::Zooming);
  animationToScale_ = scale;
}

void ScrollView::animationStep() {
  const double t = std::min(1.0, (Clock::now() - animationStart_) / kScrollAnimationDuration);
  const double k = easeOut(t);
  if (animationFromScale_ != animationToScale_) {
    applyZoom(animationFromScale_ + (animationToScale_ - animationFromScale_) * k);
  }
  const auto running = timer_;
  applyOffset({animationFrom_.x + (animationTo_.x - animationFrom_.x) * k,
               animationFrom_.y + (animationTo_.y - animationFrom_.y) * k});
  // An observer may have started another animation (a new inset moved the edge).
  if (t < 1 || timer_ != running) return;
  timer_->invalidate();
  timer_.reset();
  finishAnimation();
}

void ScrollView::finishAnimation() {
  auto keep = sharedAs<ScrollView>();
  springing_ = false;
  hideIndicators();
  auto d = delegate();
  switch (animationEnd_) {
    case AnimationEnd::Deceleration:
      decelerating_ = false;
      if (d) d->scrollViewDidEndDecelerating(*this);
      break;
    case AnimationEnd::Scrolling:
      if (d) d->scrollViewDidEndScrollingAnimation(*this);
      break;
    case AnimationEnd::ScrollToTop:
      if (d) d->scrollViewDidScrollToTop(*this);
      break;
    case AnimationEnd::Zooming:
      zoomBouncing_ = false;
      if (d) d->scrollViewDidEndZooming(*this, zoomView().get(), zoomScale_);
      break;
  }
}

void ScrollView::stopMotion() {
  if (timer_) timer_->invalidate();
  timer_.reset();
  decelerating_ = false;
  springing_ = false;
  zoomBouncing_ = false;
  if (!tracking_) hideIndicators();
}

namespace {

void collectScrollsToTop(View& view, std::vector<std::shared_ptr<ScrollView>>& found) {
  if (view.isHidden() || view.alpha() <= 0) return;
  if (auto* scroll = dynamic_cast<ScrollView*>(&view); scroll && scroll->scrollsToTop())
    found.push_back(scroll->sharedAs<ScrollView>());
  for (const auto& subview : view.subviews()) collectScrollsToTop(*subview, found);
}

}  // namespace

bool ScrollView::scrollToTopInWindow(View& window) {
  std::vector<std::shared_ptr<ScrollView>> found;
  collectScrollsToTop(window, found);
  if (found.size() != 1) return false;
  ScrollView& scroll = *found.front();
  if (auto d = scroll.delegate(); d && !d->scrollViewShouldScrollToTop(scroll)) return false;
  const Point top{scroll.contentOffset().x, scroll.minimumContentOffset().y};
  if (scroll.contentOffset() == top) return false;
  scroll.stopMotion();
  scroll.startAnimation(top, AnimationEnd::ScrollToTop);
  return true;
}

bool ScrollView::isMoving() const {
  return tracking_ || decelerating_ || zooming_ || timer_ != nullptr;
}

void ScrollView::setIndicatorStyle(IndicatorStyle style) {
  indicatorStyle_ = style;
  for (const auto* indicator : {&horizontalIndicator_, &verticalIndicator_}) {
    if (*indicator) (*indicator)->removeFromSuperlayer();
  }
  horizontalIndicator_.reset();
  verticalIndicator_.reset();
  if (indicatorsShown_) showIndicators();
}

void ScrollView::flashScrollIndicators() {
  showIndicators();
  if (!isMoving()) hideIndicators(kIndicatorFlashDuration);
}

std::shared_ptr<Layer> ScrollView::makeIndicator() const {
  auto indicator = Layer::make();
  indicator->setCornerRadius(kIndicatorThickness / 2);
  switch (indicatorStyle_) {
    case IndicatorStyle::Default:
      indicator->setBackgroundColor(Color::fromWhite(0, 0.35));
      indicator->setBorderWidth(0.5);
      indicator->setBorderColor(Color::fromWhite(1, 0.4));
      break;
    case IndicatorStyle::Black:
      indicator->setBackgroundColor(Color::fromWhite(0, 0.5));
      break;
    case IndicatorStyle::White:
      indicator->setBackgroundColor(Color::fromWhite(1, 0.6));
      break;
  }
  return indicator;
}

void ScrollView::showIndicators() {
  Transaction::begin();
  Transaction::setDisableActions(true);
  indicatorsShown_ = true;
  layoutIndicators();
  for (const auto& indicator : {horizontalIndicator_, verticalIndicator_}) {
    if (!indicator) continue;
    indicator->removeAnimationForKey("opacity");
    indicator->setOpacity(1);
  }
  raiseIndicators();
  Transaction::commit();
}

void ScrollView::raiseIndicators() {
  const auto& sublayers = layer()->sublayers();
  for (const auto& indicator : {horizontalIndicator_, verticalIndicator_}) {
    if (!indicator) continue;
    const auto it = std::find(sublayers.begin(), sublayers.end(), indicator);
    if (it == sublayers.end() || sublayers.end() - it > 2) layer()->addSublayer(indicator);
  }
}

void ScrollView::layoutSublayersOfLayer(Layer& layer) {
  View::layoutSublayersOfLayer(layer);
  // Above every subview, including ones added since they were shown.
  raiseIndicators();
}

void ScrollView::hideIndicators(double delay) {
  if (!indicatorsShown_) return;
  indicatorsShown_ = false;
  Transaction::begin();
  Transaction::setDisableActions(true);
  for (const auto& indicator : {horizontalIndicator_, verticalIndicator_}) {
    if (!indicator || indicator->opacity() == 0) continue;
    auto fade = BasicAnimation::make("opacity");
    fade->fromValue = 1.0;
    fade->toValue = 0.0;
    fade->duration = kIndicatorFadeDuration;
    fade->beginTime = Clock::now() + delay;
    fade->fillMode = Animation::FillMode::Backwards;
    indicator->setOpacity(0);
    indicator->addAnimation(fade, "opacity");
  }
  Transaction::commit();
}

void ScrollView::layoutIndicators() {
  if (!indicatorsShown_) return;
  const Rect b = bounds();
  const Point low = minimumContentOffset();
  const Point high = maximumContentOffset();
  const EdgeInsets& in = indicatorInsets_;
  const bool horizontal = showsHorizontal_ &&
                          contentSize_.width + contentInset_.left + contentInset_.right > b.width();
  const bool vertical = showsVertical_ &&
                        contentSize_.height + contentInset_.top + contentInset_.bottom > b.height();
  // Each keeps clear of the other's corner when both show.
  const double corner = horizontal && vertical ? kIndicatorThickness + kIndicatorMargin : 0;
  // Along one axis: the start and length in the bounds, shrinking while the content is pulled past an end.
  auto place = [](double offset, double low, double high, double visible, double extent, double track) {
    const double overshoot = offset < low ? low - offset : offset > high ? offset - high : 0;
    const double length =
        std::max(kIndicatorMinimumLength, std::min(track, track * visible / extent) - overshoot);
    const double progress = high > low ? clamp((offset - low) / (high - low), 0.0, 1.0) : 0;
    return std::pair{(track - length) * progress, length};
  };
  auto apply = [this](std::shared_ptr<Layer>& indicator, bool shown, const Rect& frame) {
    if (!shown) {
      if (indicator) indicator->setHidden(true);
      return;
    }
    if (!indicator) indicator = makeIndicator();
    indicator->setHidden(false);
    indicator->setFrame(frame);
  };
  {
    const double track = b.height() - in.top - in.bottom - 2 * kIndicatorMargin - corner;
    const auto [start, length] = place(b.origin.y, low.y, high.y, b.height(),
                                       contentSize_.height + contentInset_.top + contentInset_.bottom, track);
    apply(verticalIndicator_, vertical && track > 0,
          Rect(b.maxX() - in.right - kIndicatorMargin - kIndicatorThickness,
               b.minY() + in.top + kIndicatorMargin + start, kIndicatorThickness, length));
  }
  {
    const double track = b.width() - in.left - in.right - 2 * kIndicatorMargin - corner;
    const auto [start, length] = place(b.origin.x, low.x, high.x, b.width(),
                                       contentSize_.width + contentInset_.left + contentInset_.right, track);
    apply(horizontalIndicator_, horizontal && track > 0,
          Rect(b.minX() + in.left + kIndicatorMargin + start,
               b.maxY() - in.bottom - kIndicatorMargin - kIndicatorThickness, length, kIndicatorThickness));
  }
}

void ScrollView::applyOffset(Point offset) {
  Rect b = bounds();
  if (b.origin == offset) return;
  const Point old = b.origin;
  b.origin = offset;
  setBounds(b);
  offsetObservers_.notify(*this, old);
  didScroll();
  if (isMoving()) {
    showIndicators();
  } else {
    layoutIndicators();
  }
}

void ScrollView::didScroll() {
  if (auto d = delegate()) d->scrollViewDidScroll(*this);
}

std::shared_ptr<View> ScrollView::zoomView() {
  auto d = delegate();
  return d ? d->viewForZoomingInScrollView(*this) : nullptr;
}

void ScrollView::noteZoomBase(const View& view) {
  if (zoomBaseSize_.width == 0 && zoomBaseSize_.height == 0) zoomBaseSize_ = view.bounds().size;
}

void ScrollView::applyZoom(double scale) {
  auto view = zoomView();
  if (!view) return;
  noteZoomBase(*view);
  zoomScale_ = scale;
  view->setTransform(AffineTransform::makeScale(scale, scale));
  const Size size{zoomBaseSize_.width * scale, zoomBaseSize_.height * scale};
  view->setCenter({size.width / 2, size.height / 2});
  contentSize_ = size;
  if (auto d = delegate()) d->scrollViewDidZoom(*this);
}

Point ScrollView::clampedOffsetAtScale(Point offset, double scale) const {
  const Rect b = bounds();
  const Point low = minimumContentOffset();
  const Point high{
      std::max(low.x, zoomBaseSize_.width * scale + contentInset_.right - b.width()),
      std::max(low.y, zoomBaseSize_.height * scale + contentInset_.bottom - b.height())};
  return {clamp(offset.x, low.x, high.x), clamp(offset.y, low.y, high.y)};
}

Point ScrollView::offsetKeepingCenter(double scale) const {
  const Rect b = bounds();
  const Point center{b.midX() / zoomScale_, b.midY() / zoomScale_};
  return clampedOffsetAtScale({center.x * scale - b.width() / 2, center.y * scale - b.height() / 2}, scale);
}

void ScrollView::setZoomScale(double scale, bool animated) {
  auto view = zoomView();
  if (!view) return;
  noteZoomBase(*view);
  const double target = clamp(scale, minimumZoomScale_, maximumZoomScale_);
  if (!animated) {
    stopMotion();
    return zoomKeepingCenter(target);
  }
  stopMotion();
  startZoomAnimation(target, offsetKeepingCenter(target));
}

void ScrollView::zoomKeepingCenter(double scale) {
  if (!zoomView()) return;
  const Point target = offsetKeepingCenter(scale);
  applyZoom(scale);
  applyOffset(target);
}

void ScrollView::zoomToRect(const Rect& rect, bool animated) {
  auto view = zoomView();
  if (!view || rect.width() <= 0 || rect.height() <= 0) return;
  noteZoomBase(*view);
  const Rect b = bounds();
  const double scale = clamp(std::min(b.width() / rect.width(), b.height() / rect.height()),
                             minimumZoomScale_, maximumZoomScale_);
  const Point target =
      clampedOffsetAtScale({rect.midX() * scale - b.width() / 2, rect.midY() * scale - b.height() / 2}, scale);
  stopMotion();
  if (animated) return startZoomAnimation(scale, target);
  applyZoom(scale);
  applyOffset(target);
  if (auto d = delegate()) d->scrollViewDidEndZooming(*this, view.get(), zoomScale_);
}

void ScrollView::handlePinch() {
  using State = GestureRecognizer::State;
  auto view = zoomView();
  if (!view || maximumZoomScale_ <= minimumZoomScale_) return;
  switch (pinch_->state()) {
    case State::Began:
      stopMotion();
      zooming_ = true;
      pinchStartScale_ = zoomScale_;
      if (auto d = delegate()) d->scrollViewWillBeginZooming(*this, view.get());
      [[fallthrough]];
    case State::Changed: {
      double scale = pinchStartScale_ * pinch_->scale();
      // Past a limit the zoom gives way slowly, then settles back on release.
      const double low = bouncesZoom_ ? minimumZoomScale_ * 0.5 : minimumZoomScale_;
      const double high = bouncesZoom_ ? maximumZoomScale_ * 1.5 : maximumZoomScale_;
      zoomKeepingCenter(clamp(scale, low, high));
      break;
    }
    case State::Ended:
    case State::Cancelled: {
      zooming_ = false;
      // Past a limit the zoom bounces back before the delegate hears the end.
      const double settled = clamp(zoomScale_, minimumZoomScale_, maximumZoomScale_);
      if (settled != zoomScale_) {
        zoomBouncing_ = true;
        startZoomAnimation(settled, offsetKeepingCenter(settled));
        break;
      }
      hideIndicators();
      if (auto d = delegate()) d->scrollViewDidEndZooming(*this, view.get(), zoomScale_);
      break;
    }
    default:
      break;
  }
}

}  // namespace pf
