#include "app/util/MicroBlogUtils.h"

#include <gtest/gtest.h>

#include <ctime>
#include <limits>

#include "platform/foundation/DateFormatter.h"

namespace {

// A fixed now in the device's zone: 2026-03-15 12:00 local.
pf::Date blogNow() {
  std::tm t{};
  t.tm_year = 126;
  t.tm_mon = 2;
  t.tm_mday = 15;
  t.tm_hour = 12;
  t.tm_isdst = -1;
  return pf::Date{static_cast<double>(std::mktime(&t))};
}

}  // namespace

// A unit taken from the wrong place (seconds for minutes, days for months) or the future rule
// misread shows a wrong age on every blog.
TEST(MicroBlogUtilsTest, RelativeTimesAtAFixedNow) {
  const pf::Date now = blogNow();
  const pf::DateFormatter day("yyyy-MM-dd");
  struct Case {
    double offset;  // seconds from now
    std::string expected;
  };
  const Case cases[] = {
      {-90, "1分钟前"},
      {-(3 * 3600 + 5 * 60), "3小时前"},
      {-40 * 86400, "1月前"},
      {-20 * 86400, "20天前"},
      {-400 * 86400, "1年前"},
      {-5, "5秒前"},
      {10 * 60, "1分钟前"},
      {1800, "1分钟前"},
      {2 * 3600, day.stringFromDate(pf::Date{now.seconds + 2 * 3600})},
      {0, day.stringFromDate(now)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MicroBlogUtils::caluteDateByCurrentDate(pf::Date{now.seconds + c.offset}, now), c.expected)
        << c.offset;
}

// The month difference must not run past a shorter month's end: Jan 31 to Mar 1 is one month.
TEST(MicroBlogUtilsTest, MonthsCountByTheCalendar) {
  std::tm from{};
  from.tm_year = 126;
  from.tm_mon = 0;
  from.tm_mday = 31;
  from.tm_hour = 10;
  from.tm_isdst = -1;
  std::tm to = from;
  to.tm_mon = 2;
  to.tm_mday = 1;
  to.tm_isdst = -1;
  const pf::Date a{static_cast<double>(std::mktime(&from))};
  const pf::Date b{static_cast<double>(std::mktime(&to))};
  EXPECT_EQ(MicroBlogUtils::caluteDateByCurrentDate(a, b), "1月前");
}

// A server's date far in the past overflowed the month count ("-52351564年前") or, at -1e300, never
// finished; beyond the calendar's reach the date is written as its day, which is empty for these.
TEST(MicroBlogUtilsTest, DatesBeyondTheCalendarAreWrittenAsTheirDay) {
  const pf::Date now = blogNow();
  const pf::DateFormatter day("yyyy-MM-dd");
  for (double seconds : {-1e17, -1e300, -std::numeric_limits<double>::infinity(),
                         std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_EQ(MicroBlogUtils::caluteDateByCurrentDate(pf::Date{seconds}, now), day.stringFromDate(pf::Date{seconds}))
        << seconds;
  }
  EXPECT_EQ(MicroBlogUtils::caluteDateByCurrentDate(pf::Date{now.seconds - 1e12}, now), "31688年前");
}
