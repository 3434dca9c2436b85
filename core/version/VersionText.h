#pragma once
// Orders version texts numerically: runs of digits compare as numbers, so "1.10" is newer than "1.9";
// other characters compare as they are. Stateless; any thread.

#include <string_view>

class VersionText {
 public:
  // Negative when a is older than b, 0 when equal, positive when newer.
  static int compareVersion(std::string_view a, std::string_view b);
  // The reverse, for sorting newest first.
  static int compareVersionDescending(std::string_view a, std::string_view b) { return compareVersion(b, a); }
};
