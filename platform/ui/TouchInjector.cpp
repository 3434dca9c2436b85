#include "platform/ui/TouchInjector.h"

#include <cmath>

#include "platform/foundation/Clock.h"
#include "platform/ui/Application.h"
#include "platform/ui/Event.h"
#include "platform/ui/Touch.h"
#include "platform/ui/Window.h"

namespace pf {

namespace {

constexpr double kMultiTapInterval = 0.35;
constexpr double kMultiTapDistance = 20;

}  // namespace

int TouchInjector::tapCountAt(Point location) const {
  const bool again = lastTapTime_ >= 0 && Clock::now() - lastTapTime_ <= kMultiTapInterval &&
                     std::hypot(location.x - lastTapAt_.x, location.y - lastTapAt_.y) <= kMultiTapDistance;
  return again ? lastTapCount_ + 1 : 1;
}

void TouchInjector::press(int finger, Point location) {
  if (fingers_.contains(finger)) return;
  const int taps = tapCountAt(location);
  for (auto& [id, touch] : fingers_) touch->setPhase(Touch::Phase::Stationary, Clock::now());
  fingers_[finger] = std::make_shared<Touch>(window_, location, Clock::now(), taps);
  lastTapCount_ = taps;
  lastTapAt_ = location;
  send();
}

void TouchInjector::move(int finger, Point location) {
  moveAll({{finger, location}});
}

void TouchInjector::moveAll(const std::map<int, Point>& locations) {
  bool moved = false;
  for (auto& [id, touch] : fingers_) {
    auto to = locations.find(id);
    if (to != locations.end() && to->second != touch->windowLocation()) {
      touch->moveTo(to->second, Clock::now());
      moved = true;
    } else {
      touch->setPhase(Touch::Phase::Stationary, Clock::now());
    }
  }
  if (moved) send();
}

void TouchInjector::lift(int finger) {
  auto found = fingers_.find(finger);
  if (found == fingers_.end()) return;
  for (auto& [id, touch] : fingers_) touch->setPhase(Touch::Phase::Stationary, Clock::now());
  found->second->setPhase(Touch::Phase::Ended, Clock::now());
  lastTapTime_ = Clock::now();
  send();
  fingers_.erase(finger);
}

void TouchInjector::cancelAll() {
  if (fingers_.empty()) return;
  for (auto& [id, touch] : fingers_) touch->setPhase(Touch::Phase::Cancelled, Clock::now());
  send();
  fingers_.clear();
}

void TouchInjector::send() {
  if (Application::sharedApplication().isIgnoringInteractionEvents()) return;
  TouchSet touches;
  for (auto& [id, touch] : fingers_) touches.push_back(touch);
  const Event event(std::move(touches), Clock::now());
  auto window = window_;
  window->sendEvent(event);
}

}  // namespace pf
