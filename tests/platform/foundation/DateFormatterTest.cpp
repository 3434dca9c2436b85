#include "platform/foundation/DateFormatter.h"

#include <gtest/gtest.h>

#include "platform/foundation/ScopedTimeZone.h"

namespace {

// 2023-11-14 22:13:20.123 UTC, a Tuesday.
constexpr double kInstant = 1700000000.123;

TEST(DateFormatterTest, RoundTripsInTwoTimeZones) {
  struct Case {
    const char* zone;
    const char* text;
  };
  for (const Case& c :
       {Case{"UTC", "2023-11-14 22:13:20.123"}, Case{"Asia/Shanghai", "2023-11-15 06:13:20.123"}}) {
    ScopedTimeZone zone(c.zone);
    pf::DateFormatter formatter("yyyy-MM-dd HH:mm:ss.SSS");
    EXPECT_EQ(formatter.stringFromDate(pf::Date{kInstant}), c.text) << c.zone;
    std::optional<pf::Date> back = formatter.dateFromString(c.text);
    ASSERT_TRUE(back) << c.zone;
    EXPECT_NEAR(back->seconds, kInstant, 1e-6) << c.zone;
  }
}

TEST(DateFormatterTest, WritesEachFieldKind) {
  ScopedTimeZone zone("UTC");
  struct Case {
    const char* pattern;
    const char* text;
  };
  for (const Case& c : {
           Case{"yy/M/d h:m:s a", "23/11/14 10:13:20 PM"},
           Case{"EEE, EEEE", "Tue, Tuesday"},
           Case{"'at' HH'h' ''mm''", "at 22h '13'"},
           Case{"yyyyMMdd S SS", "20231114 1 12"},
           Case{"yyyy-MM-dd hh:mm", "2023-11-14 10:13"},
       }) {
    EXPECT_EQ(pf::DateFormatter(c.pattern).stringFromDate(pf::Date{kInstant}), c.text) << c.pattern;
  }
  EXPECT_EQ(pf::DateFormatter("yyyy-MM-dd HH:mm:ss.SSS").stringFromDate(pf::Date{-0.5}),
            "1969-12-31 23:59:59.500");
}

// A server's date far beyond any year the calendar can hold has no text: it was an undefined cast to
// seconds, or the zeroed fields of a failed conversion written as "1900-01-00".
TEST(DateFormatterTest, DatesBeyondAnyYearHaveNoText) {
  ScopedTimeZone zone("UTC");
  const pf::DateFormatter formatter("yyyy-MM-dd HH:mm:ss.SSS");
  for (double seconds : {1e300, -1e300, 1.7e308, 1e17, -1e17}) {
    EXPECT_EQ(formatter.stringFromDate(pf::Date{seconds}), "") << seconds;
  }
  EXPECT_EQ(formatter.stringFromDate(pf::Date{253402300799.0}), "9999-12-31 23:59:59.000");
}

TEST(DateFormatterTest, ReadsStrictly) {
  ScopedTimeZone zone("UTC");
  struct Case {
    const char* pattern;
    const char* text;
    std::optional<double> seconds;
  };
  for (const Case& c : {
           Case{"yyyy-MM-dd", "2024-02-29", 1709164800},
           Case{"yyyy-M-d", "2024-2-9", 1707436800},
           Case{"yyyyMMdd", "20240209", 1707436800},
           Case{"HH:mm", "10:30", 37800},
           Case{"yy-MM-dd", "24-02-09", 1707436800},
           Case{"hh:mm a", "12:05 AM", 300},
           Case{"hh:mm a", "12:05 pm", 43500},
           Case{"EEE yyyy-MM-dd", "Fri 2024-02-09", 1707436800},
           Case{"yyyy-MM-dd", "2023-02-29", std::nullopt},
           Case{"yyyy-MM-dd", "2023-13-01", std::nullopt},
           Case{"yyyy-MM-dd", "2023-1-01", std::nullopt},
           Case{"yyyy-MM-dd", "2023-01-01x", std::nullopt},
           Case{"yyyy-MM-dd", "2023-01-0a", std::nullopt},
           Case{"yyyy-MM-dd", "", std::nullopt},
           Case{"HH:mm", "24:00", std::nullopt},
           Case{"hh:mm a", "13:00 PM", std::nullopt},
           Case{"EEEE", "Tue", std::nullopt},
       }) {
    std::optional<pf::Date> date = pf::DateFormatter(c.pattern).dateFromString(c.text);
    ASSERT_EQ(date.has_value(), c.seconds.has_value()) << c.pattern << " / " << c.text;
    if (date) {
      EXPECT_DOUBLE_EQ(date->seconds, *c.seconds) << c.pattern << " / " << c.text;
    }
  }
}

}  // namespace
