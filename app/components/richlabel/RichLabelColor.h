#pragma once
// The colour values rich-text markup carries: "#RRGGBB" text colours, platform colour names
// ("clear", "darkGray") and the link-button colours read as one hexadecimal number.

#include <array>
#include <optional>
#include <string_view>

#include "platform/graphics/Color.h"

class RichLabelColor {
 public:
  // Red, green, blue from the three hexadecimal pairs of the text (trimmed, case-blind); alpha 1.
  // Characters after the sixth are ignored; a missing or unreadable pair reads as 0.
  static std::array<double, 4> colorForHex(std::string_view hex);
  // A text or underline colour: "#…" through colorForHex, else the named colour; nothing when the
  // name is unknown (the text keeps its colour).
  static std::optional<pf::Color> textColor(std::string_view value);
  // A link button's colour: "#…" as one hexadecimal number (so "#FFF" is 0x000FFF), else a named
  // colour; white when nothing can be read.
  static pf::Color applyColorWithValue(std::string_view value);
};
