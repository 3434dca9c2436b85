#pragma once
// A row of a section in a table: ordered by section, then row.

#include <compare>
#include <string>

namespace pf {

struct IndexPath {
  long section = 0;
  long row = 0;

  static IndexPath forRow(long row, long section) { return {section, row}; }
  auto operator<=>(const IndexPath&) const = default;
  std::string description() const { return std::to_string(section) + "-" + std::to_string(row); }
};

}  // namespace pf
