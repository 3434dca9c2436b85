// A download started on Wi-Fi holds one of the application's background tasks until it ends; when the
// application's background time runs out first, the transfer stops. Over the mobile network it holds
// none.

#include "app/util/ApplicationBackgroundTasks.h"

#include <gtest/gtest.h>

#include "app/util/FileDownloader.h"
#include "platform/net/ManualReachabilityProvider.h"
#include "platform/ui/Application.h"
#include "tests/app/service/cms/DownloadFixture.h"

namespace download_test {
namespace {

class Outcomes : public HttpRequestDelegate, public HttpProgressDelegate {
 public:
  void requestFinished(const HttpRequest::Ptr&) override { outcome = "finished"; }
  void requestFailed(const HttpRequest::Ptr&) override { outcome = "failed"; }
  std::string outcome;
};

class ApplicationBackgroundTasksTest : public DownloadFixture {
 protected:
  void SetUp() override {
    DownloadFixture::SetUp();
    application().reset();
    previous = pf::ReachabilityProvider::install(network);
    downloader->setDownloadDelegete(outcomes);
  }
  void TearDown() override {
    downloader->removeDownloadingTaskWithDownloadInfo(info);
    pf::ReachabilityProvider::install(previous);
    application().reset();
    DownloadFixture::TearDown();
  }

  static pf::Application& application() { return pf::Application::sharedApplication(); }

  // Starts the held download over the network of these flags and waits for its first half.
  void startOver(pf::ReachabilityFlags flags) {
    network->setFlags(flags);
    info.downloadId = "a";
    info.downloadUrlStr = server.url("/held/a.mp4");
    info.savePath = pf::Sandbox::home() + "/a";
    info.tempSavePath = pf::Sandbox::home() + "/a.part";
    downloader->startDownloadingResourceWithDownloadInfo(info, {});
    ASSERT_TRUE(runUntil([&] { return heldHalves == 1; }));
    runFor(0.1);
  }

  std::shared_ptr<pf::ManualReachabilityProvider> network = std::make_shared<pf::ManualReachabilityProvider>();
  std::shared_ptr<pf::ReachabilityProvider> previous;
  std::shared_ptr<FileDownloader> downloader = FileDownloader::instance();
  std::shared_ptr<Outcomes> outcomes = std::make_shared<Outcomes>();
  DownloadInfo info;
};

constexpr pf::ReachabilityFlags kWiFi = pf::kReachabilityFlagsReachable;
constexpr pf::ReachabilityFlags kMobile = pf::kReachabilityFlagsReachable | pf::kReachabilityFlagsIsWWAN;

TEST_F(ApplicationBackgroundTasksTest, ADownloadOnWiFiHoldsATaskUntilItEnds) {
  startOver(kWiFi);
  EXPECT_EQ(application().backgroundTaskCount(), 1u);
  gate.open();
  ASSERT_TRUE(runUntil([&] { return !outcomes->outcome.empty(); }));
  EXPECT_EQ(outcomes->outcome, "finished");
  EXPECT_TRUE(runUntil([&] { return application().backgroundTaskCount() == 0; }));
}

TEST_F(ApplicationBackgroundTasksTest, TheDownloadStopsWhenTheBackgroundTimeRunsOut) {
  startOver(kWiFi);
  ASSERT_EQ(application().backgroundTaskCount(), 1u);
  application().expireBackgroundTasks();
  ASSERT_TRUE(runUntil([&] { return !outcomes->outcome.empty(); }));
  EXPECT_EQ(outcomes->outcome, "failed");
  EXPECT_EQ(application().backgroundTaskCount(), 0u);
}

TEST_F(ApplicationBackgroundTasksTest, ADownloadOverTheMobileNetworkHoldsNone) {
  startOver(kMobile);
  EXPECT_EQ(application().backgroundTaskCount(), 0u);
  gate.open();
  ASSERT_TRUE(runUntil([&] { return !outcomes->outcome.empty(); }));
  runFor(0.1);
  EXPECT_EQ(application().backgroundTaskCount(), 0u);
}

}  // namespace
}  // namespace download_test
