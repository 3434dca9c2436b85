#pragma once
// A view that turns touches into actions: it keeps a state (highlighted, disabled, selected), tracks
// one touch from down to up (noting when it leaves and comes back, with a margin of slack around the
// bounds), and sends the actions registered for each event. Event and state numbers are the
// platform's, so callers can type them in as they stand. Main thread only.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/View.h"

namespace pf {

class Control : public View {
  PF_OBJECT(Control, View)

  enum Events : unsigned {
    kTouchDown = 1 << 0,
    kTouchDownRepeat = 1 << 1,
    kTouchDragInside = 1 << 2,
    kTouchDragOutside = 1 << 3,
    kTouchDragEnter = 1 << 4,
    kTouchDragExit = 1 << 5,
    kTouchUpInside = 1 << 6,
    kTouchUpOutside = 1 << 7,
    kTouchCancel = 1 << 8,
    kValueChanged = 1 << 12,
    kEditingDidBegin = 1 << 16,
    kEditingChanged = 1 << 17,
    kEditingDidEnd = 1 << 18,
    kEditingDidEndOnExit = 1 << 19,
    kAllTouchEvents = 0x0FFF,
    kAllEditingEvents = 0x000F0000,
    kAllEvents = 0xFFFFFFFF,
  };
  enum State : unsigned { kNormal = 0, kHighlighted = 1, kDisabled = 2, kSelected = 4 };
  enum class ContentHorizontalAlignment { Center = 0, Left = 1, Right = 2, Fill = 3 };
  enum class ContentVerticalAlignment { Center = 0, Top = 1, Bottom = 2, Fill = 3 };

  // The sender and the event that triggered the action.
  using Action = std::function<void(Control& sender, unsigned event)>;

  Control();
  explicit Control(const Rect& frame);

  // Runs `action` for each of the events while the target lives. A target may register one action
  // under a name once per event: adding the same target and name again adds no second call.
  void addTarget(std::weak_ptr<void> target, const std::string& name, Action action, unsigned events);
  // An action with no target: it lives as long as the control.
  void addAction(Action action, unsigned events);
  // Removes the target's actions for the events (every target when null; every name when empty).
  void removeTarget(const void* target, const std::string& name, unsigned events);
  // The events some live action is registered for.
  unsigned allControlEvents() const;
  // Names the target registered for the event.
  std::vector<std::string> actionsForTarget(const void* target, unsigned event) const;
  // Runs, once each, the actions registered for any of the events, in registration order.
  void sendActionsForControlEvents(unsigned events);

  bool isEnabled() const { return enabled_; }
  virtual void setEnabled(bool enabled);
  bool isSelected() const { return selected_; }
  virtual void setSelected(bool selected);
  bool isHighlighted() const { return highlighted_; }
  virtual void setHighlighted(bool highlighted);
  // The State bits that hold now.
  unsigned state() const;
  bool isTracking() const { return tracking_; }
  bool isTouchInside() const { return touchInside_; }
  ContentHorizontalAlignment contentHorizontalAlignment() const { return horizontalAlignment_; }
  void setContentHorizontalAlignment(ContentHorizontalAlignment alignment);
  ContentVerticalAlignment contentVerticalAlignment() const { return verticalAlignment_; }
  void setContentVerticalAlignment(ContentVerticalAlignment alignment);

  // Tracking hooks for subclasses, in the control's bounds; continueTracking answering false ends it.
  virtual bool beginTracking(Point point);
  virtual bool continueTracking(Point point);
  virtual void endTracking(Point point);
  virtual void cancelTracking();

  void touchesBegan(const TouchSet& touches, const Event* event) override;
  void touchesMoved(const TouchSet& touches, const Event* event) override;
  void touchesEnded(const TouchSet& touches, const Event* event) override;
  void touchesCancelled(const TouchSet& touches, const Event* event) override;

  // How far outside the bounds a tracked touch still counts as inside.
  static constexpr double kTrackingSlop = 70;

 protected:
  // A change of state: redraw by default.
  virtual void stateDidChange();

 private:
  struct Registration {
    std::weak_ptr<void> target;
    const void* targetKey = nullptr;
    bool hasTarget = false;
    std::string name;
    Action action;
    unsigned events = 0;
  };
  bool isInsideForTracking(Point point) const;

  std::vector<Registration> registrations_;
  ContentHorizontalAlignment horizontalAlignment_ = ContentHorizontalAlignment::Center;
  ContentVerticalAlignment verticalAlignment_ = ContentVerticalAlignment::Center;
  bool enabled_ = true;
  bool selected_ = false;
  bool highlighted_ = false;
  bool tracking_ = false;
  bool touchInside_ = false;
};

}  // namespace pf
