#include "core/version/VersionText.h"

#include <gtest/gtest.h>

// A text comparison would call 1.9 newer than 1.10 and never offer the update.
TEST(VersionTextTest, VersionsCompareNumerically) {
  struct Case {
    const char* a;
    const char* b;
    int expected;
  };
  const Case cases[] = {
      {"1.10", "1.9", 1}, {"1.9", "1.10", -1}, {"1.1", "1.1", 0},   {"1.1.1", "1.1", 1},
      {"2.0", "10.0", -1}, {"1.01", "1.1", 0}, {"", "1.0", -1},      {"1.0b", "1.0a", 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VersionText::compareVersion(c.a, c.b), c.expected) << c.a << " vs " << c.b;
    EXPECT_EQ(VersionText::compareVersionDescending(c.a, c.b), -c.expected) << c.a << " vs " << c.b;
  }
}
