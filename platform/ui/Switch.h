#pragma once
// An on/off switch: a rounded track, green when on, with a white knob; a tap flips it and sends
// value changed. Its size is fixed (51 by 31). Main thread only.

#include <optional>

#include "platform/ui/Control.h"

namespace pf {

class Switch : public Control {
  PF_OBJECT(Switch, Control)

  static constexpr Size kSize{51, 31};

  Switch();
  explicit Switch(const Rect& frame);

  bool isOn() const { return on_; }
  // Set by code: no value-changed event.
  void setOn(bool on, bool animated = false);
  std::optional<Color> onTintColor() const { return onTint_; }
  void setOnTintColor(std::optional<Color> color);
  std::optional<Color> thumbTintColor() const { return thumbTint_; }
  void setThumbTintColor(std::optional<Color> color);

  void setFrame(const Rect& frame) override;
  Size sizeThatFits(Size size) const override;
  void endTracking(Point point) override;
  void drawRect(const Rect& rect) override;

 private:
  std::optional<Color> onTint_;
  std::optional<Color> thumbTint_;
  bool on_ = false;
};

}  // namespace pf
