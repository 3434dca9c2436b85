#pragma once
// Hashes SQL texts and column names so that maps keyed by std::string can be searched with a
// std::string_view, without building a string for every lookup.

#include <functional>
#include <string_view>

struct SqlTextHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};
