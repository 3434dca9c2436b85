#include "platform/ui/ScrollView.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/Clock.h"
#include "platform/foundation/Timer.h"
#include "platform/ui/PanGestureRecognizer.h"
#include "platform/ui/PinchGestureRecognizer.h"

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
  startAnimation(offset, false);
}

void ScrollView::setContentSize(Size size) {
  contentSize_ = size;
}

void ScrollView::setContentInset(const EdgeInsets& inset) {
  contentInset_ = inset;
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
  pan_ = std::make_shared<PanGestureRecognizer>();
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
  if (!decelerate) return;
  decelerating_ = true;
  if (auto d = delegate()) d->scrollViewWillBeginDecelerating(*this);
  if (pagingEnabled_) {
    startAnimation(pageTarget(velocity), true);
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
  if (nextInside != next) return startAnimation(nextInside, true);
  decelerating_ = false;
  if (auto d = delegate()) d->scrollViewDidEndDecelerating(*this);
}

void ScrollView::startAnimation(Point target, bool endsDeceleration) {
  if (timer_) timer_->invalidate();
  animationFrom_ = contentOffset();
  animationTo_ = target;
  animationStart_ = Clock::now();
  animationEndsDeceleration_ = endsDeceleration;
  std::weak_ptr<ScrollView> weak = sharedAs<ScrollView>();
  timer_ = Timer::scheduled(kFrameInterval, true, [weak](Timer&) {
    if (auto self = weak.lock()) self->animationStep();
  });
}

void ScrollView::animationStep() {
  const double t = std::min(1.0, (Clock::now() - animationStart_) / kScrollAnimationDuration);
  const double k = easeOut(t);
  applyOffset({animationFrom_.x + (animationTo_.x - animationFrom_.x) * k,
               animationFrom_.y + (animationTo_.y - animationFrom_.y) * k});
  if (t < 1) return;
  timer_->invalidate();
  timer_.reset();
  auto d = delegate();
  if (animationEndsDeceleration_) {
    decelerating_ = false;
    if (d) d->scrollViewDidEndDecelerating(*this);
  } else if (d) {
    d->scrollViewDidEndScrollingAnimation(*this);
  }
}

void ScrollView::stopMotion() {
  if (timer_) timer_->invalidate();
  timer_.reset();
  decelerating_ = false;
}

void ScrollView::applyOffset(Point offset) {
  Rect b = bounds();
  if (b.origin == offset) return;
  b.origin = offset;
  setBounds(b);
  didScroll();
}

void ScrollView::didScroll() {
  if (auto d = delegate()) d->scrollViewDidScroll(*this);
}

std::shared_ptr<View> ScrollView::zoomView() {
  auto d = delegate();
  return d ? d->viewForZoomingInScrollView(*this) : nullptr;
}

void ScrollView::applyZoom(double scale) {
  auto view = zoomView();
  if (!view) return;
  if (zoomBaseSize_.width == 0 && zoomBaseSize_.height == 0) zoomBaseSize_ = view->bounds().size;
  zoomScale_ = scale;
  view->setTransform(AffineTransform::makeScale(scale, scale));
  const Size size{zoomBaseSize_.width * scale, zoomBaseSize_.height * scale};
  view->setCenter({size.width / 2, size.height / 2});
  contentSize_ = size;
  if (auto d = delegate()) d->scrollViewDidZoom(*this);
}

void ScrollView::setZoomScale(double scale, bool animated) {
  (void)animated;  // the change is immediate; model values are what callers read
  zoomKeepingCenter(clamp(scale, minimumZoomScale_, maximumZoomScale_));
}

void ScrollView::zoomKeepingCenter(double scale) {
  if (!zoomView()) return;
  const Point center{bounds().midX() / zoomScale_, bounds().midY() / zoomScale_};
  applyZoom(scale);
  const Rect b = bounds();
  applyOffset(clampedOffset({center.x * zoomScale_ - b.width() / 2, center.y * zoomScale_ - b.height() / 2}));
}

void ScrollView::zoomToRect(const Rect& rect, bool animated) {
  auto view = zoomView();
  if (!view || rect.width() <= 0 || rect.height() <= 0) return;
  const Rect b = bounds();
  const double scale = clamp(std::min(b.width() / rect.width(), b.height() / rect.height()),
                             minimumZoomScale_, maximumZoomScale_);
  stopMotion();
  applyZoom(scale);
  const Point target =
      clampedOffset({rect.midX() * scale - b.width() / 2, rect.midY() * scale - b.height() / 2});
  setContentOffset(target, animated);
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
    case State::Cancelled:
      zooming_ = false;
      setZoomScale(zoomScale_);
      if (auto d = delegate()) d->scrollViewDidEndZooming(*this, view.get(), zoomScale_);
      break;
    default:
      break;
  }
}

}  // namespace pf
