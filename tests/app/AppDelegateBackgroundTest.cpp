#include <gtest/gtest.h>

#include <memory>

#include "app/AppDelegate.h"
#include "platform/net/ManualReachabilityProvider.h"
#include "platform/net/ReachabilityFlags.h"
#include "platform/ui/Application.h"
#include "tests/app/service/cms/DownloadFixture.h"

namespace download_test {
namespace {

// Leaving the foreground pauses the running download unless the device is on Wi-Fi; terminating
// always pauses it.
class AppDelegateBackgroundTest : public DownloadFixture {
 protected:
  void SetUp() override {
    DownloadFixture::SetUp();
    previous = pf::ReachabilityProvider::install(network);
    service->getDownloadInfos();
  }
  void TearDown() override {
    pf::ReachabilityProvider::install(previous);
    pf::Application::sharedApplication().reset();
    DownloadFixture::TearDown();
  }
  // A download of the unit under way, its server holding the second half back.
  void startRunning(const std::string& scoId, int halvesBefore) {
    ASSERT_TRUE(service->startDownloadingSco(unit(scoId, "/held/" + scoId + ".mp4")));
    ASSERT_TRUE(runUntil([&] { return heldHalves == halvesBefore + 1 && stateOf(scoId) == DownloadInfo::kDownloading; }));
  }

  std::shared_ptr<pf::ManualReachabilityProvider> network = std::make_shared<pf::ManualReachabilityProvider>();
  std::shared_ptr<pf::ReachabilityProvider> previous;
  AppDelegate delegate;
};

TEST_F(AppDelegateBackgroundTest, OnlyWiFiKeepsDownloadsRunningInTheBackground) {
  struct Case {
    const char* network;
    std::optional<pf::ReachabilityFlags> flags;
    bool terminate;
    int state;
  };
  const Case cases[] = {
      {"Wi-Fi", pf::kReachabilityFlagsReachable | pf::kReachabilityFlagsIsDirect, false, DownloadInfo::kDownloading},
      {"cellular", pf::kReachabilityFlagsReachable | pf::kReachabilityFlagsIsWWAN, false, DownloadInfo::kPaused},
      {"none", 0u, false, DownloadInfo::kPaused},
      {"Wi-Fi, terminating", pf::kReachabilityFlagsReachable | pf::kReachabilityFlagsIsDirect, true,
       DownloadInfo::kPaused},
  };
  int index = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.network);
    const std::string id = "B" + std::to_string(index);
    startRunning(id, index++);
    if (HasFatalFailure()) return;
    network->setFlags(c.flags);
    auto& application = pf::Application::sharedApplication();
    if (c.terminate) {
      delegate.applicationWillTerminate(application);
    } else {
      delegate.applicationDidEnterBackground(application);
    }
    EXPECT_EQ(stateOf(id), c.state);
    service->pauseDownloadingSco(id);
  }
}

}  // namespace
}  // namespace download_test
