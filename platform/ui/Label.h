#pragma once
// Read-only text in one font and colour: one line by default (cut by the line-break mode), or up to
// numberOfLines (0: as many as fit), centred vertically in the bounds. A one-line label may shrink
// its font to fit the width, down to a minimum size. Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "platform/graphics/Color.h"
#include "platform/text/Font.h"
#include "platform/text/ParagraphStyle.h"
#include "platform/ui/View.h"

namespace pf {

class Label : public View {
  PF_OBJECT(Label, View)

  Label();
  explicit Label(const Rect& frame);

  const std::optional<std::string>& text() const { return text_; }
  void setText(std::optional<std::string> text);
  const std::shared_ptr<const Font>& font() const { return font_; }
  // A null font restores the default (system font of 17 points).
  void setFont(std::shared_ptr<const Font> font);
  const Color& textColor() const { return textColor_; }
  void setTextColor(const Color& color);
  std::optional<Color> highlightedTextColor() const { return highlightedTextColor_; }
  void setHighlightedTextColor(std::optional<Color> color);
  TextAlignment textAlignment() const { return alignment_; }
  void setTextAlignment(TextAlignment alignment);
  LineBreakMode lineBreakMode() const { return lineBreakMode_; }
  void setLineBreakMode(LineBreakMode mode);
  int numberOfLines() const { return numberOfLines_; }
  void setNumberOfLines(int lines);
  std::optional<Color> shadowColor() const { return shadowColor_; }
  void setShadowColor(std::optional<Color> color);
  Size shadowOffset() const { return shadowOffset_; }
  void setShadowOffset(Size offset);
  bool isHighlighted() const { return highlighted_; }
  void setHighlighted(bool highlighted);
  bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled);
  bool adjustsFontSizeToFitWidth() const { return adjustsFontSize_; }
  void setAdjustsFontSizeToFitWidth(bool adjusts);
  double minimumFontSize() const { return minimumFontSize_; }
  void setMinimumFontSize(double size);

  // The font the text is drawn in at the current width (smaller than font() when shrinking to fit).
  std::shared_ptr<const Font> fontForDrawing() const;
  // Where the text lands in the bounds, given the number of lines.
  virtual Rect textRectForBounds(const Rect& bounds, int numberOfLines) const;
  Size sizeThatFits(Size size) const override;
  void drawRect(const Rect& rect) override;
  // Draws the text into the rect of the current context; subclasses may inset it.
  virtual void drawTextInRect(const Rect& rect);

 private:
  // Height limit of the lines, or 0 without one.
  double linesHeight(const Font& font) const;

  std::optional<std::string> text_;
  std::shared_ptr<const Font> font_;
  Color textColor_ = Color::black();
  std::optional<Color> highlightedTextColor_;
  std::optional<Color> shadowColor_;
  Size shadowOffset_{0, -1};
  TextAlignment alignment_ = TextAlignment::left;
  LineBreakMode lineBreakMode_ = LineBreakMode::truncatingTail;
  int numberOfLines_ = 1;
  double minimumFontSize_ = 0;
  bool adjustsFontSize_ = false;
  bool highlighted_ = false;
  bool enabled_ = true;
};

}  // namespace pf
