#include "core/http/HttpDate.h"

#include <cctype>
#include <ctime>
#include <string>

#include "platform/foundation/TextHelpers.h"

namespace {

// Reads the text from the front, one pattern field at a time.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  bool literal(std::string_view expected) {
    if (!text_.starts_with(expected)) return false;
    text_.remove_prefix(expected.size());
    return true;
  }
  bool digits(std::size_t count, int& value) {
    if (text_.size() < count) return false;
    value = 0;
    for (std::size_t i = 0; i < count; ++i) {
      if (!std::isdigit(static_cast<unsigned char>(text_[i]))) return false;
      value = value * 10 + (text_[i] - '0');
    }
    text_.remove_prefix(count);
    return true;
  }
  // Three letters that are one of the names; their index.
  bool name(const char* const* names, int count, int& index) {
    if (text_.size() < 3) return false;
    const std::string word = pf::text::lowercase(text_.substr(0, 3));
    for (int i = 0; i < count; ++i) {
      if (word == names[i]) {
        index = i;
        text_.remove_prefix(3);
        return true;
      }
    }
    return false;
  }
  std::string_view rest() const { return text_; }

 private:
  std::string_view text_;
};

// Seconds east of GMT, or nullopt for an unknown zone.
std::optional<int> zoneOffset(std::string_view zone) {
  static constexpr struct {
    const char* name;
    int hours;
  } kZones[] = {{"GMT", 0},  {"UTC", 0},  {"UT", 0},   {"Z", 0},    {"EST", -5}, {"EDT", -4},
                {"CST", -6}, {"CDT", -5}, {"MST", -7}, {"MDT", -6}, {"PST", -8}, {"PDT", -7}};
  for (const auto& known : kZones) {
    if (pf::text::equalsIgnoringCase(zone, known.name)) return known.hours * 3600;
  }
  if (!(zone.starts_with("GMT") || zone.starts_with("UTC")) || zone.size() < 5) return std::nullopt;
  const int sign = zone[3] == '+' ? 1 : zone[3] == '-' ? -1 : 0;
  Scanner offset(zone.substr(4));
  int hours = 0, minutes = 0;
  const bool twoDigits = offset.digits(2, hours);
  if (sign == 0 || (!twoDigits && !offset.digits(1, hours))) return std::nullopt;
  if (!offset.rest().empty() && (!twoDigits || !offset.digits(2, minutes) || !offset.rest().empty())) {
    return std::nullopt;
  }
  if (hours > 14 || minutes > 59) return std::nullopt;
  return sign * (hours * 3600 + minutes * 60);
}

}  // namespace

std::optional<pf::Date> HttpDate::parseRfc1123(std::string_view text) {
  static constexpr const char* kWeekdays[] = {"sun", "mon", "tue", "wed", "thu", "fri", "sat"};
  static constexpr const char* kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                            "jul", "aug", "sep", "oct", "nov", "dec"};
  // The form follows the text: a weekday when it holds a comma, seconds when it holds two colons.
  const bool weekday = text.find(',') != std::string_view::npos;
  const bool seconds = pf::text::split(text, ":").size() == 3;
  Scanner scan(text);
  int ignored = 0, day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
  if (weekday && !(scan.name(kWeekdays, 7, ignored) && scan.literal(", "))) return std::nullopt;
  if (!(scan.digits(2, day) && scan.literal(" ") && scan.name(kMonths, 12, month) && scan.literal(" ") &&
        scan.digits(4, year) && scan.literal(" ") && scan.digits(2, hour) && scan.literal(":") &&
        scan.digits(2, minute))) {
    return std::nullopt;
  }
  if (seconds && !(scan.literal(":") && scan.digits(2, second))) return std::nullopt;
  if (!scan.literal(" ")) return std::nullopt;
  const std::optional<int> offset = zoneOffset(scan.rest());
  if (!offset || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60) return std::nullopt;
  std::tm fields{};
  fields.tm_year = year - 1900;
  fields.tm_mon = month;
  fields.tm_mday = day;
  fields.tm_hour = hour;
  fields.tm_min = minute;
  fields.tm_sec = second;
  return pf::Date{static_cast<double>(timegm(&fields) - *offset)};
}
