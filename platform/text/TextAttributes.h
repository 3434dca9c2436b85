#pragma once
// The styling a stretch of attributed text carries. Absent values take the defaults when drawn: the
// system font at 12 points, black, no underline, the default paragraph style.

#include "platform/graphics/Color.h"
#include "platform/text/Font.h"
#include "platform/text/ParagraphStyle.h"

#include <memory>
#include <optional>
#include <string>

namespace pf {

// The platform's underline numbers.
enum class UnderlineStyle { none = 0, single = 1, thick = 2, doubled = 9 };

struct TextAttributes {
  std::shared_ptr<const Font> font;
  std::optional<Color> foregroundColor;
  UnderlineStyle underline = UnderlineStyle::none;
  std::optional<Color> underlineColor;
  // Positive strokes only the outline, negative fills and strokes; in percent of the font size.
  double strokeWidth = 0;
  // Extra points after each character.
  double kern = 0;
  std::optional<ParagraphStyle> paragraphStyle;
  // What a tap on this text opens; carried along, not drawn.
  std::optional<std::string> link;

  bool operator==(const TextAttributes& other) const;
};

}  // namespace pf
