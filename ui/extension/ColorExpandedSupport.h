#pragma once
// The table of the 147 CSS colour keywords and the search in it behind ColorExpanded::colorWithName.
// Any thread.

#include <optional>
#include <string>
#include <string_view>

#include "platform/graphics/Color.h"

class ColorExpandedSupport {
 public:
  // ",aliceblue#f0f8ff,antiquewhite#faebd7,...,yellowgreen#9acd32".
  static std::string_view colorNameTable();
  // The colour of a keyword as spelt in the table; nullopt for any other text.
  static std::optional<pf::Color> searchForColorByName(const std::string& name);
};
