#include "platform/ui/Slider.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Path.h"
#include "platform/ui/CurrentContext.h"
#include "platform/ui/SystemStyle.h"

namespace pf {

namespace {

constexpr double kThumbSide = 28;
constexpr double kTrackHeight = 2;

}  // namespace

Slider::Slider() : Slider(Rect()) {}

Slider::Slider(const Rect& frame) : Control(frame) {
  setOpaque(false);
}

void Slider::setValue(float value, bool animated) {
  (void)animated;
  const float clamped = std::clamp(value, minimum_, std::max(minimum_, maximum_));
  if (clamped == value_) return;
  value_ = clamped;
  setNeedsDisplay();
}

void Slider::setMinimumValue(float minimum) {
  minimum_ = minimum;
  if (maximum_ < minimum_) maximum_ = minimum_;
  setValue(value_);
}

void Slider::setMaximumValue(float maximum) {
  maximum_ = maximum;
  if (minimum_ > maximum_) minimum_ = maximum_;
  setValue(value_);
}

void Slider::setMinimumTrackTintColor(std::optional<Color> color) {
  minimumTint_ = color;
  setNeedsDisplay();
}

void Slider::setMaximumTrackTintColor(std::optional<Color> color) {
  maximumTint_ = color;
  setNeedsDisplay();
}

void Slider::setThumbImage(std::shared_ptr<const Image> image, unsigned state) {
  thumbImages_[state] = std::move(image);
  setNeedsDisplay();
}

void Slider::setMinimumTrackImage(std::shared_ptr<const Image> image, unsigned state) {
  minimumTrackImages_[state] = std::move(image);
  setNeedsDisplay();
}

void Slider::setMaximumTrackImage(std::shared_ptr<const Image> image, unsigned state) {
  maximumTrackImages_[state] = std::move(image);
  setNeedsDisplay();
}

std::shared_ptr<const Image> Slider::lookUp(const ImageMap& images, unsigned state) {
  if (auto it = images.find(state); it != images.end() && it->second) return it->second;
  if (auto it = images.find(kNormal); it != images.end()) return it->second;
  return nullptr;
}

std::shared_ptr<const Image> Slider::currentThumbImage() const {
  return lookUp(thumbImages_, state());
}

Size Slider::thumbSize() const {
  const auto image = currentThumbImage();
  return image ? image->size() : Size{kThumbSide, kThumbSide};
}

Rect Slider::trackRectForBounds(const Rect& bounds) const {
  const double inset = thumbSize().width / 2;
  return {{bounds.origin.x + inset, bounds.midY() - kTrackHeight / 2},
          {std::max(0.0, bounds.size.width - 2 * inset), kTrackHeight}};
}

Rect Slider::thumbRectForBounds(const Rect& bounds, const Rect& trackRect, float value) const {
  (void)bounds;
  const Size size = thumbSize();
  const double span = maximum_ > minimum_ ? (value - minimum_) / (maximum_ - minimum_) : 0;
  const double x = trackRect.origin.x + span * trackRect.size.width;
  return {{x - size.width / 2, trackRect.midY() - size.height / 2}, size};
}

void Slider::track(Point point) {
  const Rect trackRect = trackRectForBounds(bounds());
  const double span = trackRect.size.width > 0 ? (point.x - trackRect.origin.x) / trackRect.size.width : 0;
  const float before = value_;
  setValue(minimum_ + static_cast<float>(std::clamp(span, 0.0, 1.0)) * (maximum_ - minimum_));
  if (continuous_ && value_ != before) sendActionsForControlEvents(kValueChanged);
}

bool Slider::beginTracking(Point point) {
  auto self = sharedAs<Slider>();
  valueAtStart_ = value_;
  track(point);
  return true;
}

bool Slider::continueTracking(Point point) {
  auto self = sharedAs<Slider>();
  track(point);
  return true;
}

void Slider::endTracking(Point point) {
  auto self = sharedAs<Slider>();
  track(point);
  if (!continuous_ && value_ != valueAtStart_) sendActionsForControlEvents(kValueChanged);
}

Size Slider::sizeThatFits(Size size) const {
  return {size.width, std::max(thumbSize().height, 34.0)};
}

void Slider::drawRect(const Rect& rect) {
  (void)rect;
  GraphicsContext* context = CurrentContext::get();
  if (!context) return;
  const Rect trackRect = trackRectForBounds(bounds());
  const Rect thumb = thumbRectForBounds(bounds(), trackRect, value_);
  const Rect filled{trackRect.origin, {thumb.midX() - trackRect.origin.x, trackRect.size.height}};
  const Rect rest{{thumb.midX(), trackRect.origin.y},
                  {trackRect.maxX() - thumb.midX(), trackRect.size.height}};
  if (const auto image = lookUp(minimumTrackImages_, state())) {
    image->draw(*context, {{filled.origin.x, bounds().midY() - image->size().height / 2},
                           {filled.size.width, image->size().height}});
  } else {
    context->setFillColor(
        minimumTint_.value_or(isEnabled() ? SystemStyle::tint() : SystemStyle::disabledText()));
    context->fillPath(Path::withRoundedRect(filled, kTrackHeight / 2));
  }
  if (const auto image = lookUp(maximumTrackImages_, state())) {
    image->draw(*context, {{rest.origin.x, bounds().midY() - image->size().height / 2},
                           {rest.size.width, image->size().height}});
  } else {
    context->setFillColor(maximumTint_.value_or(Color::fromRgba(183 / 255.0, 183 / 255.0, 183 / 255.0)));
    context->fillPath(Path::withRoundedRect(rest, kTrackHeight / 2));
  }
  if (const auto image = currentThumbImage()) {
    image->draw(*context, thumb);
    return;
  }
  context->saveGState();
  context->setShadow({0, 2}, 3, Color::fromWhite(0, 0.25));
  context->setFillColor(Color::white());
  context->fillEllipse(thumb.insetBy(0.5, 0.5));
  context->restoreGState();
  context->setStrokeColor(Color::fromWhite(0, 0.08));
  context->setLineWidth(0.5);
  context->strokeEllipse(thumb.insetBy(0.5, 0.5));
}

}  // namespace pf
