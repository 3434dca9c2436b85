#include "core/util/CommonUtil.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "platform/foundation/ScopedTimeZone.h"
#include "platform/net/ManualReachabilityProvider.h"

namespace {

TEST(CommonUtilTest, OnlineOverWiFiOrMobileNetwork) {
  auto provider = std::make_shared<pf::ManualReachabilityProvider>();
  std::shared_ptr<pf::ReachabilityProvider> previous = pf::ReachabilityProvider::install(provider);
  struct Case {
    std::optional<pf::ReachabilityFlags> flags;
    bool online;
  };
  for (const Case& c : {
           Case{pf::kReachabilityFlagsReachable | pf::kReachabilityFlagsIsDirect, true},
           Case{pf::kReachabilityFlagsReachable | pf::kReachabilityFlagsIsWWAN |
                    pf::kReachabilityFlagsTransientConnection,
                true},
           Case{pf::kReachabilityFlagsReachable | pf::kReachabilityFlagsIsWWAN |
                    pf::kReachabilityFlagsConnectionRequired,
                false},
           Case{pf::kReachabilityFlagsIsDirect, false},
           Case{0, false},
           Case{std::nullopt, false},
       }) {
    provider->setFlags(c.flags);
    EXPECT_EQ(CommonUtil::isOnline(), c.online) << c.flags.value_or(0xFFFFFFFF);
  }
  pf::ReachabilityProvider::install(previous);
}

TEST(CommonUtilTest, ReadsServerMilliseconds) {
  struct Case {
    pf::Value number;
    std::optional<double> seconds;
  };
  for (const Case& c : {
           Case{pf::Value(), std::nullopt},
           Case{pf::Value(pf::Null{}), std::nullopt},
           Case{pf::Value(0), std::nullopt},
           Case{pf::Value(0.0), std::nullopt},
           Case{pf::Value(1500), 1.5},
           Case{pf::Value(-1500LL), -1.5},
           Case{pf::Value(1700000000123LL), 1700000000.123},
           Case{pf::Value("2500"), 2.5},
       }) {
    std::optional<pf::Date> date = CommonUtil::dateWithJaveTimeMillsNumber(c.number);
    ASSERT_EQ(date.has_value(), c.seconds.has_value()) << c.number.description();
    if (date) {
      EXPECT_DOUBLE_EQ(date->seconds, *c.seconds) << c.number.description();
    }
  }
}

TEST(CommonUtilTest, WritesServerMilliseconds) {
  EXPECT_EQ(CommonUtil::javaTimeMillsNumberSince1970WithDate(std::nullopt), 0);
  EXPECT_EQ(CommonUtil::javaTimeMillsNumberSince1970WithDate(pf::Date{1.9999}), 1999);
  EXPECT_EQ(CommonUtil::javaTimeMillsNumberSince1970WithDate(pf::Date{-0.5}), -500);
  std::optional<pf::Date> read = CommonUtil::dateWithJaveTimeMillsNumber(pf::Value(1700000000123LL));
  EXPECT_EQ(CommonUtil::javaTimeMillsNumberSince1970WithDate(read), 1700000000123LL);
}

TEST(CommonUtilTest, TimeStringsOfDurations) {
  struct Case {
    double seconds;
    const char* text;
  };
  for (const Case& c : {
           Case{0, "00:00:00"},
           Case{59.9, "00:00:59"},
           Case{3725, "01:02:05"},
           Case{86399, "23:59:59"},
           Case{360000, "100:00:00"},
       }) {
    EXPECT_EQ(CommonUtil::timeStringFromTimeInterval(c.seconds), c.text) << c.seconds;
  }
}

TEST(CommonUtilTest, NewUUIDsAreDashlessUpperCaseAndFresh) {
  std::set<std::string> seen;
  for (int i = 0; i < 100; ++i) {
    std::string uuid = CommonUtil::createNewUUID();
    EXPECT_TRUE(std::regex_match(uuid, std::regex("[0-9A-F]{32}"))) << uuid;
    seen.insert(uuid);
  }
  EXPECT_EQ(seen.size(), 100u);
}

TEST(CommonUtilTest, DatesAsTextInTheDeviceTimeZone) {
  struct Case {
    const char* zone;
    const char* text;
  };
  // 2024-02-09 16:30 UTC.
  const pf::Date instant{1707496200};
  for (const Case& c : {Case{"UTC", "2024-02-09 16:30"}, Case{"Asia/Shanghai", "2024-02-10 00:30"}}) {
    ScopedTimeZone zone(c.zone);
    EXPECT_EQ(CommonUtil::parseStringResultOfDate(instant, "yyyy-MM-dd HH:mm"), c.text) << c.zone;
    std::optional<pf::Date> back = CommonUtil::dateWithString(std::string(c.text), "yyyy-MM-dd HH:mm");
    ASSERT_TRUE(back) << c.zone;
    EXPECT_DOUBLE_EQ(back->seconds, instant.seconds) << c.zone;
  }
}

TEST(CommonUtilTest, MissingOrMismatchedDateTextGivesNoDate) {
  EXPECT_FALSE(CommonUtil::dateWithString(std::nullopt, "yyyy-MM-dd"));
  EXPECT_FALSE(CommonUtil::dateWithString(std::string(), ""));
  EXPECT_FALSE(CommonUtil::dateWithString(std::string("09/02/2024"), "yyyy-MM-dd"));
  EXPECT_FALSE(CommonUtil::parseStringResultOfDate(std::nullopt, "yyyy-MM-dd"));
}

TEST(CommonUtilTest, TodayAsDateAndWeekday) {
  std::string today = CommonUtil::getCurrentDate();
  ASSERT_TRUE(std::regex_match(today, std::regex("\\d{4}-\\d{2}-\\d{2}"))) << today;
  std::optional<pf::Date> midnight = CommonUtil::dateWithString(today, "yyyy-MM-dd");
  ASSERT_TRUE(midnight);
  double sinceMidnight = pf::Date::now().seconds - midnight->seconds;
  EXPECT_GE(sinceMidnight, 0);
  EXPECT_LT(sinceMidnight, 25 * 3600);

  const std::set<std::string> weekdays = {"星期天", "星期一", "星期二", "星期三",
                                          "星期四", "星期五", "星期六"};
  EXPECT_TRUE(weekdays.count(CommonUtil::getCurrentWeek()));
}

TEST(CommonUtilTest, LettersFromIndexes) {
  EXPECT_EQ(CommonUtil::getAlphaFromInt(2, 1), 'c');
  EXPECT_EQ(CommonUtil::getAlphaFromInt(2, 0), 'C');
  EXPECT_EQ(CommonUtil::getAlphaFromInt(0, -1), 'a');
  EXPECT_EQ(CommonUtil::getAlphaFromInt(25, 0), 'Z');
}

}  // namespace
