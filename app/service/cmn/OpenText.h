#pragma once
// The parameter text of a text argument that may be nil: a JSON string literal, or "null" for nil.

#include <optional>
#include <string>

#include "core/open/OpenExtension.h"

inline std::string openText(const std::optional<std::string>& text) {
  return openValue(text ? pf::Value(*text) : pf::Value());
}
