#include "platform/ui/PanGestureRecognizer.h"

#include <cmath>

#include <algorithm>

#include "platform/ui/Event.h"
#include "platform/ui/Touch.h"
#include "platform/ui/View.h"

namespace pf {

namespace {

constexpr double kVelocityWindow = 0.1;

// A vector of window space in a view's space: the transform without its translation.
Point vectorInView(Point vector, const View* view) {
  if (!view) return vector;
  const Point origin = view->convertPointFromView({0, 0}, nullptr);
  const Point tip = view->convertPointFromView(vector, nullptr);
  return {tip.x - origin.x, tip.y - origin.y};
}

Point vectorFromView(Point vector, const View* view) {
  if (!view) return vector;
  const Point origin = view->convertPointToView({0, 0}, nullptr);
  const Point tip = view->convertPointToView(vector, nullptr);
  return {tip.x - origin.x, tip.y - origin.y};
}

}  // namespace

Point PanGestureRecognizer::windowTranslation() const {
  const Point here = locationInView(nullptr);
  return {here.x - origin_.x + offset_.x, here.y - origin_.y + offset_.y};
}

Point PanGestureRecognizer::translationInView(const View* view) const {
  return vectorInView(windowTranslation(), view);
}

void PanGestureRecognizer::setTranslation(Point translation, const View* view) {
  const Point inWindow = vectorFromView(translation, view);
  origin_ = locationInView(nullptr);
  offset_ = inWindow;
  samples_.clear();
}

Point PanGestureRecognizer::velocityInView(const View* view) const {
  if (samples_.size() < 2) return {0, 0};
  const Sample& first = samples_.front();
  const Sample& last = samples_.back();
  const double span = last.time - first.time;
  if (span <= 0) return {0, 0};
  return vectorInView(
      {(last.location.x - first.location.x) / span, (last.location.y - first.location.y) / span}, view);
}

void PanGestureRecognizer::rebase() {
  const Point before = samples_.empty() ? origin_ : samples_.back().location;
  const Point translation{before.x - origin_.x + offset_.x, before.y - origin_.y + offset_.y};
  samples_.clear();
  origin_ = locationInView(nullptr);
  offset_ = translation;
}

void PanGestureRecognizer::sample(double time) {
  samples_.push_back({time, locationInView(nullptr)});
  while (samples_.size() > 2 && time - samples_[1].time >= kVelocityWindow) samples_.pop_front();
}

void PanGestureRecognizer::touchesBegan(const TouchSet& touches, const Event& event) {
  if (trackedTouches().size() == touches.size()) {
    origin_ = locationInView(nullptr);
    offset_ = {0, 0};
    samples_.clear();
  } else {
    // The centroid jumps when another finger lands; keep the translation where it was.
    rebase();
  }
  if (trackedTouches().size() > maximumTouches_) {
    if (state() == State::Possible) return setState(State::Failed);
  }
  sample(event.timestamp());
}

void PanGestureRecognizer::touchesMoved(const TouchSet&, const Event& event) {
  sample(event.timestamp());
  if (state() == State::Possible) {
    if (trackedTouches().size() < minimumTouches_) return;
    const Point t = windowTranslation();
    if (std::hypot(t.x, t.y) < kHysteresis) return;
    setState(State::Began);
    return;
  }
  setState(State::Changed);
}

void PanGestureRecognizer::touchesEnded(const TouchSet& touches, const Event& event) {
  sample(event.timestamp());
  if (touches.size() < trackedTouches().size()) {
    // Some fingers stay: carry on from the remaining centroid.
    const Point translation = windowTranslation();
    TouchSet staying;
    for (const auto& t : trackedTouches()) {
      if (std::find(touches.begin(), touches.end(), t) == touches.end()) staying.push_back(t);
    }
    double x = 0, y = 0;
    for (const auto& t : staying) {
      const Point p = t->locationInView(nullptr);
      x += p.x;
      y += p.y;
    }
    origin_ = {x / staying.size(), y / staying.size()};
    offset_ = translation;
    return;
  }
  if (state() == State::Possible) {
    setState(State::Failed);
  } else {
    setState(State::Ended);
  }
}

void PanGestureRecognizer::reset() {
  GestureRecognizer::reset();
  samples_.clear();
  offset_ = {0, 0};
}

}  // namespace pf
