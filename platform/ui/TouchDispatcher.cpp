#include "platform/ui/TouchDispatcher.h"

#include <algorithm>

#include "platform/ui/Event.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

namespace pf {

namespace {

using State = GestureRecognizer::State;

bool isRecognizing(State state) {
  return state == State::Began || state == State::Changed || state == State::Ended;
}

bool isOver(State state) {
  return state == State::Ended || state == State::Cancelled || state == State::Failed;
}

bool tracks(const Touch* touch, const TouchSet& tracked) {
  return std::any_of(tracked.begin(), tracked.end(), [&](auto& t) { return t.get() == touch; });
}

}  // namespace

TouchDispatcher& TouchDispatcher::shared() {
  static TouchDispatcher dispatcher;
  return dispatcher;
}

TouchDispatcher::Delivery& TouchDispatcher::deliveryOf(const std::shared_ptr<Touch>& touch) {
  auto& delivery = deliveries_[touch.get()];
  delivery.touch = touch;
  return delivery;
}

void TouchDispatcher::dispatch(Window& window, const Event& event) {
  auto keepWindow = window.sharedAs<Window>();
  dispatching_ = true;
  for (const auto& touch : event.allTouches()) {
    if (touch->phase() == Touch::Phase::Began && !deliveries_.contains(touch.get()))
      adopt(window, touch, event);
  }
  feedRecognizers(event);
  deliverToViews(event);
  dispatching_ = false;
  settle();
  for (auto it = deliveries_.begin(); it != deliveries_.end();) {
    const bool done = it->second.finished && !it->second.endHeld && !it->second.beganHeld;
    it = done ? deliveries_.erase(it) : std::next(it);
  }
}

void TouchDispatcher::adopt(Window& window, const std::shared_ptr<Touch>& touch, const Event& event) {
  auto hit = window.hitTest(touch->locationInView(&window), &event);
  if (!hit) hit = window.sharedAs<View>();
  touch->setView(hit);
  deliveryOf(touch);
  for (auto view = hit; view; view = view->superview()) {
    for (const auto& recognizer : view->gestureRecognizers()) {
      if (!recognizer->isEnabled() || recognizer->pending_) continue;
      if (auto delegate = recognizer->delegate()) {
        if (delegate->shouldReceiveTouch(*recognizer, *touch) == false) continue;
      }
      touch->addGestureRecognizer(recognizer);
      recognizer->touches_.push_back(touch);
      if (std::find(active_.begin(), active_.end(), recognizer) == active_.end())
        active_.push_back(recognizer);
    }
  }
}

void TouchDispatcher::feedRecognizers(const Event& event) {
  const auto recognizers = active_;
  for (const auto& recognizer : recognizers) {
    TouchSet began, moved, ended, cancelled;
    for (const auto& touch : event.allTouches()) {
      if (!tracks(touch.get(), recognizer->touches_)) continue;
      switch (touch->phase()) {
        case Touch::Phase::Began:
          began.push_back(touch);
          break;
        case Touch::Phase::Moved:
          moved.push_back(touch);
          break;
        case Touch::Phase::Ended:
          ended.push_back(touch);
          break;
        case Touch::Phase::Cancelled:
          cancelled.push_back(touch);
          break;
        case Touch::Phase::Stationary:
          break;
      }
    }
    const auto listening = [&] {
      const State s = recognizer->state();
      return recognizer->view() && recognizer->isEnabled() && !recognizer->pending_ && !isOver(s);
    };
    if (!began.empty() && listening()) recognizer->touchesBegan(began, event);
    if (!moved.empty() && listening()) recognizer->touchesMoved(moved, event);
    if (!ended.empty() && listening()) recognizer->touchesEnded(ended, event);
    if (!cancelled.empty() && listening()) recognizer->touchesCancelled(cancelled, event);
    settle();
    auto& tracked = recognizer->touches_;
    if (!tracked.empty()) recognizer->lastWindowLocation_ = recognizer->locationInView(nullptr);
    std::erase_if(tracked, [](const std::shared_ptr<Touch>& t) {
      return t->phase() == Touch::Phase::Ended || t->phase() == Touch::Phase::Cancelled;
    });
  }
}

void TouchDispatcher::recognizerChanged(GestureRecognizer&) {
  if (!dispatching_) settle();
}

void TouchDispatcher::forget(GestureRecognizer& recognizer) {
  std::erase_if(active_, [&](auto& r) { return r.get() == &recognizer; });
}

bool TouchDispatcher::mayRunTogether(GestureRecognizer& a, GestureRecognizer& b) const {
  if (auto delegate = a.delegate(); delegate && delegate->shouldRecognizeSimultaneously(a, b) == true)
    return true;
  if (auto delegate = b.delegate(); delegate && delegate->shouldRecognizeSimultaneously(b, a) == true)
    return true;
  return false;
}

bool TouchDispatcher::shareTouches(const GestureRecognizer& a, const GestureRecognizer& b) const {
  return std::any_of(a.touches_.begin(), a.touches_.end(),
                     [&](auto& touch) { return tracks(touch.get(), b.touches_); });
}

void TouchDispatcher::settle() {
  bool changed = true;
  while (changed) {
    changed = false;
    const auto recognizers = active_;
    for (const auto& recognizer : recognizers) changed = settleOne(recognizer) || changed;
  }
  releaseHeld(nullptr);
  resetFinished();
}

bool TouchDispatcher::settleOne(const std::shared_ptr<GestureRecognizer>& recognizer) {
  if (!recognizer->pending_) return false;
  const State wanted = *recognizer->pending_;
  if (wanted == State::Failed || wanted == State::Cancelled) {
    recognizer->pending_.reset();
    recognizer->state_ = wanted;
    return true;
  }
  for (const auto& weak : recognizer->failureRequirements_) {
    auto required = weak.lock();
    if (!required) continue;
    const bool tracking = std::find(active_.begin(), active_.end(), required) != active_.end();
    if (!tracking) continue;
    if (isRecognizing(required->state())) {
      recognizer->pending_.reset();
      recognizer->state_ = State::Failed;
      return true;
    }
    if (required->state() == State::Possible) return false;
  }
  recognizer->pending_.reset();
  if (auto delegate = recognizer->delegate();
      delegate && delegate->gestureRecognizerShouldBegin(*recognizer) == false) {
    recognizer->state_ = State::Failed;
    return true;
  }
  const auto others = active_;
  for (const auto& other : others) {
    if (other == recognizer || !shareTouches(*recognizer, *other)) continue;
    if ((other->state() == State::Began || other->state() == State::Changed) &&
        !mayRunTogether(*recognizer, *other)) {
      recognizer->state_ = State::Failed;
      return true;
    }
  }
  recognizer->state_ = wanted;
  for (const auto& other : others) {
    if (other == recognizer || other->state() != State::Possible || !shareTouches(*recognizer, *other))
      continue;
    if (mayRunTogether(*recognizer, *other)) continue;
    other->pending_.reset();
    other->state_ = State::Failed;
  }
  if (recognizer->cancelsTouchesInView()) cancelTouchesOf(*recognizer);
  recognizer->sendActions();
  return true;
}

void TouchDispatcher::cancelTouchesOf(GestureRecognizer& recognizer) {
  // Every touch the recogniser saw, also one already lifted whose end is held back.
  std::vector<std::shared_ptr<Touch>> touches;
  for (auto& [key, delivery] : deliveries_) {
    auto touch = delivery.touch;
    if (!touch || delivery.cancelled) continue;
    const auto& list = touch->gestureRecognizers();
    if (std::any_of(list.begin(), list.end(), [&](auto& r) { return r.lock().get() == &recognizer; }))
      touches.push_back(touch);
  }
  for (const auto& touch : touches) {
    Delivery& delivery = deliveries_[touch.get()];
    delivery.cancelled = true;
    delivery.beganHeld = delivery.endHeld = false;
    const bool open = delivery.beganSent && !delivery.finished;
    delivery.finished = true;
    if (open) send(Touch::Phase::Cancelled, touch, nullptr);
  }
}

namespace {

// Whether a recogniser attached to the touch may still take it and holds its delivery back.
bool holdsBack(const Touch& touch, bool began) {
  for (const auto& weak : touch.gestureRecognizers()) {
    auto recognizer = weak.lock();
    if (!recognizer || !recognizer->view()) continue;
    const bool delays = began ? recognizer->delaysTouchesBegan() : recognizer->delaysTouchesEnded();
    if (delays && recognizer->state() == State::Possible) return true;
  }
  return false;
}

}  // namespace

void TouchDispatcher::send(Touch::Phase phase, const std::shared_ptr<Touch>& touch, const Event* event) {
  auto view = touch->view();
  if (!view) return;
  const TouchSet touches{touch};
  switch (phase) {
    case Touch::Phase::Began:
      view->touchesBegan(touches, event);
      break;
    case Touch::Phase::Moved:
      view->touchesMoved(touches, event);
      break;
    case Touch::Phase::Ended:
      view->touchesEnded(touches, event);
      break;
    case Touch::Phase::Cancelled:
      view->touchesCancelled(touches, event);
      break;
    case Touch::Phase::Stationary:
      break;
  }
}

void TouchDispatcher::deliverToViews(const Event& event) {
  for (const auto& touch : event.allTouches()) {
    auto found = deliveries_.find(touch.get());
    if (found == deliveries_.end() || found->second.cancelled || found->second.finished) continue;
    Delivery& delivery = found->second;
    switch (touch->phase()) {
      case Touch::Phase::Began:
        if (holdsBack(*touch, true)) {
          delivery.beganHeld = true;
        } else {
          delivery.beganSent = true;
          send(Touch::Phase::Began, touch, &event);
        }
        break;
      case Touch::Phase::Moved:
        if (delivery.beganSent) send(Touch::Phase::Moved, touch, &event);
        break;
      case Touch::Phase::Ended:
        if (holdsBack(*touch, false)) {
          delivery.endHeld = true;
          break;
        }
        if (delivery.beganHeld) {
          delivery.beganHeld = false;
          delivery.beganSent = true;
          send(Touch::Phase::Began, touch, &event);
        }
        delivery.finished = true;
        if (delivery.beganSent) send(Touch::Phase::Ended, touch, &event);
        break;
      case Touch::Phase::Cancelled:
        delivery.finished = true;
        if (delivery.beganSent) send(Touch::Phase::Cancelled, touch, &event);
        break;
      case Touch::Phase::Stationary:
        break;
    }
  }
}

void TouchDispatcher::releaseHeld(const Event* event) {
  std::vector<std::shared_ptr<Touch>> touches;
  for (auto& [key, delivery] : deliveries_) {
    if (auto touch = delivery.touch; touch && (delivery.beganHeld || delivery.endHeld))
      touches.push_back(touch);
  }
  for (const auto& touch : touches) {
    auto found = deliveries_.find(touch.get());
    if (found == deliveries_.end()) continue;
    Delivery& delivery = found->second;
    if (delivery.beganHeld && !holdsBack(*touch, true)) {
      delivery.beganHeld = false;
      delivery.beganSent = true;
      send(Touch::Phase::Began, touch, event);
    }
    if (delivery.endHeld && !holdsBack(*touch, false)) {
      delivery.endHeld = false;
      delivery.finished = true;
      if (delivery.beganSent) send(Touch::Phase::Ended, touch, event);
    }
  }
  std::erase_if(deliveries_, [](auto& entry) {
    const Delivery& d = entry.second;
    return d.finished && !d.beganHeld && !d.endHeld && d.touch->phase() != Touch::Phase::Moved &&
           d.touch->phase() != Touch::Phase::Began && d.touch->phase() != Touch::Phase::Stationary;
  });
}

void TouchDispatcher::resetFinished() {
  // Not while an event is being fed: a recogniser that failed on a lifted touch would be back to
  // possible before the views get the touch's end, and would hold that end back for ever.
  if (dispatching_) return;
  const auto recognizers = active_;
  for (const auto& recognizer : recognizers) {
    if (!recognizer->view()) {
      forget(*recognizer);
      continue;
    }
    if (isOver(recognizer->state()) && recognizer->touches_.empty() && !recognizer->pending_) {
      forget(*recognizer);
      recognizer->reset();
    }
  }
}

void TouchDispatcher::reset() {
  active_.clear();
  deliveries_.clear();
  dispatching_ = false;
}

}  // namespace pf
