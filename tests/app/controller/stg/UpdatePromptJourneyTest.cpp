// The update prompt against the stand-in's store: the check after launch and on return to the
// foreground, the three answers of its alert, the manual check of settings, and failures.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Locale.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Application.h"
#include "tests/app/controller/stg/StgJourneyTest.h"
#include "tools/devserver/DevServer.h"

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

// Faults caught: an application that hangs on exit waiting for a store that does not answer, or one
// that ends while the lookup thread still runs (an abort).
TEST_F(UpdatePromptJourneyTest, ALookupStillRunningAtExitIsCancelled) {
  devserver::DevServer silentStore;
  silentStore.route("/*", [](devserver::Exchange& exchange) {
    if (exchange.pause(30)) exchange.respond(200, "{}");
  });
  ASSERT_TRUE(silentStore.start(0));
  ServiceConfiguration configuration = *ServiceManager::configuration();
  configuration.baseUrl = "127.0.0.1:" + std::to_string(silentStore.port());
  ServiceManager::initConfiguration(configuration);
  auto prompt = running("1.0");
  prompt->checkForNewVersion();
  // The lookup thread tells the main loop nothing while it waits: poll the store itself.
  for (int tries = 0; tries < 500 && silentStore.requests().empty(); ++tries)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_EQ(silentStore.requests().size(), 1u);
  const auto before = std::chrono::steady_clock::now();
  pf::Application::sharedApplication().terminate();
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
  waitForLookup(*prompt);
  EXPECT_FALSE(prompt->currentlyChecking());
  EXPECT_TRUE(pf::AlertView::visibleAlerts().empty());
  silentStore.stop();
}

// Faults caught: texts not taken from the prompt's own resource bundle, or from a language the user
// did not choose.
TEST_F(UpdatePromptJourneyTest, TextsComeFromThePromptsBundleInThePreferredLanguage) {
  namespace fs = std::filesystem;
  fs::create_directories(bundlePath() + "/VersionPrompt.bundle/zh-Hans.lproj");
  fs::copy_file(std::string(MARLUNE_APP_RESOURCES) + "/VersionPrompt.bundle/zh-Hans.lproj/Localizable.strings",
                bundlePath() + "/VersionPrompt.bundle/zh-Hans.lproj/Localizable.strings");
  pf::Locale::setCurrent("zh_CN", {"zh-Hans", "en"});
  auto chinese = running("1.0");
  EXPECT_EQ(chinese->updateAvailableTitle, "发现新版本");
  EXPECT_EQ(chinese->ignoreButtonLabel, "忽略");
  EXPECT_EQ(chinese->downloadButtonLabel, "下载");
  EXPECT_EQ(chinese->remindButtonLabel, "稍后提醒");
  EXPECT_EQ(chinese->okButtonLabel, "确定") << "a key without a translation shows as itself";
  EXPECT_EQ(chinese->appStoreCountry, "CN");
  pf::Locale::setCurrent("en_US", {"en"});
  EXPECT_EQ(running("1.0")->downloadButtonLabel, "Download");
  pf::Locale::setCurrent(std::nullopt);
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
