#include "app/components/richlabel/RichLabelButton.h"

#include <cctype>
#include <string_view>

bool RichLabelButton::isValidUrl(const std::string& text) {
  static constexpr std::string_view kAllowed = "-._~:/?#[]@!$&'()*+,;=";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '%') {
      if (i + 2 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i + 1])) ||
          !std::isxdigit(static_cast<unsigned char>(text[i + 2])))
        return false;
      i += 2;
      continue;
    }
    if (c >= 0x80 || !(std::isalnum(c) || kAllowed.find(static_cast<char>(c)) != std::string_view::npos)) return false;
  }
  return true;
}
