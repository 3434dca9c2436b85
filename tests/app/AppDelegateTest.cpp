#include "app/AppDelegate.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <memory>

#include "app/controller/cmn/BaseViewController.h"
#include "app/controller/cmn/CmnViewClasses.h"
#include "app/util/ViewUtil.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/VirtualClock.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/NavigationBarMaker.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "tests/app/controller/cmn/CmnScreenTest.h"
#include "tests/app/support/AppSandbox.h"
#include "tests/app/support/EarlierReleaseDatabase.h"

namespace {

// Launches of the application on one device, on the phone or the tablet, with plain base screens
// standing in for the help pages and the login screen (each titled after its class and interface file).
class AppDelegateTest : public AppSandbox, public ::testing::WithParamInterface<pf::Screen::Profile> {
 protected:
  void SetUp() override {
    AppSandbox::SetUp();
    pf::Clock::install(clock);
    pf::RunLoop::setMainThread();
    pf::RunLoop::main()->clear();
    cmn_test::resetUi();
    pf::Screen::configure(GetParam());
    cmn_test::copyAssembledBundle(bundlePath());
    registerCmnViewClasses();
    for (const char* name : {AppDelegate::kHelpScreenClass, AppDelegate::kLoginScreenClass}) {
      ViewUtil::registerScreenClass(name, [name](const std::string& nibName) {
        auto screen = std::make_shared<BaseViewController>();
        screen->navigationItem()->setTitle(std::string(name) + " " + nibName);
        return screen;
      });
    }
  }
  void TearDown() override {
    delegate.reset();
    cmn_test::resetUi();
    ViewUtil::resetScreenClasses();
    pf::NavigationBarMaker::setMaker({});
    pf::Screen::configure(pf::Screen::Profile::Phone);
    pf::RunLoop::main()->clear();
    pf::Clock::install(nullptr);
    AppSandbox::TearDown();
  }
  // A new process on this device, launched by the application delegate.
  void launchApp() {
    delegate.reset();
    cmn_test::resetUi();
    relaunch();
    delegate = std::make_shared<AppDelegate>();
    pf::Application::sharedApplication().setDelegate(delegate);
    ASSERT_TRUE(pf::Application::sharedApplication().launch());
    pf::RunLoop::main()->runUntil(pf::Clock::now() + 1);
  }
  // The title of the first screen: its class and interface file, or the message shown in its place.
  std::string firstScreen() const {
    auto root = std::dynamic_pointer_cast<pf::NavigationController>(delegate->window->rootViewController());
    if (!root || root->viewControllers().size() != 1) return "(no single root screen)";
    const auto title = root->viewControllers().front()->navigationItem()->title();
    return title.value_or("(untitled)");
  }
  std::string suffix() const { return GetParam() == pf::Screen::Profile::Tablet ? "_ipad" : ""; }
  std::string help() const { return std::string("HelpViewController HelpViewController") + suffix(); }
  std::string login() const { return std::string("LoginViewController LoginViewController") + suffix(); }

  std::shared_ptr<pf::VirtualClock> clock = std::make_shared<pf::VirtualClock>();
  std::shared_ptr<AppDelegate> delegate;
};

TEST_P(AppDelegateTest, TheHelpPagesShowOncePerInstalledVersionAndLoginOtherwise) {
  launchApp();
  EXPECT_EQ(firstScreen(), help()) << "fresh install";
  EXPECT_EQ(delegate->window->backgroundColor(), pf::Color::black());
  EXPECT_TRUE(delegate->window->isKeyWindow());
  EXPECT_EQ(ViewUtil::getWindowRootViewController(), delegate->window->rootViewController());
  launchApp();
  EXPECT_EQ(firstScreen(), login()) << "relaunch";
  installVersion("9.9");
  launchApp();
  EXPECT_EQ(firstScreen(), help()) << "first launch of a new version";
  launchApp();
  EXPECT_EQ(firstScreen(), login()) << "second launch of that version";
}

// A migration that throws (here the earlier release's course records name a class the mapping lacks)
// is logged and the launch goes on to the first screen.
TEST_P(AppDelegateTest, AThrowingMigrationStillEndsAtTheFirstScreen) {
  app_test::EarlierReleaseDatabase::write(pf::Sandbox::documentsPath() + "/Marlune/Marlune.db");
  const std::string mappingPath = bundlePath() + "/DBConfig.xml";
  std::ifstream in(mappingPath);
  const std::string mapping((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::regex entity("\\n *<entity className=\"CourseStudyRecord\"([^>]*/>|[^>]*>[\\s\\S]*?</entity>)");
  std::ofstream(mappingPath, std::ios::trunc) << std::regex_replace(mapping, entity, "");
  pf::Log::Capture log;
  launchApp();
  EXPECT_EQ(firstScreen(), help());
  EXPECT_FALSE(log.lines().empty()) << "the exception is logged";
}

// A database that cannot be made (a full disk) leaves a message instead of the first screen, and the
// process goes on: nothing pauses downloads that cannot exist.
TEST_P(AppDelegateTest, AnUnavailableDatabaseShowsAMessageAndKeepsTheProcessAlive) {
  std::filesystem::create_directories(databasePath() + "/blocked");
  launchApp();
  EXPECT_EQ(delegate->databaseStart(), InitService::DatabaseStart::Unavailable);
  auto root = std::dynamic_pointer_cast<pf::NavigationController>(delegate->window->rootViewController());
  ASSERT_TRUE(root);
  auto screen = root->topViewController();
  std::shared_ptr<pf::Label> message;
  for (const auto& view : screen->view()->subviews())
    if (auto label = std::dynamic_pointer_cast<pf::Label>(view)) message = label;
  ASSERT_TRUE(message);
  EXPECT_EQ(message->text(), AppDelegate::kDatabaseUnavailableText);
  pf::Application::sharedApplication().enterBackground();
  pf::Application::sharedApplication().terminate();
  pf::HeadlessHost host;
  ASSERT_TRUE(host.render());
  EXPECT_EQ(host.pixelAt({20, 300}), (pf::Pixel{255, 255, 255, 255}));
}

TEST_P(AppDelegateTest, SnapshotOfTheFirstScreen) {
  launchApp();
  pf::HeadlessHost host;
  ASSERT_TRUE(host.render());
  const pf::Rect screen = pf::Screen::mainScreen().bounds();
  const pf::Pixel backdrop = host.pixelAt({screen.width() / 2, screen.height() * 0.7});
  EXPECT_GT(backdrop.red, 200) << "the common backdrop, not the black window";
  if (const char* folder = std::getenv("MARLUNE_SNAPSHOT_DIR"))
    host.writePng(std::string(folder) + "/first-screen" + suffix() + ".png");
}

INSTANTIATE_TEST_SUITE_P(Profiles, AppDelegateTest,
                         ::testing::Values(pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet),
                         [](const auto& info) {
                           return info.param == pf::Screen::Profile::Phone ? "Phone" : "Tablet";
                         });

}  // namespace
