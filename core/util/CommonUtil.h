#pragma once
// Helpers shared by the whole program: the online test asked before remote actions, the server's
// millisecond time numbers, new row identifiers, and date and duration texts for screens. Dates are
// written and read in the device's time zone. Stateless apart from the reachability reads; safe on any
// thread (each date operation makes its own formatter).

#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Value.h"

class CommonUtil {
 public:
  // Wi-Fi first; the mobile network only when there is no Wi-Fi.
  static bool isOnline();

  // The date that many milliseconds after 1970 UTC (fraction kept); nil, the null marker and 0 give
  // no date. Text holding a number is read as that number.
  static std::optional<pf::Date> dateWithJaveTimeMillsNumber(const pf::Value& number);
  // Seconds since 1970 times 1000, cut toward zero; no date gives 0.
  static long long javaTimeMillsNumberSince1970WithDate(const std::optional<pf::Date>& date);

  // A random UUID as 32 upper-case hexadecimal digits.
  static std::string createNewUUID();

  // No date for no text, the empty text, or text that does not match the format.
  static std::optional<pf::Date> dateWithString(const std::optional<std::string>& string,
                                                std::string_view withFormatStr);
  static std::optional<std::string> parseStringResultOfDate(const std::optional<pf::Date>& date,
                                                            std::string_view withFormatStr);

  // "HH:MM:SS" of a duration in seconds; hours grow past 99 ("100:00:00").
  static std::string timeStringFromTimeInterval(double seconds);
  // Today as "yyyy-MM-dd".
  static std::string getCurrentDate();
  // Today's weekday, "星期天" to "星期六".
  static std::string getCurrentWeek();
  // The letter index places after "a" (charCase non-zero) or "A" (charCase zero).
  static char getAlphaFromInt(int index, int charCase);
};
