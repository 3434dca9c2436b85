#include "core/sqlite/SqlDateFormatter.h"

#include <cmath>
#include <ctime>

std::string SqlDateFormatter::stringFromDate(pf::Date date) const {
  const std::time_t seconds = static_cast<std::time_t>(std::floor(date.seconds));
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[256];
  const size_t length = std::strftime(text, sizeof text, format_.c_str(), &utc);
  return std::string(text, length);
}

std::optional<pf::Date> SqlDateFormatter::dateFromString(const std::string& text) const {
  std::tm utc{};
  const char* end = strptime(text.c_str(), format_.c_str(), &utc);
  if (!end || *end != '\0') return std::nullopt;
  return pf::Date{static_cast<double>(timegm(&utc))};
}
