#include "tools/devserver/Request.h"

#include <strings.h>

namespace devserver {

std::optional<std::string> Request::header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (key.size() == name.size() && strncasecmp(key.data(), name.data(), name.size()) == 0) return value;
  }
  return std::nullopt;
}

}  // namespace devserver
