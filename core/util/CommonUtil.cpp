#include "core/util/CommonUtil.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "core/reachability/DeviceReachability.h"
#include "core/util/NumberExtension.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/Uuid.h"

namespace {

// Weekday names from Sunday.
constexpr const char* kWeekdayNames[] = {"星期天", "星期一", "星期二", "星期三",
                                         "星期四", "星期五", "星期六"};

}  // namespace

bool CommonUtil::isOnline() {
  return DeviceReachability::activeWLAN() || DeviceReachability::activeWWAN();
}

std::optional<pf::Date> CommonUtil::dateWithJaveTimeMillsNumber(const pf::Value& number) {
  double millis = number.doubleValue();
  if (millis == 0 || !std::isfinite(millis)) return std::nullopt;
  return pf::Date{millis / 1000};
}

long long CommonUtil::javaTimeMillsNumberSince1970WithDate(const std::optional<pf::Date>& date) {
  return date ? NumberExtension::longNumberFrom1970ToDate(*date) : 0;
}

std::string CommonUtil::createNewUUID() {
  return pf::Uuid::random().dashless();
}

std::optional<pf::Date> CommonUtil::dateWithString(const std::optional<std::string>& string,
                                                   std::string_view withFormatStr) {
  if (!string || string->empty()) return std::nullopt;
  return pf::DateFormatter(withFormatStr).dateFromString(*string);
}

std::optional<std::string> CommonUtil::parseStringResultOfDate(const std::optional<pf::Date>& date,
                                                               std::string_view withFormatStr) {
  if (!date) return std::nullopt;
  return pf::DateFormatter(withFormatStr).stringFromDate(*date);
}

std::string CommonUtil::timeStringFromTimeInterval(double seconds) {
  // Far beyond any real duration; keeps the integer casts defined.
  constexpr double kLimit = 1e15;
  seconds = std::isnan(seconds) ? 0 : std::clamp(seconds, -kLimit, kLimit);
  auto hours = static_cast<long long>(seconds / 3600);
  auto minutes = static_cast<long long>((seconds - static_cast<double>(hours) * 3600) / 60);
  auto secs = static_cast<long long>(seconds) % 60;
  char text[80];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", hours, minutes, secs);
  return text;
}

std::string CommonUtil::getCurrentDate() {
  return pf::DateFormatter("yyyy-MM-dd").stringFromDate(pf::Date::now());
}

std::string CommonUtil::getCurrentWeek() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return kWeekdayNames[local.tm_wday];
}

char CommonUtil::getAlphaFromInt(int index, int charCase) {
  // Unsigned arithmetic keeps the 8-bit result defined for any index.
  return static_cast<char>(static_cast<unsigned>(charCase != 0 ? 'a' : 'A') + static_cast<unsigned>(index));
}
