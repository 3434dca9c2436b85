#include "platform/ui/Control.h"

#include <algorithm>
#include <bit>

#include "platform/ui/Touch.h"

namespace pf {

Control::Control() = default;

Control::Control(const Rect& frame) : View(frame) {}

void Control::addTarget(std::weak_ptr<void> target, const std::string& name, Action action, unsigned events) {
  const void* key = target.lock().get();
  for (Registration& existing : registrations_) {
    if (existing.hasTarget && existing.targetKey == key && existing.name == name && !name.empty() &&
        !existing.target.expired()) {
      existing.events |= events;
      return;
    }
  }
  registrations_.push_back({std::move(target), key, true, name, std::move(action), events});
}

void Control::addAction(Action action, unsigned events) {
  registrations_.push_back({{}, nullptr, false, {}, std::move(action), events});
}

void Control::removeTarget(const void* target, const std::string& name, unsigned events) {
  for (Registration& registration : registrations_) {
    if (target && registration.targetKey != target) continue;
    if (!name.empty() && registration.name != name) continue;
    registration.events &= ~events;
  }
  std::erase_if(registrations_, [](const Registration& r) { return r.events == 0; });
}

unsigned Control::allControlEvents() const {
  unsigned events = 0;
  for (const Registration& registration : registrations_) {
    if (!registration.hasTarget || !registration.target.expired()) events |= registration.events;
  }
  return events;
}

std::vector<std::string> Control::actionsForTarget(const void* target, unsigned event) const {
  std::vector<std::string> names;
  for (const Registration& registration : registrations_) {
    if (registration.targetKey == target && (registration.events & event) && !registration.target.expired()) {
      names.push_back(registration.name);
    }
  }
  return names;
}

void Control::sendActionsForControlEvents(unsigned events) {
  auto self = sharedAs<Control>();  // an action may drop the last other owner
  const std::vector<Registration> snapshot = registrations_;
  for (const Registration& registration : snapshot) {
    const unsigned matched = registration.events & events;
    if (!matched) continue;
    std::shared_ptr<void> target;
    if (registration.hasTarget) {
      target = registration.target.lock();
      if (!target) continue;
    }
    registration.action(*this, 1u << std::countr_zero(matched));
  }
}

void Control::setEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  if (!enabled) highlighted_ = false;
  stateDidChange();
}

void Control::setSelected(bool selected) {
  if (selected_ == selected) return;
  selected_ = selected;
  stateDidChange();
}

void Control::setHighlighted(bool highlighted) {
  if (highlighted_ == highlighted) return;
  highlighted_ = highlighted;
  stateDidChange();
}

unsigned Control::state() const {
  unsigned state = kNormal;
  if (highlighted_) state |= kHighlighted;
  if (!enabled_) state |= kDisabled;
  if (selected_) state |= kSelected;
  return state;
}

void Control::setContentHorizontalAlignment(ContentHorizontalAlignment alignment) {
  horizontalAlignment_ = alignment;
  setNeedsLayout();
}

void Control::setContentVerticalAlignment(ContentVerticalAlignment alignment) {
  verticalAlignment_ = alignment;
  setNeedsLayout();
}

bool Control::beginTracking(Point point) {
  (void)point;
  return true;
}

bool Control::continueTracking(Point point) {
  (void)point;
  return true;
}

void Control::endTracking(Point point) {
  (void)point;
}

void Control::cancelTracking() {}

void Control::stateDidChange() {
  setNeedsDisplay();
  setNeedsLayout();
}

bool Control::isInsideForTracking(Point point) const {
  const Rect area = bounds().insetBy(-kTrackingSlop, -kTrackingSlop);
  return area.contains(point);
}

void Control::touchesBegan(const TouchSet& touches, const Event* event) {
  (void)event;
  if (!enabled_ || touches.empty()) return;
  auto self = sharedAs<Control>();
  const Touch& touch = *touches.front();
  const Point point = touch.locationInView(this);
  touchInside_ = true;
  tracking_ = beginTracking(point);
  setHighlighted(true);
  sendActionsForControlEvents(kTouchDown);
  if (touch.tapCount() > 1) sendActionsForControlEvents(kTouchDownRepeat);
}

void Control::touchesMoved(const TouchSet& touches, const Event* event) {
  (void)event;
  if (!enabled_ || touches.empty()) return;
  auto self = sharedAs<Control>();
  const Point point = touches.front()->locationInView(this);
  const bool inside = isInsideForTracking(point);
  const bool wasInside = touchInside_;
  touchInside_ = inside;
  setHighlighted(inside);
  if (tracking_) tracking_ = continueTracking(point);
  if (inside != wasInside) sendActionsForControlEvents(inside ? kTouchDragEnter : kTouchDragExit);
  sendActionsForControlEvents(inside ? kTouchDragInside : kTouchDragOutside);
}

void Control::touchesEnded(const TouchSet& touches, const Event* event) {
  (void)event;
  if (!enabled_ || touches.empty()) return;
  auto self = sharedAs<Control>();
  const Point point = touches.front()->locationInView(this);
  const bool inside = isInsideForTracking(point);
  if (tracking_) endTracking(point);
  tracking_ = false;
  touchInside_ = inside;
  // Handlers of touch-up-inside still see the highlight, as the platform's do.
  sendActionsForControlEvents(inside ? kTouchUpInside : kTouchUpOutside);
  touchInside_ = false;
  setHighlighted(false);
}

void Control::touchesCancelled(const TouchSet& touches, const Event* event) {
  (void)touches;
  (void)event;
  if (!enabled_) return;
  auto self = sharedAs<Control>();
  if (tracking_) cancelTracking();
  tracking_ = false;
  touchInside_ = false;
  setHighlighted(false);
  sendActionsForControlEvents(kTouchCancel);
}

}  // namespace pf
