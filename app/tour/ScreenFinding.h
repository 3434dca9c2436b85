#pragma once
// One thing wrong on a screen as a person would see it: what kind, and a line saying where and what.

#include <string>

struct ScreenFinding {
  enum class Kind { ErrorBox, EmptyList, CutText, MissingPicture };

  Kind kind = Kind::ErrorBox;
  std::string what;

  // "error box", "empty list", "cut text", "missing picture".
  static std::string kindName(Kind kind);
  std::string line() const { return kindName(kind) + ": " + what; }
  bool operator==(const ScreenFinding&) const = default;
};
