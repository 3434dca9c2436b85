// The settings screen of the demo learner: its rows, the cellular prompt switch, clearing the cache,
// synchronising progress made on the device, and logging out.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/service/cms/CoursePlayerService.h"
#include "app/service/cms/CourseService.h"
#include "app/service/cms/CourseSyncService.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Switch.h"
#include "app/controller/cmn/ScreenErrors.h"
#include "tests/app/controller/stg/StgJourneyTest.h"
#include "ui/webimage/ImageCache.h"

namespace settings_journey_test {

class SettingsJourneyTest : public StgJourneyTest {};

// Faults caught: rows out of order or with the wrong action text, "(null)" or no name on the logout
// row, a switch on a button row or a button over the switch, a row height that ignores the screen.
TEST_F(SettingsJourneyTest, SevenRowsWithTheirTextsAndTheLearnersName) {
  auto screen = openSettings();
  ASSERT_TRUE(screen);
  EXPECT_EQ(centre()->viewControllers().size(), 1u) << "settings is the root of its own navigation";
  EXPECT_TRUE(deck()->isSideClosed(DeckSideLeft));
  const std::vector<std::pair<std::string, std::string>> expected{
      {"同步数据", "同步"}, {"清空缓存", "清空"}, {"更新版本", "检查"}, {"修改密码", "修改"},
      {"使用帮助", "查看"}, {"2G/3G网络时下载提醒", ""},   {"退出帐户：林晓", "退出"}};
  auto table = screen->tableView.lock();
  ASSERT_EQ(table->numberOfRowsInSection(0), 7);
  for (long i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    auto cell = row(i);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->content.lock()->text(), expected[i].first);
    EXPECT_TRUE(cell->imgView.lock()->image()) << "the row's picture";
    EXPECT_EQ(cell->btn.lock()->isHidden(), i == 5);
    EXPECT_EQ(cell->wifiSwitch.lock()->isHidden(), i != 5);
    if (i != 5) {
      EXPECT_EQ(cell->btn.lock()->titleForState(pf::Control::kNormal), expected[i].second);
      EXPECT_EQ(cell->btn.lock()->tag(), i);
    }
    EXPECT_DOUBLE_EQ(table->rectForRowAtIndexPath(pf::IndexPath::forRow(i, 0)).height(), 60);
  }
}

// Faults caught: a switch that shows NO when nothing was ever stored, a change that does not reach the
// stored setting, a redrawn row that forgets it.
TEST_F(SettingsJourneyTest, TheCellularPromptSwitchShowsAndFlipsTheStoredSetting) {
  auto screen = openSettings();
  ASSERT_TRUE(screen);
  auto toggle = row(5)->wifiSwitch.lock();
  EXPECT_TRUE(toggle->isOn()) << "YES when never stored";
  for (bool expected : {false, true, false}) {
    toggle->setOn(!toggle->isOn());
    toggle->sendActionsForControlEvents(pf::Control::kValueChanged);
    EXPECT_EQ(CommonService().g3PromptStatus(), expected);
    screen->tableView.lock()->reloadData();
    toggle = row(5)->wifiSwitch.lock();
    EXPECT_EQ(toggle->isOn(), expected);
  }
}

// Faults caught: a picture left in the cache, a second clear (nothing left) reported as a failure, a
// failure reported as success, a message that never hides.
TEST_F(SettingsJourneyTest, ClearingTheCacheEmptiesThePictureFolderAndSaysSo) {
  auto screen = openSettings();
  ASSERT_TRUE(screen);
  namespace fs = std::filesystem;
  const fs::path folder = ImageCache::defaultDiskCachePath();
  fs::create_directories(folder);
  std::ofstream(folder / "0123456789abcdef") << "picture";
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    tapRow(SettingViewController::kClearCache);
    EXPECT_EQ(screen->promptHUD()->labelText(), SettingViewController::kCacheCleared);
    EXPECT_FALSE(fs::exists(folder / "0123456789abcdef"));
    loop->runUntil(pf::Clock::now() + 2);
    EXPECT_TRUE(screen->promptHUD()->isHidden() || screen->promptHUD()->alpha() == 0) << "hidden after 1 s";
  }
}

