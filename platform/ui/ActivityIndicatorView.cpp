#include "platform/ui/ActivityIndicatorView.h"

#include <cmath>
#include <numbers>

#include "platform/foundation/Timer.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Path.h"
#include "platform/ui/CurrentContext.h"

namespace pf {

namespace {

constexpr int kSpokes = 12;
constexpr double kTurnsPerSecond = 1;

double sideFor(ActivityIndicatorView::Style style) {
  return style == ActivityIndicatorView::Style::WhiteLarge ? 37 : 20;
}

}  // namespace

ActivityIndicatorView::ActivityIndicatorView() : ActivityIndicatorView(Style::WhiteLarge) {}

ActivityIndicatorView::ActivityIndicatorView(Style style)
    : ActivityIndicatorView(Rect({0, 0}, {sideFor(style), sideFor(style)})) {
  style_ = style;
}

ActivityIndicatorView::ActivityIndicatorView(const Rect& frame) : View(frame) {
  setOpaque(false);
  setUserInteractionEnabled(false);
  setHidden(true);
}

ActivityIndicatorView::~ActivityIndicatorView() {
  if (timer_) timer_->invalidate();
}

void ActivityIndicatorView::setActivityIndicatorViewStyle(Style style) {
  style_ = style;
  setNeedsDisplay();
}

void ActivityIndicatorView::setColor(std::optional<Color> color) {
  color_ = color;
  setNeedsDisplay();
}

void ActivityIndicatorView::setHidesWhenStopped(bool hides) {
  hidesWhenStopped_ = hides;
  if (!isAnimating()) setHidden(hides);
}

void ActivityIndicatorView::startAnimating() {
  setHidden(false);
  if (timer_) return;
  std::weak_ptr<ActivityIndicatorView> weak = sharedAs<ActivityIndicatorView>();
  timer_ = Timer::scheduled(1.0 / (kSpokes * kTurnsPerSecond), true, [weak](Timer&) {
    if (auto self = weak.lock()) {
      self->phase_ = (self->phase_ + 1) % kSpokes;
      self->setNeedsDisplay();
    }
  });
}

void ActivityIndicatorView::stopAnimating() {
  if (timer_) timer_->invalidate();
  timer_.reset();
  if (hidesWhenStopped_) setHidden(true);
}

Size ActivityIndicatorView::sizeThatFits(Size size) const {
  (void)size;
  return {sideFor(style_), sideFor(style_)};
}

void ActivityIndicatorView::drawRect(const Rect& rect) {
  (void)rect;
  GraphicsContext* context = CurrentContext::get();
  if (!context) return;
  const Color base = color_.value_or(style_ == Style::Gray ? Color::gray() : Color::white());
  const Rect area = bounds();
  const double radius = std::min(area.size.width, area.size.height) / 2;
  const Point center{area.midX(), area.midY()};
  context->setLineWidth(std::max(2.0, radius / 6));
  context->setLineCap(LineCap::round);
  for (int spoke = 0; spoke < kSpokes; ++spoke) {
    const double angle = 2 * std::numbers::pi * spoke / kSpokes - std::numbers::pi / 2;
    // Spokes fade behind the brightest one.
    const int behind = (phase_ - spoke + kSpokes) % kSpokes;
    context->setStrokeColor(base.withAlpha(base.alpha() * (1.0 - 0.07 * behind)));
    Path line;
    line.moveTo({center.x + std::cos(angle) * radius * 0.5, center.y + std::sin(angle) * radius * 0.5});
    line.lineTo({center.x + std::cos(angle) * radius * 0.9, center.y + std::sin(angle) * radius * 0.9});
    context->strokePath(line);
  }
}

}  // namespace pf
