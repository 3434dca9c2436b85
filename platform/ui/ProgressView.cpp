#include "platform/ui/ProgressView.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/GraphicsContext.h"
#include "platform/ui/CurrentContext.h"
#include "platform/ui/SystemStyle.h"

namespace pf {

ProgressView::ProgressView() : ProgressView(Rect({0, 0}, {150, 2})) {}

ProgressView::ProgressView(Style style) : ProgressView() {
  style_ = style;
}

ProgressView::ProgressView(const Rect& frame) : View(frame) {
  setOpaque(false);
}

void ProgressView::setProgressViewStyle(Style style) {
  style_ = style;
  setNeedsDisplay();
}

void ProgressView::setProgress(float progress, bool animated) {
  (void)animated;
  progress_ = std::isnan(progress) ? 0.0f : std::clamp(progress, 0.0f, 1.0f);
  setNeedsDisplay();
}

void ProgressView::setProgressTintColor(std::optional<Color> color) {
  progressTint_ = color;
  setNeedsDisplay();
}

void ProgressView::setTrackTintColor(std::optional<Color> color) {
  trackTint_ = color;
  setNeedsDisplay();
}

Size ProgressView::sizeThatFits(Size size) const {
  return {size.width, 2};
}

void ProgressView::drawRect(const Rect& rect) {
  (void)rect;
  GraphicsContext* context = CurrentContext::get();
  if (!context) return;
  const Rect area = bounds();
  context->setFillColor(
      trackTint_.value_or(style_ == Style::Bar ? Color::clear() : SystemStyle::lightTrack()));
  context->fillRect(area);
  context->setFillColor(progressTint_.value_or(SystemStyle::tint()));
  context->fillRect({area.origin, {area.size.width * progress_, area.size.height}});
}

}  // namespace pf
