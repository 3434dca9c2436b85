#include "platform/ui/Button.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/Path.h"
#include "platform/text/StringDrawing.h"
#include "platform/ui/CurrentContext.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/SystemStyle.h"

namespace pf {

namespace {

constexpr double kCornerRadius = 6;
constexpr double kSystemPadding = 8;
constexpr double kDisclosureSide = 22;

}  // namespace

std::shared_ptr<Button> Button::buttonWithType(Type type) {
  return std::make_shared<Button>(Rect(), type);
}

Button::Button() : Button(Rect(), Type::Custom) {}

Button::Button(const Rect& frame) : Button(frame, Type::Custom) {}

Button::Button(const Rect& frame, Type type)
    : Control(frame),
      type_(type),
      titleLabel_(std::make_shared<Label>()),
      imageView_(std::make_shared<ImageView>()) {
  setOpaque(false);
  titleLabel_->setFont(SystemStyle::controlFont());
  titleLabel_->setLineBreakMode(LineBreakMode::truncatingMiddle);
  if (type_ == Type::Custom) {
    titleColors_[kNormal] = Color::white();
  } else {
    titleColors_[kNormal] = SystemStyle::tint();
    titleColors_[kHighlighted] = SystemStyle::tint().withAlpha(0.3);
    titleColors_[kDisabled] = SystemStyle::disabledText();
    titleLabel_->setFont(Font::boldSystemFont(15));
  }
  if (type_ != Type::Custom && type_ != Type::RoundedRect) {
    setFrame({frame.origin,
              {std::max(frame.size.width, kDisclosureSide), std::max(frame.size.height, kDisclosureSide)}});
  }
}

template <typename T>
std::optional<T> Button::lookUp(const std::map<unsigned, T>& values, unsigned state) {
  if (auto it = values.find(state); it != values.end()) return it->second;
  if ((state & kSelected) && (state & kHighlighted)) {
    if (auto it = values.find(kSelected); it != values.end()) return it->second;
  }
  if (auto it = values.find(kNormal); it != values.end()) return it->second;
  return std::nullopt;
}

void Button::setTitle(std::optional<std::string> title, unsigned state) {
  if (title) {
    titles_[state] = std::move(*title);
  } else {
    titles_.erase(state);
  }
  refreshContent();
  setNeedsLayout();
  setNeedsDisplay();
}

void Button::setTitleColor(std::optional<Color> color, unsigned state) {
  if (color) {
    titleColors_[state] = *color;
  } else {
    titleColors_.erase(state);
  }
  refreshContent();
  setNeedsLayout();
  setNeedsDisplay();
}

void Button::setTitleShadowColor(std::optional<Color> color, unsigned state) {
  if (color) {
    titleShadowColors_[state] = *color;
  } else {
    titleShadowColors_.erase(state);
  }
  refreshContent();
  setNeedsLayout();
  setNeedsDisplay();
}

void Button::setImage(std::shared_ptr<const Image> image, unsigned state) {
  if (image) {
    images_[state] = std::move(image);
  } else {
    images_.erase(state);
  }
  refreshContent();
  setNeedsLayout();
  setNeedsDisplay();
}

void Button::setBackgroundImage(std::shared_ptr<const Image> image, unsigned state) {
  if (image) {
    backgroundImages_[state] = std::move(image);
  } else {
    backgroundImages_.erase(state);
  }
  refreshContent();
  setNeedsLayout();
  setNeedsDisplay();
}

std::optional<std::string> Button::titleForState(unsigned state) const {
  auto it = titles_.find(state);
  return it == titles_.end() ? std::nullopt : std::optional(it->second);
}

std::optional<Color> Button::titleColorForState(unsigned state) const {
  auto it = titleColors_.find(state);
  return it == titleColors_.end() ? std::nullopt : std::optional(it->second);
}

std::shared_ptr<const Image> Button::imageForState(unsigned state) const {
  auto it = images_.find(state);
  return it == images_.end() ? nullptr : it->second;
}

std::shared_ptr<const Image> Button::backgroundImageForState(unsigned state) const {
  auto it = backgroundImages_.find(state);
  return it == backgroundImages_.end() ? nullptr : it->second;
}

std::optional<std::string> Button::currentTitle() const {
  return lookUp(titles_, state());
}

std::optional<Color> Button::currentTitleColor() const {
  if (type_ != Type::Custom && !titleColors_.contains(state())) {
    // The system look follows the tint unless the caller set a colour for this very state.
    if (state() & kDisabled) return lookUp(titleColors_, kDisabled);
    if (state() & kHighlighted) return effectiveTint().withAlpha(0.3);
    if (titleColors_.at(kNormal) == SystemStyle::tint()) return effectiveTint();
  }
  return lookUp(titleColors_, state());
}

std::shared_ptr<const Image> Button::currentImage() const {
  return lookUp(images_, state()).value_or(nullptr);
}

std::shared_ptr<const Image> Button::currentBackgroundImage() const {
  return lookUp(backgroundImages_, state()).value_or(nullptr);
}

const std::shared_ptr<Label>& Button::titleLabel() {
  attachParts();
  return titleLabel_;
}

const std::shared_ptr<ImageView>& Button::imageView() {
  attachParts();
  return imageView_;
}

void Button::attachParts() {
  if (!imageView_->superview()) addSubview(imageView_);
  if (!titleLabel_->superview()) addSubview(titleLabel_);
}

void Button::setContentEdgeInsets(EdgeInsets insets) {
  contentInsets_ = insets;
  setNeedsLayout();
}

void Button::setTitleEdgeInsets(EdgeInsets insets) {
  titleInsets_ = insets;
  setNeedsLayout();
}

void Button::setImageEdgeInsets(EdgeInsets insets) {
  imageInsets_ = insets;
  setNeedsLayout();
}

void Button::setShowsTouchWhenHighlighted(bool shows) {
  showsTouchWhenHighlighted_ = shows;
  setNeedsDisplay();
}

void Button::setTintColor(std::optional<Color> color) {
  tint_ = color;
  refreshContent();
  setNeedsLayout();
  setNeedsDisplay();
}

Color Button::effectiveTint() const {
  return tint_.value_or(SystemStyle::tint());
}

Size Button::titleSize() const {
  const auto title = currentTitle();
  if (!title || title->empty()) return {0, 0};
  return StringDrawing::sizeOfText(*title, *titleLabel_->font());
}

Size Button::imageSize() const {
  const auto image = currentImage();
  return image ? image->size() : Size{0, 0};
}

Rect Button::backgroundRectForBounds(const Rect& bounds) const {
  return bounds;
}

Rect Button::contentRectForBounds(const Rect& bounds) const {
  return contentInsets_.inset(bounds);
}

Rect Button::align(Size size, const Rect& contentRect) const {
  Rect placed{contentRect.origin, size};
  switch (contentHorizontalAlignment()) {
    case ContentHorizontalAlignment::Center:
      placed.origin.x += (contentRect.size.width - size.width) / 2;
      break;
    case ContentHorizontalAlignment::Right:
      placed.origin.x += contentRect.size.width - size.width;
      break;
    case ContentHorizontalAlignment::Fill:
      placed.size.width = contentRect.size.width;
      break;
    case ContentHorizontalAlignment::Left:
      break;
  }
  switch (contentVerticalAlignment()) {
    case ContentVerticalAlignment::Center:
      placed.origin.y += (contentRect.size.height - size.height) / 2;
      break;
    case ContentVerticalAlignment::Bottom:
      placed.origin.y += contentRect.size.height - size.height;
      break;
    case ContentVerticalAlignment::Fill:
      placed.size.height = contentRect.size.height;
      break;
    case ContentVerticalAlignment::Top:
      break;
  }
  return placed;
}

Rect Button::imageRectForContentRect(const Rect& contentRect) const {
  const Size image = imageSize();
  if (image.width <= 0) return {align({0, 0}, contentRect).origin, {0, 0}};
  const Size title = titleSize();
  // Image and title sit side by side as one block; the title gives way when they do not fit.
  const double titleWidth = std::min(title.width, std::max(0.0, contentRect.size.width - image.width));
  Rect block = align({image.width + titleWidth, image.height}, contentRect);
  block.size = image;
  block.origin.y = align(image, contentRect).origin.y;
  return imageInsets_.inset(block);
}

Rect Button::titleRectForContentRect(const Rect& contentRect) const {
  const Size title = titleSize();
  const Size image = imageSize();
  const double titleWidth = std::min(title.width, std::max(0.0, contentRect.size.width - image.width));
  const Rect block = align({image.width + titleWidth, title.height}, contentRect);
  Rect placed{{block.origin.x + image.width, align(title, contentRect).origin.y}, {titleWidth, title.height}};
  if (contentHorizontalAlignment() == ContentHorizontalAlignment::Fill) {
    placed.size.width = std::max(0.0, contentRect.size.width - image.width);
  }
  return titleInsets_.inset(placed);
}

Size Button::sizeThatFits(Size size) const {
  (void)size;
  const Size title = titleSize();
  const Size image = imageSize();
  double width = title.width + image.width + contentInsets_.left + contentInsets_.right;
  double height = std::max(title.height, image.height) + contentInsets_.top + contentInsets_.bottom;
  if (type_ == Type::RoundedRect) {
    width += title.width > 0 ? 2 * kSystemPadding : 0;
    height = std::max(height, 30.0);
  }
  if (const auto background = currentBackgroundImage()) {
    width = std::max(width, background->size().width);
    height = std::max(height, background->size().height);
  }
  return {std::ceil(width), std::ceil(height)};
}

void Button::refreshContent() {
  titleLabel_->setText(currentTitle());
  if (const auto color = currentTitleColor()) titleLabel_->setTextColor(*color);
  titleLabel_->setShadowColor(lookUp(titleShadowColors_, state()));
  titleLabel_->setHidden(!currentTitle() || currentTitle()->empty());
  imageView_->setImage(currentImage());
  imageView_->setHidden(!currentImage());
  // A pressed image without its own highlighted picture darkens; a disabled one fades.
  const bool darkened = isHighlighted() && adjustsImageWhenHighlighted_ && !images_.contains(kHighlighted);
  const bool faded = !isEnabled() && adjustsImageWhenDisabled_ && !images_.contains(kDisabled);
  imageView_->setAlpha(darkened ? 0.6 : faded ? 0.4 : 1);
}

void Button::stateDidChange() {
  Control::stateDidChange();
  refreshContent();
}

void Button::layoutSubviews() {
  attachParts();
  refreshContent();
  const Rect content = contentRectForBounds(bounds());
  imageView_->setFrame(imageRectForContentRect(content));
  titleLabel_->setFrame(titleRectForContentRect(content));
}

void Button::drawSymbol(GraphicsContext& context, const Rect& area) const {
  const double side = std::min({area.size.width, area.size.height, kDisclosureSide});
  const Rect circle{{area.midX() - side / 2, area.midY() - side / 2}, {side, side}};
  Color tint = type_ == Type::InfoLight ? Color::white() : effectiveTint();
  if (isHighlighted()) tint = tint.withAlpha(0.3);
  context.setStrokeColor(tint);
  context.setLineWidth(1.5);
  context.strokeEllipse(circle.insetBy(1, 1));
  const char* mark = type_ == Type::ContactAdd ? "+" : type_ == Type::DetailDisclosure ? "›" : "i";
  const auto font = Font::boldSystemFont(side * 0.6);
  const Size size = StringDrawing::sizeOfText(mark, *font);
  StringDrawing::drawText(
      context, mark, {{circle.midX() - size.width / 2, circle.midY() - size.height / 2}, size}, *font, tint);
}

void Button::drawRect(const Rect& rect) {
  (void)rect;
  GraphicsContext* context = CurrentContext::get();
  if (!context) return;
  const Rect area = backgroundRectForBounds(bounds());
  if (const auto background = currentBackgroundImage()) {
    background->draw(*context, area);
  } else if (type_ == Type::RoundedRect && area.size.width > 0) {
    const Path outline = Path::withRoundedRect(area.insetBy(0.5, 0.5), kCornerRadius);
    const Color tint = isEnabled() ? effectiveTint() : SystemStyle::disabledText();
    context->setFillColor(isHighlighted() ? tint.withAlpha(0.15) : Color::white());
    context->fillPath(outline);
    context->setStrokeColor(tint);
    context->setLineWidth(1);
    context->strokePath(outline);
  } else if (type_ != Type::Custom) {
    drawSymbol(*context, area);
  }
  if (showsTouchWhenHighlighted_ && isHighlighted()) {
    const double side = std::min(area.size.width, area.size.height);
    const Rect glow{{area.midX() - side / 2, area.midY() - side / 2}, {side, side}};
    context->setFillColor(Color::fromWhite(1, 0.5));
    context->fillEllipse(glow);
  }
}

}  // namespace pf
