// A download whose process is killed (SIGKILL) in the middle of the transfer resumes at the next start
// from the bytes its temporary file kept, and ends byte-identical. The killed process is this test
// program started again to run only DownloadChildProcess, which downloads until it is killed.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "app/service/cmn/InitService.h"
#include "core/reflect/TypeCode.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Sandbox.h"
#include "tests/app/service/cms/DownloadFixture.h"
#include "tests/support/ChildProcess.h"

namespace download_test {
namespace {

constexpr char kChildHome[] = "MARLUNE_DOWNLOAD_CHILD_HOME";
constexpr char kChildBundle[] = "MARLUNE_DOWNLOAD_CHILD_BUNDLE";
constexpr char kChildUrl[] = "MARLUNE_DOWNLOAD_CHILD_URL";

// Runs only when started by the test below: starts one download and keeps the main loop running.
TEST(DownloadChildProcess, DownloadsUntilKilled) {
  const char* home = std::getenv(kChildHome);
  if (!home) GTEST_SKIP() << "runs only as the child of DownloadKilledProcessTest";
  pf::Sandbox::setHome(home);
  pf::Bundle::setMainBundlePath(std::getenv(kChildBundle));
  pf::RunLoop::setMainThread();
  ASSERT_EQ(InitService().initAll(), InitService::DatabaseStart::Current);
  auto learner = std::make_shared<User>();
  learner->userId = "U1";
  CommonService().updateCurrentUser(learner);
  auto service = DownloadService::instance();
  service->getDownloadInfos();
  auto sco = std::make_shared<CourseSco>();
  sco->scoId = "K1";
  sco->courseId = "C1";
  sco->videoUrl = std::getenv(kChildUrl);
  ASSERT_TRUE(service->startDownloadingSco(sco));
  pf::RunLoop::main()->runUntilTrue([] { return false; }, 60);
  ADD_FAILURE() << "the child was not killed";
}

class DownloadKilledProcessTest : public DownloadFixture {
 protected:
  // Another process changes nothing this loop hears of: look again every few milliseconds.
  static bool poll(const std::function<bool()>& done, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }
};

TEST_F(DownloadKilledProcessTest, AKilledTransferResumesFromItsPartialFileToAByteIdenticalFile) {
  const std::string path = "/held/k.mp4";
  const auto planned = service->scoDownloadInfoWithScoInfoReference(unit("K1", path));
  pf_test::ChildProcess child(
      "DownloadChildProcess.DownloadsUntilKilled",
      {{kChildHome, pf::Sandbox::home()}, {kChildBundle, bundlePath()}, {kChildUrl, server.url(path)}});
  ASSERT_TRUE(child.started());
  // Mid-transfer: half the file sent and held, the size stored, bytes on disk.
  const auto midTransfer = [&] {
    const pf::Value total = VelkDBHelper::instance()->queryForSingleResult(
        101, "select total_size from sco_download_info where sco_id = 'K1'");
    return heldHalves == 1 && !total.isNil() && total.longLongValue() > 0 && exists(planned->tempSavePath) &&
           std::filesystem::file_size(*planned->tempSavePath) > 0;
  };
  ASSERT_TRUE(poll([&] { return midTransfer() || !child.running(); }, 60));
  ASSERT_TRUE(midTransfer()) << "not mid-transfer: " << heldHalves << " halves sent, "
                             << (exists(planned->tempSavePath) ? "a partial file" : "no partial file") << ", "
                             << rowCount("K1") << " rows";
  ASSERT_TRUE(child.kill9());
  EXPECT_EQ(VelkDBHelper::instance()->queryForSingleResult(TypeCode::String, "pragma integrity_check"),
            pf::Value("ok"));
  const auto kept = std::filesystem::file_size(*planned->tempSavePath);
  EXPECT_LT(kept, videoOf(path).size());
  EXPECT_FALSE(exists(planned->savePath));

  // The next launch of the app.
  gate.open();
  service->getDownloadInfos();
  EXPECT_EQ(stateOf("K1"), DownloadInfo::kPaused);
  EXPECT_EQ(service->sdiWithScoId("K1")->totalSize, videoOf(path).size());
  ASSERT_TRUE(service->startDownloadingSco(unit("K1", path)));
  ASSERT_TRUE(runUntil([&] { return finished("K1"); }));
  EXPECT_EQ(rangesSentTo(path), (std::vector<std::string>{"(none)", "bytes=" + std::to_string(kept) + "-"}));
  EXPECT_EQ(contentOf(*planned->savePath), videoOf(path));
  EXPECT_EQ(storedState("K1"), DownloadInfo::kFinished);
}

}  // namespace
}  // namespace download_test
