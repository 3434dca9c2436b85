#include "core/open/RemoteTransport.h"

#include <algorithm>
#include <cctype>

namespace {

bool sameLetters(std::string_view a, std::string_view b) {
  return std::ranges::equal(
      a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

}  // namespace

std::optional<std::string> RemoteTransport::Answer::header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (sameLetters(key, name)) return value;
  }
  return std::nullopt;
}
