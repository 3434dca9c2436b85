#include "core/version/VersionCheckRecord.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/foundation/UserDefaults.h"

namespace {

class VersionCheckRecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = (std::filesystem::temp_directory_path() /
            ("h43_version_defaults_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".plist"))
               .string();
    std::filesystem::remove(path);
    defaults = std::make_shared<pf::UserDefaults>(path);
  }
  void TearDown() override { std::filesystem::remove(path); }

  std::string path;
  std::shared_ptr<pf::UserDefaults> defaults;
  const pf::Date now{1'800'000'000};
  static constexpr double kDay = VersionCheckRecord::kSecondsPerDay;
};

}  // namespace

// A reminder that did not hold checks off for a day, or a check period of 0 that held them off,
// would nag the user or never look again.
TEST_F(VersionCheckRecordTest, RemindLaterHoldsAutomaticChecksOffForItsPeriod) {
  VersionCheckRecord record(defaults);
  EXPECT_TRUE(record.shouldCheck(now, 0, 1)) << "never checked";
  record.checkedAt(now);
  EXPECT_TRUE(record.shouldCheck(now, 0, 1)) << "a check period of 0 never holds off";
  record.remindLaterFrom(now);
  EXPECT_FALSE(record.shouldCheck(pf::Date{now.seconds + kDay - 1}, 0, 1));
  EXPECT_TRUE(record.shouldCheck(pf::Date{now.seconds + kDay}, 0, 1));
  EXPECT_FALSE(VersionCheckRecord(std::make_shared<pf::UserDefaults>(path)).shouldCheck(now, 0, 1))
      << "the reminder outlives the process";
}

TEST_F(VersionCheckRecordTest, IgnoringAVersionDropsTheReminder) {
  VersionCheckRecord record(defaults);
  record.remindLaterFrom(now);
  record.ignoreVersion("1.10");
  EXPECT_EQ(record.ignoredVersion(), "1.10");
  EXPECT_TRUE(record.shouldCheck(now, 0, 1));
}

// The first launch stores its version; an upgrade removes the reminder at each launch; the same
// version keeps it.
TEST_F(VersionCheckRecordTest, LaunchesOfNewVersionsEndTheReminder) {
  VersionCheckRecord record(defaults);
  record.noteLaunchOfVersion("1.9");
  EXPECT_EQ(defaults->stringForKey(VersionCheckRecord::kLastVersionCheckedKey), "1.9");
  record.remindLaterFrom(now);
  record.noteLaunchOfVersion("1.9");
  EXPECT_FALSE(record.shouldCheck(now, 0, 1)) << "same version keeps the reminder";
  record.noteLaunchOfVersion("1.10");
  EXPECT_TRUE(record.shouldCheck(now, 0, 1)) << "an upgrade drops it";
  EXPECT_EQ(defaults->stringForKey(VersionCheckRecord::kLastVersionCheckedKey), "1.9");
}
