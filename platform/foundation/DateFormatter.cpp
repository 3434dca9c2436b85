#include "platform/foundation/DateFormatter.h"

#include <strings.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <ctime>

namespace pf {
namespace {

constexpr std::string_view kPatternLetters = "yMdHhmsSaE";
constexpr std::string_view kShortWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::string_view kLongWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                              "Thursday", "Friday", "Saturday"};
constexpr std::string_view kAmPm[] = {"AM", "PM"};

bool isPatternLetter(char c) {
  return kPatternLetters.find(c) != std::string_view::npos;
}

void appendPadded(std::string& out, long value, int width) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < width) out.append(width - digits.size(), '0');
  out += digits;
}

// Shifts a fraction of a second written with `from` digits to `to` digits (cutting, not rounding).
long shiftFraction(long value, int from, int to) {
  for (int i = to; i < from; ++i) value /= 10;
  for (int i = from; i < to; ++i) value *= 10;
  return value;
}

void writeField(std::string& out, char letter, int count, const std::tm& local, int millis) {
  switch (letter) {
    case 'y':
      return appendPadded(out, count == 2 ? (local.tm_year + 1900) % 100 : local.tm_year + 1900, count);
    case 'M':
      return appendPadded(out, local.tm_mon + 1, count);
    case 'd':
      return appendPadded(out, local.tm_mday, count);
    case 'H':
      return appendPadded(out, local.tm_hour, count);
    case 'h':
      return appendPadded(out, local.tm_hour % 12 == 0 ? 12 : local.tm_hour % 12, count);
    case 'm':
      return appendPadded(out, local.tm_min, count);
    case 's':
      return appendPadded(out, local.tm_sec, count);
    case 'S':
      return appendPadded(out, shiftFraction(millis, 3, count), count);
    case 'a':
      out += kAmPm[local.tm_hour < 12 ? 0 : 1];
      return;
    case 'E':
      out += (count <= 3 ? kShortWeekdays : kLongWeekdays)[local.tm_wday];
      return;
  }
}

// What a text said, field by field, before it becomes a date.
struct Reading {
  int year = 1970;
  int month = 1;
  int day = 1;
  int hour = 0;
  int hour12 = 0;  // 0 when no "h" field was read
  int minute = 0;
  int second = 0;
  int millis = 0;
  bool pm = false;
};

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}
  bool atEnd() const { return pos_ == text_.size(); }

  // Up to nine digits, so the value always fits an int.
  std::optional<int> number(int minDigits, int maxDigits) {
    maxDigits = std::min(maxDigits, 9);
    int value = 0;
    int digits = 0;
    while (digits < maxDigits && pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
      value = value * 10 + (text_[pos_++] - '0');
      ++digits;
    }
    if (digits < minDigits) return std::nullopt;
    return value;
  }

  bool literal(std::string_view expected) {
    if (text_.substr(pos_, expected.size()) != expected) return false;
    pos_ += expected.size();
    return true;
  }

  // The index of the name the text continues with (ignoring case), or nullopt.
  template <size_t N>
  std::optional<int> oneOf(const std::string_view (&names)[N]) {
    for (size_t i = 0; i < N; ++i) {
      std::string_view rest = text_.substr(pos_, names[i].size());
      if (rest.size() == names[i].size() && strncasecmp(rest.data(), names[i].data(), rest.size()) == 0) {
        pos_ += rest.size();
        return static_cast<int>(i);
      }
    }
    return std::nullopt;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

int localYearNow() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_year + 1900;
}

// Two-digit years fall in the hundred years starting 80 years ago.
int expandTwoDigitYear(int yy) {
  int start = localYearNow() - 80;
  int year = start - start % 100 + yy;
  return year < start ? year + 100 : year;
}

bool readNumberField(Reader& reader, char letter, int count, Reading& reading) {
  int maxSingle = letter == 'y' ? 4 : 2;
  std::optional<int> value = reader.number(count == 1 ? 1 : count, count == 1 ? maxSingle : count);
  if (!value) return false;
  int v = *value;
  switch (letter) {
    case 'y':
      reading.year = count == 2 ? expandTwoDigitYear(v) : v;
      break;
    case 'M':
      reading.month = v;
      break;
    case 'd':
      reading.day = v;
      break;
    case 'H':
      reading.hour = v;
      break;
    case 'h':
      reading.hour12 = v;
      break;
    case 'm':
      reading.minute = v;
      break;
    case 's':
      reading.second = v;
      break;
    case 'S':
      reading.millis = static_cast<int>(shiftFraction(v, count, 3));
      break;
  }
  return true;
}

