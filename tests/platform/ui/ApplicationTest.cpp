#include "platform/ui/Application.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Device.h"
#include "platform/ui/Screen.h"
#include "tests/platform/ui/UiTest.h"

namespace {

using pf::Application;
using pf::Screen;
using testing::ElementsAre;

using ApplicationTest = UiTest;

TEST_F(ApplicationTest, ScreenProfilesSetBoundsScaleAndIdiom) {
  struct Case {
    std::string text;
    double width, height, scale;
    pf::Device::Idiom idiom;
  };
  for (const auto& c : {Case{"phone", 320, 480, 2, pf::Device::Idiom::Phone},
                        Case{"tablet", 768, 1024, 1, pf::Device::Idiom::Pad},
                        Case{"tablet@2x", 768, 1024, 2, pf::Device::Idiom::Pad}}) {
    ASSERT_TRUE(Screen::configure(c.text)) << c.text;
    EXPECT_EQ(Screen::mainScreen().bounds(), pf::Rect(0, 0, c.width, c.height)) << c.text;
    EXPECT_EQ(Screen::mainScreen().scale(), c.scale) << c.text;
    EXPECT_EQ(pf::Device::currentDevice().userInterfaceIdiom(), c.idiom) << c.text;
  }
  EXPECT_FALSE(Screen::configure("watch"));
  Screen::configure(Screen::Profile::Phone);
  EXPECT_EQ(Screen::mainScreen().applicationFrame(), pf::Rect(0, 20, 320, 460));
  Application::sharedApplication().setStatusBarHidden(true);
  EXPECT_EQ(Screen::mainScreen().applicationFrame(), pf::Rect(0, 0, 320, 480));
}

TEST_F(ApplicationTest, LifeCycleReachesDelegateAndObserversInOrder) {
  struct Log : pf::ApplicationDelegate {
    std::vector<std::string> calls;
    bool didFinishLaunching(Application&) override { return calls.push_back("launch"), true; }
    void applicationDidEnterBackground(Application&) override { calls.push_back("background"); }
    // Observers of the return check for the background state, as the device reports it then.
    void applicationWillEnterForeground(Application& application) override {
      calls.push_back(application.applicationState() == Application::State::Background ? "foreground"
                                                                                       : "foreground in wrong state");
    }
    void applicationWillTerminate(Application&) override { calls.push_back("terminate"); }
  };
  auto log = std::make_shared<Log>();
  auto& application = Application::sharedApplication();
  application.setDelegate(log);
  std::vector<std::string> posted;
  std::vector<pf::NotificationCenter::Observation> observations;
  for (const char* name :
       {Application::kDidEnterBackgroundNotification, Application::kWillEnterForegroundNotification,
        Application::kWillTerminateNotification})
    observations.push_back(pf::NotificationCenter::defaultCenter().addObserver(
        name, nullptr, [&](const pf::Notification& n) { posted.push_back(n.name); }));

  EXPECT_TRUE(application.launch());
  application.enterBackground();
  application.enterBackground();
  EXPECT_EQ(application.applicationState(), Application::State::Background);
  application.enterForeground();
  application.terminate();

  EXPECT_THAT(log->calls, ElementsAre("launch", "background", "foreground", "terminate"));
  EXPECT_THAT(posted, ElementsAre(Application::kDidEnterBackgroundNotification,
                                  Application::kWillEnterForegroundNotification,
                                  Application::kWillTerminateNotification));
}

TEST_F(ApplicationTest, UrlsOpenThroughTheHandlerOfTheirScheme) {
  auto& application = Application::sharedApplication();
  std::vector<std::string> opened;
  application.registerUrlHandler("ExamApp", [&](const std::string& url) {
    opened.push_back(url);
    return true;
  });

  EXPECT_TRUE(application.canOpenURL("examapp:open"));
  EXPECT_FALSE(application.canOpenURL("other:open"));
  EXPECT_FALSE(application.canOpenURL("no scheme"));
  EXPECT_TRUE(application.openURL("EXAMAPP:open"));
  EXPECT_FALSE(application.openURL("other:open"));
  EXPECT_THAT(opened, ElementsAre("EXAMAPP:open"));
}

TEST_F(ApplicationTest, BackgroundTasksEndOnceAndExpireTheRest) {
  auto& application = Application::sharedApplication();
  int expired = 0;
  const auto first = application.beginBackgroundTask([&] { ++expired; });
  const auto second = application.beginBackgroundTask([&] { ++expired; });
  EXPECT_NE(first, Application::kBackgroundTaskInvalid);
  EXPECT_NE(first, second);
  application.endBackgroundTask(first);
  application.endBackgroundTask(first);
  application.endBackgroundTask(Application::kBackgroundTaskInvalid);
  EXPECT_EQ(application.backgroundTaskCount(), 1u);

  application.expireBackgroundTasks();

  EXPECT_EQ(expired, 1);
  EXPECT_EQ(application.backgroundTaskCount(), 0u);
}

TEST_F(ApplicationTest, OrientationNotificationsOnlyWhileAskedFor) {
  auto& device = pf::Device::currentDevice();
  int changes = 0;
  auto observation = pf::NotificationCenter::defaultCenter().addObserver(
      pf::Device::kOrientationDidChangeNotification, nullptr, [&](const pf::Notification&) { ++changes; });

  device.setOrientation(pf::Device::Orientation::LandscapeLeft);
  device.beginGeneratingDeviceOrientationNotifications();
  device.setOrientation(pf::Device::Orientation::Portrait);
  device.setOrientation(pf::Device::Orientation::Portrait);
  device.endGeneratingDeviceOrientationNotifications();
  device.setOrientation(pf::Device::Orientation::LandscapeRight);
  device.setOrientation(pf::Device::Orientation::Portrait);

  EXPECT_EQ(changes, 1);
}

}  // namespace
