#include "platform/ui/SegmentedControl.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Path.h"
#include "platform/text/StringDrawing.h"
#include "platform/ui/CurrentContext.h"
#include "platform/ui/SystemStyle.h"

namespace pf {

namespace {

constexpr double kHeight = 29;
constexpr double kCornerRadius = 4;

}  // namespace

SegmentedControl::SegmentedControl() : SegmentedControl(std::vector<Item>{}) {}

SegmentedControl::SegmentedControl(std::vector<Item> items) {
  setOpaque(false);
  for (Item& item : items) segments_.push_back({std::move(item), true});
  setFrame({{0, 0}, sizeThatFits({0, 0})});
}

void SegmentedControl::setSelectedSegmentIndex(long index) {
  selected_ = index >= 0 && static_cast<size_t>(index) < segments_.size() ? index : kNoSegment;
  setNeedsDisplay();
}

void SegmentedControl::setTintColor(std::optional<Color> color) {
  tint_ = color;
  setNeedsDisplay();
}

void SegmentedControl::insertSegment(Item item, size_t index, bool animated) {
  (void)animated;
  index = std::min(index, segments_.size());
  segments_.insert(segments_.begin() + static_cast<std::ptrdiff_t>(index), {std::move(item), true});
  if (selected_ >= static_cast<long>(index)) ++selected_;
  setNeedsDisplay();
}

void SegmentedControl::removeSegmentAtIndex(size_t index, bool animated) {
  (void)animated;
  if (index >= segments_.size()) return;
  segments_.erase(segments_.begin() + static_cast<std::ptrdiff_t>(index));
  if (selected_ == static_cast<long>(index)) {
    selected_ = kNoSegment;
  } else if (selected_ > static_cast<long>(index)) {
    --selected_;
  }
  setNeedsDisplay();
}

void SegmentedControl::removeAllSegments() {
  segments_.clear();
  selected_ = kNoSegment;
  setNeedsDisplay();
}

void SegmentedControl::setTitle(const std::string& title, size_t segment) {
  if (segment >= segments_.size()) return;
  segments_[segment].item = title;
  setNeedsDisplay();
}

std::optional<std::string> SegmentedControl::titleForSegmentAtIndex(size_t segment) const {
  if (segment >= segments_.size()) return std::nullopt;
  if (const auto* title = std::get_if<std::string>(&segments_[segment].item)) return *title;
  return std::nullopt;
}

void SegmentedControl::setImage(std::shared_ptr<const Image> image, size_t segment) {
  if (segment >= segments_.size()) return;
  segments_[segment].item = std::move(image);
  setNeedsDisplay();
}

void SegmentedControl::setEnabled(bool enabled, size_t segment) {
  if (segment >= segments_.size()) return;
  segments_[segment].enabled = enabled;
  setNeedsDisplay();
}

bool SegmentedControl::isEnabledForSegmentAtIndex(size_t segment) const {
  return segment < segments_.size() && segments_[segment].enabled;
}

Rect SegmentedControl::rectForSegmentAtIndex(size_t segment) const {
  if (segments_.empty()) return {};
  const Rect area = bounds();
  const double width = area.size.width / static_cast<double>(segments_.size());
  return {{area.origin.x + width * static_cast<double>(segment), area.origin.y}, {width, area.size.height}};
}

std::optional<size_t> SegmentedControl::segmentAt(Point point) const {
  for (size_t i = 0; i < segments_.size(); ++i) {
    if (rectForSegmentAtIndex(i).contains(point)) return i;
  }
  return std::nullopt;
}

bool SegmentedControl::beginTracking(Point point) {
  pressed_ = segmentAt(point);
  if (pressed_ && !segments_[*pressed_].enabled) pressed_.reset();
  setNeedsDisplay();
  return pressed_.has_value();
}

bool SegmentedControl::continueTracking(Point point) {
  if (pressed_ && segmentAt(point) != pressed_) {
    pressed_.reset();
    setNeedsDisplay();
  }
  return pressed_.has_value();
}

void SegmentedControl::endTracking(Point point) {
  const auto pressed = pressed_;
  pressed_.reset();
  setNeedsDisplay();
  if (!pressed || segmentAt(point) != pressed) return;
  auto self = sharedAs<SegmentedControl>();
  const long index = static_cast<long>(*pressed);
  if (index == selected_ && !momentary_) return;
  selected_ = index;
  sendActionsForControlEvents(kValueChanged);
  if (momentary_) selected_ = kNoSegment;
}

void SegmentedControl::cancelTracking() {
  pressed_.reset();
  setNeedsDisplay();
}

Size SegmentedControl::sizeThatFits(Size size) const {
  (void)size;
  double widest = 0;
  for (const Segment& segment : segments_) {
    if (const auto* title = std::get_if<std::string>(&segment.item)) {
      widest = std::max(widest, StringDrawing::sizeOfText(*title, *SystemStyle::controlFont()).width + 24);
    } else if (const auto& image = std::get<std::shared_ptr<const Image>>(segment.item)) {
      widest = std::max(widest, image->size().width + 24);
    }
  }
  return {std::ceil(widest * static_cast<double>(segments_.size())), kHeight};
}

void SegmentedControl::drawRect(const Rect& rect) {
  (void)rect;
  GraphicsContext* context = CurrentContext::get();
  if (!context || segments_.empty()) return;
  const Color tint = isEnabled() ? tint_.value_or(SystemStyle::tint()) : SystemStyle::disabledText();
  const Rect area = bounds().insetBy(0.5, 0.5);
  const Path outline = Path::withRoundedRect(area, kCornerRadius);
  context->saveGState();
  context->clip(outline);
  for (size_t i = 0; i < segments_.size(); ++i) {
    const Rect slot = rectForSegmentAtIndex(i);
    const bool selected = static_cast<long>(i) == selected_;
    const bool pressed = pressed_ == i;
    if (selected || pressed) {
      context->setFillColor(selected ? tint : tint.withAlpha(0.15));
      context->fillRect(slot);
    }
    Color ink = selected ? Color::white() : tint;
    if (!segments_[i].enabled) ink = ink.withAlpha(0.35);
    if (const auto* title = std::get_if<std::string>(&segments_[i].item)) {
      const auto font = SystemStyle::controlFont();
      const std::string shown = StringDrawing::truncatedText(*title, *font, slot.size.width - 8);
      const Size size = StringDrawing::sizeOfText(shown, *font);
      StringDrawing::drawText(
          *context, shown, {{slot.midX() - size.width / 2, slot.midY() - size.height / 2}, size}, *font, ink);
    } else if (const auto& image = std::get<std::shared_ptr<const Image>>(segments_[i].item)) {
      const Size size = image->size();
      image->draw(*context, Rect{{slot.midX() - size.width / 2, slot.midY() - size.height / 2}, size});
    }
    if (i > 0) {
      context->setFillColor(tint);
      context->fillRect({{std::round(slot.origin.x), slot.origin.y}, {1, slot.size.height}});
    }
  }
  context->restoreGState();
  context->setStrokeColor(tint);
  context->setLineWidth(1);
  context->strokePath(outline);
}

}  // namespace pf
