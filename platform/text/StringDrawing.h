#pragma once
// Measuring and drawing plain text in one font, as views do for labels and buttons. Wrapping modes
// wrap at the width; truncating modes wrap too and shorten the last line that fits with "…"; clip
// wraps and cuts at the height. Sizes are rounded up to whole points, so text drawn in the size
// measured for it is never cut.

#include "platform/graphics/Color.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/text/Font.h"
#include "platform/text/ParagraphStyle.h"

#include <string>
#include <string_view>

namespace pf {

class StringDrawing {
 public:
  // On one line, without limits.
  static Size sizeOfText(std::string_view text, const Font& font);
  // Within the constraints; an infinite or zero constraint is no limit.
  static Size sizeOfText(std::string_view text, const Font& font, Size constraints, LineBreakMode mode);
  // Draws from the rect's top left, wrapped at its width and cut at its height; answers the size drawn.
  static Size drawText(GraphicsContext& context, std::string_view text, const Rect& rect, const Font& font,
                       const Color& color, LineBreakMode mode = LineBreakMode::wordWrap,
                       TextAlignment alignment = TextAlignment::left);
  // The text, or its longest start followed by "…" that fits the width on one line.
  static std::string truncatedText(std::string_view text, const Font& font, double width);
};

}  // namespace pf
