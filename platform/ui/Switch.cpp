#include "platform/ui/Switch.h"

#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Path.h"
#include "platform/ui/CurrentContext.h"
#include "platform/ui/SystemStyle.h"

namespace pf {

Switch::Switch() : Switch(Rect()) {}

Switch::Switch(const Rect& frame) : Control({frame.origin, kSize}) {
  setOpaque(false);
}

void Switch::setFrame(const Rect& frame) {
  Control::setFrame({frame.origin, kSize});
}

Size Switch::sizeThatFits(Size size) const {
  (void)size;
  return kSize;
}

void Switch::setOn(bool on, bool animated) {
  (void)animated;
  if (on_ == on) return;
  on_ = on;
  setNeedsDisplay();
}

void Switch::setOnTintColor(std::optional<Color> color) {
  onTint_ = color;
  setNeedsDisplay();
}

void Switch::setThumbTintColor(std::optional<Color> color) {
  thumbTint_ = color;
  setNeedsDisplay();
}

void Switch::endTracking(Point point) {
  if (!bounds().insetBy(-kTrackingSlop, -kTrackingSlop).contains(point)) return;
  auto self = sharedAs<Switch>();
  setOn(!on_, true);
  sendActionsForControlEvents(kValueChanged);
}

void Switch::drawRect(const Rect& rect) {
  (void)rect;
  GraphicsContext* context = CurrentContext::get();
  if (!context) return;
  const Rect track = bounds().insetBy(0.5, 0.5);
  const double radius = track.size.height / 2;
  const Path outline = Path::withRoundedRect(track, radius);
  if (on_) {
    context->setFillColor(onTint_.value_or(SystemStyle::onTint()));
    context->fillPath(outline);
  } else {
    context->setFillColor(Color::white());
    context->fillPath(outline);
    context->setStrokeColor(SystemStyle::lightTrack());
    context->setLineWidth(1.5);
    context->strokePath(outline);
  }
  const double side = bounds().size.height - 3;
  const double x = on_ ? bounds().maxX() - side - 1.5 : 1.5;
  const Rect knob{{x, 1.5}, {side, side}};
  context->saveGState();
  context->setShadow({0, 2}, 3, Color::fromWhite(0, 0.3));
  context->setFillColor(thumbTint_.value_or(Color::white()));
  context->fillEllipse(knob);
  context->restoreGState();
  if (!isEnabled()) {
    context->setFillColor(Color::fromWhite(1, 0.5));
    context->fillPath(outline);
  }
}

}  // namespace pf
