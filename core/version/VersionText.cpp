#include "core/version/VersionText.h"

#include <cstddef>

namespace {

bool versionIsDigit(char c) { return c >= '0' && c <= '9'; }

// The digit run starting at pos, without leading zeros; pos moves past it.
std::string_view versionDigitRun(std::string_view text, std::size_t& pos) {
  const std::size_t start = pos;
  while (pos < text.size() && versionIsDigit(text[pos])) ++pos;
  std::string_view run = text.substr(start, pos - start);
  while (run.size() > 1 && run.front() == '0') run.remove_prefix(1);
  return run;
}

}  // namespace

int VersionText::compareVersion(std::string_view a, std::string_view b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (versionIsDigit(a[i]) && versionIsDigit(b[j])) {
      const auto x = versionDigitRun(a, i);
      const auto y = versionDigitRun(b, j);
      if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
      if (const int c = x.compare(y)) return c < 0 ? -1 : 1;
      continue;
    }
    if (a[i] != b[j]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]) ? -1 : 1;
    ++i;
    ++j;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}
