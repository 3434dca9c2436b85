#include "platform/foundation/Value.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "platform/foundation/TextReading.h"

namespace {

TEST(NumberTest, KeepsTheTypeLetter) {
  const std::pair<pf::Value, char> cases[] = {
      {pf::Value(true), 'c'},
      {pf::Value(static_cast<signed char>(1)), 'c'},
      {pf::Value(static_cast<unsigned char>(1)), 'C'},
      {pf::Value(static_cast<short>(1)), 's'},
      {pf::Value(static_cast<unsigned short>(1)), 'S'},
      {pf::Value(1), 'i'},
      {pf::Value(1u), 'I'},
      {pf::Value(1L), 'l'},
      {pf::Value(1UL), 'L'},
      {pf::Value(1LL), 'q'},
      {pf::Value(1ULL), 'Q'},
      {pf::Value(1.0f), 'f'},
      {pf::Value(1.0), 'd'},
      {pf::Value(pf::Number::cppBool(true)), 'B'},
  };
  for (const auto& [value, letter] : cases) {
    ASSERT_TRUE(value.isNumber());
    EXPECT_EQ(value.number()->typeLetter(), letter);
    EXPECT_EQ(value, pf::Value(1)) << "numbers compare by value across letters";
  }
}

TEST(NumberTest, TextAndConversions) {
  EXPECT_EQ(pf::Number(0.1).stringValue(), "0.1");
  EXPECT_EQ(pf::Number(1e21).stringValue(), "1e+21");
  EXPECT_EQ(pf::Number(ULLONG_MAX).stringValue(), "18446744073709551615");
  EXPECT_EQ(pf::Number(LLONG_MIN).stringValue(), "-9223372036854775808");
  EXPECT_EQ(pf::Number(2.9).intValue(), 2);
  EXPECT_EQ(pf::Number(-2.9).longLongValue(), -2);
  EXPECT_FALSE(pf::Number(ULLONG_MAX) == pf::Number(-1LL));
  EXPECT_TRUE(pf::Number(-1LL) < pf::Number(ULLONG_MAX));
  EXPECT_EQ(pf::Number::withLetter('s', 70000LL).intValue(), static_cast<short>(70000));
}

// A server's number beyond the integer range reads as the nearest bound, not as whatever an
// out-of-range cast happens to give.
TEST(NumberTest, OutOfRangeFloatsSaturate) {
  EXPECT_EQ(pf::Number(3.33e41).longLongValue(), LLONG_MAX);
  EXPECT_EQ(pf::Number(-3.33e41).longLongValue(), LLONG_MIN);
  EXPECT_EQ(pf::Number(3.33e41).unsignedLongLongValue(), ULLONG_MAX);
  EXPECT_EQ(pf::Number(1.5e19).unsignedLongLongValue(), 15000000000000000000ULL);
  EXPECT_EQ(pf::Number(std::nan("")).longLongValue(), 0);
  EXPECT_EQ(pf::Number::withLetter('q', 3.33e41).longLongValue(), LLONG_MAX);
  EXPECT_EQ(pf::Number::withLetter('Q', 3.33e41).unsignedLongLongValue(), ULLONG_MAX);
}

TEST(TextReadingTest, LenientReadings) {
  struct Case {
    const char* text;
    bool asBool;
    int asInt;
    long long asLongLong;
    double asDouble;
  };
  const Case cases[] = {
      {"12abc", true, 12, 12, 12},
      {"abc", false, 0, 0, 0},
      {"", false, 0, 0, 0},
      {"  -3.75e2x", true, -3, -3, -375},
      {"YES", true, 0, 0, 0},
      {"no", false, 0, 0, 0},
      {"true", true, 0, 0, 0},
      {"000", false, 0, 0, 0},
      {"+0009", true, 9, 9, 9},
      {"99999999999", true, INT_MAX, 99999999999LL, 99999999999.0},
      {"-99999999999999999999", true, INT_MIN, LLONG_MIN, -1e20},
      {".5", false, 0, 0, 0.5},
      {"1e", true, 1, 1, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pf::text::boolValue(c.text), c.asBool) << c.text;
    EXPECT_EQ(pf::text::intValue(c.text), c.asInt) << c.text;
    EXPECT_EQ(pf::text::longLongValue(c.text), c.asLongLong) << c.text;
    EXPECT_DOUBLE_EQ(pf::text::doubleValue(c.text), c.asDouble) << c.text;
  }
}

TEST(ValueTest, KindsAndReadings) {
  EXPECT_TRUE(pf::Value().isNil());
  EXPECT_TRUE(pf::Value(pf::Null{}).isNull());
  EXPECT_TRUE(pf::Value(pf::ArrayPtr()).isNil()) << "a missing container is nil";
  EXPECT_TRUE(pf::Value(static_cast<const char*>(nullptr)).isNil());
  EXPECT_EQ(pf::Value("42").intValue(), 42);
  EXPECT_EQ(pf::Value(pf::makeArray()).intValue(), 0);
  EXPECT_EQ(pf::Value(pf::Dictionary{{"a", pf::Value(1)}})["a"], pf::Value(1));
  EXPECT_TRUE(pf::Value("x")["a"].isNil());
}

TEST(ValueTest, EqualityIsDeepIdentityIsNot) {
  pf::Value a(pf::makeArray({pf::Value(1), pf::Value("x")}));
  pf::Value b(pf::makeArray({pf::Value(1), pf::Value("x")}));
  pf::Value sameAsA = a;
  EXPECT_EQ(a, b);
  EXPECT_FALSE(a.isSame(b));
  EXPECT_TRUE(a.isSame(sameAsA));
  a.array()->push_back(pf::Value(2));
  EXPECT_EQ(sameAsA.array()->size(), 3u) << "containers are shared by reference";
  EXPECT_NE(a, b);
  EXPECT_NE(pf::Value(pf::Null{}), pf::Value());
  EXPECT_NE(pf::Value("1"), pf::Value(1));
}

TEST(ValueTest, Description) {
  pf::Value v(pf::Dictionary{{"list", pf::Value(pf::Array{pf::Value(1), pf::Value(pf::Null{})})}, {"name", pf::Value("x")}});
  EXPECT_EQ(v.description(), "{list = (1, <null>), name = x}");
  EXPECT_EQ(pf::Value().description(), "(null)");
}

}  // namespace
