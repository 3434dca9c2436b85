#pragma once
// The numbering a unit name from the server may start with ("12. ", "二.", "第3节："), found by a
// scanner that reads each character once: names are outside input of any length, so no matcher whose
// depth grows with the text may read them.

#include <string>

class ScoNameNumbering {
 public:
  // The name trimmed, without its leading numbering, trimmed again; broken UTF-8 reads as U+FFFD.
  static std::string withoutNumbering(const std::string& name);
};
