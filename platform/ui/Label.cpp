#include "platform/ui/Label.h"

#include <cmath>

#include "platform/text/StringDrawing.h"
#include "platform/ui/CurrentContext.h"

namespace pf {

namespace {

constexpr double kDefaultFontSize = 17;

}  // namespace

Label::Label() : Label(Rect()) {}

Label::Label(const Rect& frame) : View(frame), font_(Font::systemFont(kDefaultFontSize)) {
  setUserInteractionEnabled(false);
  setOpaque(false);
}

void Label::setText(std::optional<std::string> text) {
  if (text_ == text) return;
  text_ = std::move(text);
  setNeedsDisplay();
}

void Label::setFont(std::shared_ptr<const Font> font) {
  font_ = font ? std::move(font) : Font::systemFont(kDefaultFontSize);
  setNeedsDisplay();
}

void Label::setTextColor(const Color& color) {
  textColor_ = color;
  setNeedsDisplay();
}

void Label::setHighlightedTextColor(std::optional<Color> color) {
  highlightedTextColor_ = color;
  setNeedsDisplay();
}

void Label::setTextAlignment(TextAlignment alignment) {
  alignment_ = alignment;
  setNeedsDisplay();
}

void Label::setLineBreakMode(LineBreakMode mode) {
  lineBreakMode_ = mode;
  setNeedsDisplay();
}

void Label::setNumberOfLines(int lines) {
  numberOfLines_ = std::max(0, lines);
  setNeedsDisplay();
}

void Label::setShadowColor(std::optional<Color> color) {
  shadowColor_ = color;
  setNeedsDisplay();
}

void Label::setShadowOffset(Size offset) {
  shadowOffset_ = offset;
  setNeedsDisplay();
}

void Label::setHighlighted(bool highlighted) {
  highlighted_ = highlighted;
  setNeedsDisplay();
}

void Label::setEnabled(bool enabled) {
  enabled_ = enabled;
  setNeedsDisplay();
}

void Label::setAdjustsFontSizeToFitWidth(bool adjusts) {
  adjustsFontSize_ = adjusts;
  setNeedsDisplay();
}

void Label::setMinimumFontSize(double size) {
  minimumFontSize_ = std::max(0.0, size);
  setNeedsDisplay();
}

double Label::linesHeight(const Font& font) const {
  return numberOfLines_ > 0 ? numberOfLines_ * std::ceil(font.lineHeight()) : 0;
}

std::shared_ptr<const Font> Label::fontForDrawing() const {
  const double width = bounds().size.width;
  if (!adjustsFontSize_ || numberOfLines_ != 1 || !text_ || width <= 0) return font_;
  std::shared_ptr<const Font> font = font_;
  const double floor = minimumFontSize_ > 0 ? minimumFontSize_ : 1;
  while (font->pointSize() > floor && StringDrawing::sizeOfText(*text_, *font).width > width) {
    font = font->withSize(std::max(floor, font->pointSize() - 1));
  }
  return font;
}

Rect Label::textRectForBounds(const Rect& bounds, int numberOfLines) const {
  if (!text_ || text_->empty()) return {bounds.origin, {0, 0}};
  const auto font = fontForDrawing();
  double height = bounds.size.height;
  if (numberOfLines > 0) height = std::min(height, numberOfLines * std::ceil(font->lineHeight()));
  const Size size = StringDrawing::sizeOfText(*text_, *font, {bounds.size.width, height}, lineBreakMode_);
  return {bounds.origin,
          {std::min(size.width, bounds.size.width), std::min(size.height, bounds.size.height)}};
}

Size Label::sizeThatFits(Size size) const {
  if (!text_ || text_->empty()) return {0, 0};
  const double width = size.width > 0 ? size.width : 0;
  const Size fitted = StringDrawing::sizeOfText(*text_, *font_, {width, linesHeight(*font_)}, lineBreakMode_);
  return fitted;
}

void Label::drawRect(const Rect& rect) {
  (void)rect;
  if (!text_ || text_->empty()) return;
  const Rect area = bounds();
  const Rect used = textRectForBounds(area, numberOfLines_);
  // Vertically centred, across the full width so the alignment has room.
  const Rect textRect{{area.origin.x, area.origin.y + std::floor((area.size.height - used.size.height) / 2)},
                      {area.size.width, used.size.height}};
  drawTextInRect(textRect);
}

void Label::drawTextInRect(const Rect& rect) {
  GraphicsContext* context = CurrentContext::get();
  if (!context || !text_) return;
  const auto font = fontForDrawing();
  Color color = highlighted_ && highlightedTextColor_ ? *highlightedTextColor_ : textColor_;
  if (!enabled_) color = color.withAlpha(color.alpha() * 0.45);
  if (shadowColor_) {
    const Rect shadowRect = rect.offsetBy(shadowOffset_.width, shadowOffset_.height);
    StringDrawing::drawText(*context, *text_, shadowRect, *font, *shadowColor_, lineBreakMode_, alignment_);
  }
  StringDrawing::drawText(*context, *text_, rect, *font, color, lineBreakMode_, alignment_);
}

}  // namespace pf