// Fault caught: a clear that failed reported as success.
TEST_F(SettingsJourneyTest, ACacheThatCannotBeEmptiedSaysThereIsNone) {
  auto screen = openSettings();
  ASSERT_TRUE(screen);
  namespace fs = std::filesystem;
  const fs::path folder = ImageCache::defaultDiskCachePath();
  fs::create_directories(folder / "kept");
  std::ofstream(folder / "kept" / "picture") << "picture";
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  const bool writable = access(folder.c_str(), W_OK) == 0;
  if (!writable) {
    tapRow(SettingViewController::kClearCache);
    EXPECT_EQ(screen->promptHUD()->labelText(), SettingViewController::kNoCache);
  }
  fs::permissions(folder, fs::perms::owner_all);
  if (writable) GTEST_SKIP() << "running as root: a folder without write permission is still emptied";
}

// Faults caught: a sync row that never reaches the server, an overlay left over the screen.
TEST_F(SettingsJourneyTest, SyncingSendsProgressMadeOnTheDevice) {
  auto screen = openSettings();
  ASSERT_TRUE(screen);
  CourseSyncService(delegate).syncCourseInfoAndStudyRecord();
  CourseService courses(delegate);
  const auto course = courses.getCourseViewInfoWithCourseID("CRS-001");
  ASSERT_TRUE(course);
  ASSERT_FALSE(course->scoInfoList.empty());
  const auto unit = course->scoInfoList.back();
  unit->currentPosition = 40000;
  CoursePlayerService(delegate).saveStudyRecordWithCourse(course, unit, 40, 40);
  const auto sentBefore = server->calls("/v1/els/phonecoursestudyrecord/sync").size();

  tapRow(SettingViewController::kSync);
  loop->runUntilTrue([&] { return !ProgressHUD::HUDForView(*centre()->view()); }, 10);
  settle();

  const auto sent = server->calls("/v1/els/phonecoursestudyrecord/sync");
  ASSERT_EQ(sent.size(), sentBefore + 1);
  const std::string records = sent.back().parameters.at("clientRecords");
  EXPECT_NE(records.find(*unit->scoId), std::string::npos) << "the unit studied on the device";
  EXPECT_NE(records.find("40000"), std::string::npos);
  EXPECT_FALSE(ProgressHUD::HUDForView(*centre()->view())) << "the overlay went with the sync";
}

// Faults caught: a logout that keeps the user, the server session or the download service (a next
// learner signing in offline would work in this account), a login screen that signs in again by
// itself, a stack left above it.
TEST_F(SettingsJourneyTest, LogoutForgetsUserSessionAndDownloadsAndReturnsToLogin) {
  signInAs("visitor", "visitor123");
  ASSERT_TRUE(deck());
  ScreenErrors::backToLoginViewController();
  settle();
  auto screen = openSettings();
  ASSERT_TRUE(screen);
  ASSERT_TRUE(ServiceManager::sessionCache().sessionId());
  const std::weak_ptr<DownloadService> downloads = DownloadService::instance();
  tapRow(SettingViewController::kLogout);
  EXPECT_EQ(stack(), std::vector<std::string>{"LoginViewController"});
  auto login = std::dynamic_pointer_cast<LoginViewController>(root->viewControllers().front());
  EXPECT_TRUE(login->isLogout);
  EXPECT_FALSE(login->isSigningIn()) << "waits for a tap";
  EXPECT_FALSE(CommonService().getCurrentUser());
  EXPECT_FALSE(ServiceManager::sessionCache().sessionId());
  EXPECT_FALSE(ServiceManager::sessionCache().loginName());
  EXPECT_NE(DownloadService::instance(), downloads.lock()) << "a new download service";

  setOnline(false);
  const auto callsBefore = server->calls().size();
  signInAs("visitor", "visitor123");
  EXPECT_EQ(stack().size(), 3u) << "the visitor signs in offline";
  EXPECT_EQ(server->calls().size(), callsBefore);
  EXPECT_FALSE(ServiceManager::sessionCache().sessionId()) << "nothing would go as the learner";
}

}  // namespace settings_journey_test
