#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/util/ArrayExtension.h"
#include "core/util/DictionaryExtension.h"
#include "core/util/MD5HexDigest.h"
#include "core/util/NumberExtension.h"
#include "core/util/NumberString.h"
#include "platform/foundation/Error.h"

namespace {

TEST(MD5HexDigestTest, DigestsInEveryForm) {
  struct Case {
    const char* text;
    const char* lower32;
  };
  for (const Case& c :
       {Case{"", "d41d8cd98f00b204e9800998ecf8427e"}, Case{"abc", "900150983cd24fb0d6963f7d28e17f72"},
        Case{"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        Case{"中文密码", "3d4acf94adca8562b4990599b15488de"}}) {
    std::string lower = c.lower32;
    std::string upper = lower;
    for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    EXPECT_EQ(MD5HexDigest::MD5TO32Lower(c.text), lower) << c.text;
    EXPECT_EQ(MD5HexDigest::MD5TO32Upper(c.text), upper) << c.text;
    EXPECT_EQ(MD5HexDigest::MD5TO16Lower(c.text), lower.substr(8, 16)) << c.text;
    EXPECT_EQ(MD5HexDigest::MD5TO16Upper(c.text), upper.substr(8, 16)) << c.text;
  }
}

TEST(NumberStringTest, StringWithFloatCutsWithoutRounding) {
  struct Case {
    float value;
    int digits;
    const char* text;
  };
  for (const Case& c : {
           Case{3.14159f, 2, "3.14"},
           Case{2.999f, 2, "2.99"},
           Case{1.9999996f, 0, "2"},  // "%f" rounds first
           Case{1.9999996f, 2, "2.00"},
           Case{2.96f, 1, "2.9"},
           Case{99.99f, 2, "99.98"},  // the float is 99.989998
           Case{-2.75f, 1, "-2.7"},
           Case{5.0f, 6, "5.000000"},
           Case{1.5f, 9, "1.500000"},
           Case{1.5f, -1, "1"},
           Case{std::numeric_limits<float>::infinity(), 2, "inf"},
       }) {
    EXPECT_EQ(StringWithFloat(c.value, c.digits), c.text) << c.value << " / " << c.digits;
  }
}

TEST(NumberStringTest, StringWithLongLongWritesDecimal) {
  EXPECT_EQ(StringWithLongLong(0), "0");
  EXPECT_EQ(StringWithLongLong(1234567890123LL), "1234567890123");
  EXPECT_EQ(StringWithLongLong(std::numeric_limits<long long>::min()), "-9223372036854775808");
}

TEST(NumberExtensionTest, MillisecondsFromDates) {
  struct Case {
    double seconds;
    long long millis;
  };
  for (const Case& c : {
           Case{1.9999, 1999},
           Case{-1.9999, -1999},
           Case{1.5, 1500},
           // 1001 ms read as seconds is 1.0009999999999999: cut without rounding it would write 1000.
           Case{1001.0 / 1000, 1001},
           Case{4007 * 0.001, 4007},
           Case{0, 0},
           Case{1e300, std::numeric_limits<long long>::max()},
           Case{-1e300, std::numeric_limits<long long>::min()},
           Case{std::nan(""), 0},
       }) {
    EXPECT_EQ(NumberExtension::longNumberFrom1970ToDate(pf::Date{c.seconds}), c.millis) << c.seconds;
  }
}

TEST(NumberExtensionTest, MillisecondsSurviveTheTripThroughSeconds) {
  // Near 1970 many values come back one short without rounding; recent dates happen not to.
  for (long long first : {0LL, 1700000000000LL}) {
    for (long long millis = first; millis < first + 20000; ++millis) {
      pf::Date date{static_cast<double>(millis) / 1000};
      ASSERT_EQ(NumberExtension::longNumberFrom1970ToDate(date), millis);
    }
  }
}

TEST(CollectionExtensionTest, IsNullOrEmpty) {
  pf::ArrayPtr noArray;
  pf::DictionaryPtr noDictionary;
  EXPECT_TRUE(ArrayExtension::isNullOrEmpty(noArray));
  EXPECT_TRUE(DictionaryExtension::isNullOrEmpty(noDictionary));
  struct Case {
    pf::Value value;
    bool emptyArray;
    bool emptyDictionary;
  };
  for (const Case& c : {
           Case{pf::Value(), true, true},
           Case{pf::Value(pf::Null{}), true, true},
           Case{pf::Value(pf::Array{}), true, true},
           Case{pf::Value(pf::Dictionary{}), true, true},
           Case{pf::Value(pf::Array{1}), false, true},
           Case{pf::Value(pf::Dictionary{{"k", 1}}), true, false},
           Case{pf::Value("text"), true, true},
       }) {
    EXPECT_EQ(ArrayExtension::isNullOrEmpty(c.value), c.emptyArray) << c.value.description();
    EXPECT_EQ(DictionaryExtension::isNullOrEmpty(c.value), c.emptyDictionary) << c.value.description();
  }
}

TEST(CollectionExtensionTest, SelectMapsInOrder) {
  auto twice = [](const pf::Value& v) { return pf::Value(v.intValue() * 2); };
  EXPECT_TRUE(ArrayExtension::select(pf::Array{}, twice)->empty());
  EXPECT_EQ(pf::Value(ArrayExtension::select(pf::Array{1, 2, 3}, twice)), pf::Value(pf::Array{2, 4, 6}));
  try {
    ArrayExtension::select(pf::Array{1}, [](const pf::Value&) { return pf::Value(); });
    FAIL() << "a nil result must not enter the array";
  } catch (const pf::ContractViolation& e) {
    EXPECT_EQ(e.name(), "NSInvalidArgumentException");
  }
}

}  // namespace
