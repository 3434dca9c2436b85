#include "app/util/MicroBlogUtils.h"

#include <cmath>
#include <ctime>

#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/Format.h"

namespace {

constexpr double kNearFutureSeconds = 1800;
// Past about 300,000 years the calendar difference no longer fits its counts (and a date of -1e300
// walked it for ever): such a date is written as its day.
constexpr double kBlogCalendarLimitSeconds = 1e13;

std::tm blogLocalTime(std::time_t t) {
  std::tm out{};
  localtime_r(&t, &out);
  return out;
}

// The local time of `from` moved by whole months and days (the day clamped to the month's end, as a
// calendar does), the clock time kept.
std::time_t blogShiftedTime(const std::tm& from, int months, int days) {
  std::tm t = from;
  const int monthIndex = t.tm_mon + months;
  t.tm_year += monthIndex >= 0 ? monthIndex / 12 : (monthIndex - 11) / 12;
  t.tm_mon = ((monthIndex % 12) + 12) % 12;
  std::tm firstOfMonth = t;
  firstOfMonth.tm_mday = 1;
  firstOfMonth.tm_isdst = -1;
  // Days in the target month: the first of the next month minus one day.
  std::tm probe = firstOfMonth;
  probe.tm_mon += 1;
  probe.tm_mday = 0;
  probe.tm_hour = 12;
  std::mktime(&probe);
  if (t.tm_mday > probe.tm_mday) t.tm_mday = probe.tm_mday;
  t.tm_mday += days;
  t.tm_isdst = -1;
  return std::mktime(&t);
}

struct BlogCalendarDifference {
  int years = 0, months = 0, days = 0, hours = 0, minutes = 0, seconds = 0;
};

// The Gregorian difference from `from` to `to` (to >= from) in the local time zone, largest unit first.
BlogCalendarDifference blogDifference(std::time_t from, std::time_t to) {
  const std::tm start = blogLocalTime(from);
  const std::tm end = blogLocalTime(to);
  int months = (end.tm_year - start.tm_year) * 12 + (end.tm_mon - start.tm_mon);
  while (months > 0 && blogShiftedTime(start, months, 0) > to) --months;
  int days = static_cast<int>(std::difftime(to, blogShiftedTime(start, months, 0)) / 86400);
  while (days > 0 && blogShiftedTime(start, months, days) > to) --days;
  while (blogShiftedTime(start, months, days + 1) <= to) ++days;
  long rest = static_cast<long>(std::difftime(to, blogShiftedTime(start, months, days)));
  BlogCalendarDifference d;
  d.years = months / 12;
  d.months = months % 12;
  d.days = days;
  d.hours = static_cast<int>(rest / 3600);
  d.minutes = static_cast<int>(rest % 3600 / 60);
  d.seconds = static_cast<int>(rest % 60);
  return d;
}

}  // namespace

std::string MicroBlogUtils::caluteDateByCurrentDate(pf::Date date) {
  return caluteDateByCurrentDate(date, pf::Date::now());
}

std::string MicroBlogUtils::caluteDateByCurrentDate(pf::Date date, pf::Date now) {
  const double ahead = date.seconds - now.seconds;
  const pf::DateFormatter dayFormat("yyyy-MM-dd");
  if (ahead > 0) return ahead <= kNearFutureSeconds ? pf::format("%d分钟前", 1) : dayFormat.stringFromDate(date);
  if (!(std::fabs(date.seconds) < kBlogCalendarLimitSeconds && std::fabs(now.seconds) < kBlogCalendarLimitSeconds)) {
    return dayFormat.stringFromDate(date);
  }
  const auto d = blogDifference(static_cast<std::time_t>(std::floor(date.seconds)),
                                static_cast<std::time_t>(std::floor(now.seconds)));
  if (d.years) return pf::format("%d年前", d.years);
  if (d.months) return pf::format("%d月前", d.months);
  if (d.days) return pf::format("%d天前", d.days);
  if (d.hours) return pf::format("%d小时前", d.hours);
  if (d.minutes) return pf::format("%d分钟前", d.minutes);
  if (d.seconds) return pf::format("%d秒前", d.seconds);
  return dayFormat.stringFromDate(date);
}
