// The update prompt against the stand-in's store: the check after launch and on return to the
// foreground, the three answers of its alert, the manual check of settings, and failures.

#include <gtest/gtest.h>

#include <fstream>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Application.h"
#include "tests/app/controller/stg/StgJourneyTest.h"

namespace update_prompt_journey_test {

class UpdatePromptJourneyTest : public StgJourneyTest {
 protected:
  // The process runs this version of the app; the prompt is made afresh for it.
  std::shared_ptr<VersionPrompt> running(const std::string& version) {
    std::ofstream(bundlePath() + "/Info.plist", std::ios::trunc)
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
           "<key>CFBundleIdentifier</key><string>com.tessavorn.marlune</string>"
           "<key>CFBundleDisplayName</key><string>Marlune</string>"
           "<key>CFBundleShortVersionString</key><string>"
        << version << "</string></dict></plist>\n";
    pf::Bundle::setMainBundlePath(bundlePath());
    VersionPrompt::resetSharedInstance();
    return VersionPrompt::sharedInstance();
  }
  // Lets the loop run until the lookup in flight has been answered.
  void waitForLookup(const VersionPrompt& prompt) {
    loop->runUntil(pf::Clock::now() + 0.1);
    loop->runUntilTrue([&] { return !prompt.currentlyChecking(); }, 20);
    loop->runUntil(pf::Clock::now() + 0.1);
  }
  size_t lookups() const {
    size_t count = 0;
    for (const auto& request : server->requests()) count += request.path.starts_with("/store/") ? 1 : 0;
    return count;
  }
  static void press(long button) {
    auto alerts = pf::AlertView::visibleAlerts();
    ASSERT_FALSE(alerts.empty());
    alerts.back()->dismissWithClickedButtonIndex(button, false);
  }
  void returnToForeground(const VersionPrompt& prompt) {
    auto& application = pf::Application::sharedApplication();
    application.enterBackground();
    application.enterForeground();
    waitForLookup(prompt);
  }
  static std::optional<pf::Date> defaultsDate(const char* key) {
    return pf::UserDefaults::standardUserDefaults()->dateForKey(key);
  }
};

// Faults caught: no check after launch, versions compared as text (1.10 older than 1.9), a title
// without the version, buttons out of order.
TEST_F(UpdatePromptJourneyTest, ANewerStoreVersionIsOfferedAfterLaunch) {
  devserver::DemoStore::publish("1.10", "更快的同步");
  auto prompt = running("1.9");
  prompt->setCheckAtLaunch(true);
  waitForLookup(*prompt);
  EXPECT_EQ(lookups(), 1u);
  ASSERT_EQ(alertText(), "New version available (1.10)|更快的同步");
  const auto alert = pf::AlertView::visibleAlerts().back();
  EXPECT_EQ(alert->buttonTitleAtIndex(0), "Ignore");
  EXPECT_EQ(alert->buttonTitleAtIndex(1), "Download");
  EXPECT_EQ(alert->buttonTitleAtIndex(2), "Remind Me Later");
  EXPECT_EQ(pf::UserDefaults::standardUserDefaults()->stringForKey(VersionCheckRecord::kLastVersionCheckedKey), "1.9");
  EXPECT_EQ(prompt->appStoreID, devserver::DemoStore::kTrackId) << "the store's id is kept for the store page";

  std::vector<std::string> opened;
  pf::Application::sharedApplication().registerUrlHandler("itms-apps", [&](const std::string& url) {
    opened.push_back(url);
    return true;
  });
  press(1);
  EXPECT_EQ(opened, std::vector<std::string>{"itms-apps://store.marlune.com/app/id900100200"});
  EXPECT_FALSE(prompt->visibleRemoteAlert);

  // An older store version than the running one offers nothing.
  devserver::DemoStore::publish("1.9");
  auto newer = running("1.10");
  newer->setCheckAtLaunch(true);
  waitForLookup(*newer);
  EXPECT_TRUE(pf::AlertView::visibleAlerts().empty());
}

// Faults caught: a reminder that does not hold the automatic checks off for a day, or holds them off
// for ever, or holds off the manual check too.
TEST_F(UpdatePromptJourneyTest, RemindLaterHoldsAutomaticChecksOffForADay) {
  devserver::DemoStore::publish("1.10");
  auto prompt = running("1.9");
  prompt->setCheckAtLaunch(true);
  waitForLookup(*prompt);
  press(VersionPrompt::kRemindButtonIndex);
  EXPECT_TRUE(defaultsDate(VersionCheckRecord::kLastRemindedKey));

  clock->advance(23 * 3600);
  returnToForeground(*prompt);
  EXPECT_EQ(lookups(), 1u) << "no automatic check within the day";
  prompt->checkForNewVersion();
  waitForLookup(*prompt);
  EXPECT_EQ(lookups(), 2u) << "the manual check runs";
  ASSERT_TRUE(alertText());
  press(VersionPrompt::kRemindButtonIndex);

  clock->advance(VersionCheckRecord::kSecondsPerDay + 60);
  returnToForeground(*prompt);
  EXPECT_EQ(lookups(), 3u) << "a day later the return checks again";
  EXPECT_EQ(alertText(), "New version available (1.10)|" + std::string(devserver::DemoStore::kReleaseNotes));
}

// Faults caught: an ignored version offered again, or a later one never offered.
TEST_F(UpdatePromptJourneyTest, AnIgnoredVersionStaysQuietUntilALaterOne) {
  devserver::DemoStore::publish("1.10");
  auto prompt = running("1.9");
  prompt->checkForNewVersion();
  waitForLookup(*prompt);
  press(0);
  prompt->checkForNewVersion();
  waitForLookup(*prompt);
  EXPECT_TRUE(pf::AlertView::visibleAlerts().empty()) << "neither the alert nor the notice";
  devserver::DemoStore::publish("1.11");
  prompt->checkForNewVersion();
  waitForLookup(*prompt);
  EXPECT_EQ(alertText(), "New version available (1.11)|" + std::string(devserver::DemoStore::kReleaseNotes));
}

// Faults caught: the already-latest notice missing on the manual check or shown after an automatic
// one; a failed lookup that shows something or forgets when it looked; two lookups at once.
TEST_F(UpdatePromptJourneyTest, NothingNewerSaysSoOnlyWhenAskedAndFailuresStayQuiet) {
  devserver::DemoStore::publish("1.10");
  auto prompt = running("1.10");
  prompt->setCheckAtLaunch(true);
  waitForLookup(*prompt);
  EXPECT_EQ(lookups(), 1u);
  EXPECT_TRUE(pf::AlertView::visibleAlerts().empty());

  prompt->checkForNewVersion();
  prompt->checkForNewVersion();
  waitForLookup(*prompt);
  EXPECT_EQ(lookups(), 2u) << "one check at a time";
  ASSERT_EQ(alertText(), "|" + std::string(VersionPrompt::kAlreadyLatestKey));
  EXPECT_EQ(pf::AlertView::visibleAlerts().back()->buttonTitleAtIndex(0), "确定");
  press(0);

  devserver::DemoStore::publish(std::nullopt);
  clock->advance(60);
  prompt->checkForNewVersion();
  waitForLookup(*prompt);
  EXPECT_TRUE(pf::AlertView::visibleAlerts().empty());
  const auto checked = defaultsDate(VersionCheckRecord::kLastCheckedKey);
  ASSERT_TRUE(checked);
  EXPECT_NEAR(checked->seconds, pf::Date::now().seconds, 1);

  server->stop();
  clock->advance(60);
  prompt->checkForNewVersion();
  waitForLookup(*prompt);
  EXPECT_TRUE(pf::AlertView::visibleAlerts().empty());
  EXPECT_TRUE(prompt->downloadError);
  EXPECT_NEAR(defaultsDate(VersionCheckRecord::kLastCheckedKey)->seconds, pf::Date::now().seconds, 1);
}

// Fault caught: the settings row that never asks the store.
TEST_F(UpdatePromptJourneyTest, TheSettingsRowChecksByHand) {
  auto prompt = running("1.0");
  devserver::DemoStore::publish("1.1");
  ASSERT_TRUE(openSettings());
  tapRow(SettingViewController::kCheckVersion);
  waitForLookup(*prompt);
  EXPECT_EQ(alertText(), "New version available (1.1)|" + std::string(devserver::DemoStore::kReleaseNotes));
}

}  // namespace update_prompt_journey_test