bool readField(Reader& reader, char letter, int count, Reading& reading) {
  if (letter == 'a') {
    std::optional<int> index = reader.oneOf(kAmPm);
    if (index) reading.pm = *index == 1;
    return index.has_value();
  }
  if (letter == 'E') return reader.oneOf(count <= 3 ? kShortWeekdays : kLongWeekdays).has_value();
  return readNumberField(reader, letter, count, reading);
}

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

bool inRange(const Reading& r) {
  return r.month >= 1 && r.month <= 12 && r.day >= 1 && r.day <= daysInMonth(r.year, r.month) &&
         r.hour <= 23 && r.hour12 <= 12 && r.minute <= 59 && r.second <= 59;
}

std::optional<Date> localDate(const Reading& r) {
  std::tm local{};
  local.tm_year = r.year - 1900;
  local.tm_mon = r.month - 1;
  local.tm_mday = r.day;
  local.tm_hour = r.hour12 > 0 ? r.hour12 % 12 + (r.pm ? 12 : 0) : r.hour;
  local.tm_min = r.minute;
  local.tm_sec = r.second;
  local.tm_isdst = -1;
  errno = 0;
  std::time_t seconds = std::mktime(&local);
  if (seconds == -1 && errno != 0) return std::nullopt;
  return Date{static_cast<double>(seconds) + r.millis / 1000.0};
}

}  // namespace

DateFormatter::DateFormatter(std::string_view pattern) {
  size_t i = 0;
  auto addLiteral = [this](char c) {
    if (fields_.empty() || fields_.back().letter != 0) fields_.push_back({});
    fields_.back().literal += c;
  };
  while (i < pattern.size()) {
    char c = pattern[i];
    if (c == '\'') {
      if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
        addLiteral('\'');
        i += 2;
        continue;
      }
      size_t end = pattern.find('\'', i + 1);
      if (end == std::string_view::npos) end = pattern.size();
      for (char q : pattern.substr(i + 1, end - i - 1)) addLiteral(q);
      i = end + 1;
    } else if (isPatternLetter(c)) {
      size_t end = pattern.find_first_not_of(c, i);
      if (end == std::string_view::npos) end = pattern.size();
      fields_.push_back({c, static_cast<int>(end - i), {}});
      i = end;
    } else {
      addLiteral(c);
      ++i;
    }
  }
}

std::string DateFormatter::stringFromDate(Date date) const {
  // A server's date can lie beyond any calendar year the system can write; such a date has no text,
  // like a non-finite one, rather than an undefined cast or the zeroed fields of a failed conversion.
  constexpr double kTimeLimit = 0x1p62;
  if (!std::isfinite(date.seconds) || std::fabs(date.seconds) >= kTimeLimit) return {};
  // Nearest millisecond: dates usually come from whole milliseconds that a double cannot hold exactly.
  double totalMillis = std::round(date.seconds * 1000);
  auto seconds = static_cast<std::time_t>(std::floor(totalMillis / 1000));
  int millis = static_cast<int>(totalMillis - static_cast<double>(seconds) * 1000);
  std::tm local{};
  if (!localtime_r(&seconds, &local)) return {};
  std::string out;
  for (const Field& field : fields_) {
    if (field.letter == 0) {
      out += field.literal;
    } else {
      writeField(out, field.letter, field.count, local, millis);
    }
  }
  return out;
}

std::optional<Date> DateFormatter::dateFromString(std::string_view text) const {
  Reader reader(text);
  Reading reading;
  for (const Field& field : fields_) {
    bool ok = field.letter == 0 ? reader.literal(field.literal)
                                : readField(reader, field.letter, field.count, reading);
    if (!ok) return std::nullopt;
  }
  if (!reader.atEnd() || !inRange(reading)) return std::nullopt;
  return localDate(reading);
}

}  // namespace pf
