// The app's walk-through of a learner's day against the stand-in serving every demo method, as
// scripts/run runs it: each step must do what it says, twice on the same device.

#include "app/Walkthrough.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/service/cms/DownloadService.h"
#include "core/open/RequestUtil.h"
#include "core/open/ServiceManager.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/ManualReachabilityProvider.h"
#include "tests/app/support/AppSandbox.h"
#include "tools/devserver/demo/DemoMethods.h"
#include "tools/devserver/open/OpenDataFolder.h"

namespace {

class DemoWalkthroughTest : public AppSandbox {
 protected:
  void SetUp() override {
    AppSandbox::SetUp();
    pf::RunLoop::setMainThread();
    previousProvider_ = pf::ReachabilityProvider::install(reachability_);
    reachability_->setFlags(pf::kReachabilityFlagsReachable | pf::kReachabilityFlagsIsDirect);
    std::string problem;
    const auto folder = devserver::OpenDataFolder::read(MARLUNE_DEMO_DATA, &problem);
    ASSERT_TRUE(folder) << problem;
    server = std::make_unique<devserver::OpenServer>(folder->settings);
    folder->install(*server);
    devserver::installDemoMethods(*server, MARLUNE_DEMO_DATA);
    ASSERT_TRUE(server->start());
    settings = folder->settings;
  }
  void TearDown() override {
    DownloadService::unload();
    if (server) server->stop();
    ServiceManager::sessionCache().clear();
    pf::RunLoop::main()->clear();
    pf::ReachabilityProvider::install(previousProvider_);
    AppSandbox::TearDown();
  }

  // A launch of the app on this device, pointed at the stand-in.
  void launchAgainstServer() {
    DownloadService::unload();
    launch();
    ServiceConfiguration configuration;
    configuration.appKey = settings.appKey;
    configuration.secret = settings.secret;
    configuration.baseUrl = server->host();
    configuration.autoresetSession = true;
    ServiceManager::initConfiguration(configuration);
    ServiceManager::sessionCache().clear();
    RequestUtil::setTransport(nullptr);
  }

  std::unique_ptr<devserver::OpenServer> server;
  devserver::OpenServer::Settings settings;

 private:
  std::shared_ptr<pf::ManualReachabilityProvider> reachability_ =
      std::make_shared<pf::ManualReachabilityProvider>();
  std::shared_ptr<pf::ReachabilityProvider> previousProvider_;
};

TEST_F(DemoWalkthroughTest, EveryStepSucceedsOnAFreshDeviceAndAgainOnTheSameOne) {
  launchAgainstServer();
  EXPECT_EQ(Walkthrough("learner", "learner123", "demo").run(), 0);
  launchAgainstServer();
  EXPECT_EQ(Walkthrough("learner", "learner123", "demo").run(), 0);
  EXPECT_EQ(CommonService().getCurrentUser(), nullptr);
}

TEST_F(DemoWalkthroughTest, AGuestWithoutModulesStopsAtSignIn) {
  launchAgainstServer();
  EXPECT_EQ(Walkthrough("guest", "guest123", "demo").run(), 1);
  EXPECT_TRUE(server->calls("/v1/lcms/courseinfo/syncCourse").empty());
}

}  // namespace
