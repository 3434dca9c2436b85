// The download service driven from a background thread while its transfers run on the request thread
// and report on the main thread, and the main thread keeps asking for its lists: starts, a pause in the
// middle of a transfer and the resume end in whole files and consistent records, with no data race
// (run under ThreadSanitizer).

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/foundation/DispatchQueue.h"
#include "tests/app/service/cms/DownloadFixture.h"

namespace download_test {
namespace {

class DownloadServiceConcurrencyTest : public DownloadFixture {
 protected:
  void SetUp() override {
    DownloadFixture::SetUp();
    service->getDownloadInfos();
  }

  // The unit's state, read on the main queue from any thread.
  int stateOnMainQueue(const std::string& scoId) {
    int state = -1;
    pf::DispatchQueue::main()->sync([&] { state = stateOf(scoId); });
    return state;
  }
};

// The course sync asks for the download service on its own thread: the service (and the file
// downloader's delegate it sets) is made on the main queue, so the asker waits for the main loop.
TEST_F(DownloadServiceConcurrencyTest, ConcurrencyTheServiceIsMadeOnTheMainQueue) {
  DownloadService::unload();
  std::atomic<bool> made{false};
  std::shared_ptr<DownloadService> fromBackground;
  std::thread background([&] {
    fromBackground = DownloadService::instance();
    made = true;
    pf::RunLoop::main()->wake();
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const bool madeOffTheMainThread = made.load();
  const bool served = pf::RunLoop::main()->runUntilTrue([&] { return made.load(); }, 10);
  background.join();
  EXPECT_FALSE(madeOffTheMainThread);
  ASSERT_TRUE(served);
  EXPECT_EQ(fromBackground, DownloadService::instance());
}

TEST_F(DownloadServiceConcurrencyTest, ABackgroundThreadStartsAndPausesWhileTheMainThreadAsks) {
  // S1 is held halfway by the server, paused there and resumed; the others run straight through.
  const std::vector<std::string> ids{"S1", "S2", "S3", "S4"};
  std::vector<std::shared_ptr<CourseSco>> units{unit("S1", "/held/S1.mp4")};
  for (std::size_t i = 1; i < ids.size(); ++i) units.push_back(unit(ids[i], "/v/" + ids[i] + ".mp4"));

  std::atomic<bool> resumed{false};
  std::thread background([&] {
    for (const auto& sco : units) EXPECT_TRUE(service->startDownloadingSco(sco));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (stateOnMainQueue("S1") != DownloadInfo::kDownloading &&
           std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    service->pauseDownloadingSco("S1");
    EXPECT_EQ(stateOnMainQueue("S1"), DownloadInfo::kPaused);
    gate.open();
    EXPECT_TRUE(service->startDownloadingSco(units[0]));
    resumed = true;
    pf::RunLoop::main()->wake();
  });

  std::size_t largestList = 0;
  const bool allFinished = runUntil(
      [&] {
        largestList = std::max(largestList, service->downloadInfos().size());
        service->downloadedCount();
        service->chechUnDownloadedTask();
        if (const auto current = service->currentDownloadingSco()) {
          EXPECT_TRUE(current->scoId);
        }
        return resumed && std::all_of(ids.begin(), ids.end(), [&](const auto& id) { return finished(id); });
      },
      30);
  background.join();
  ASSERT_TRUE(allFinished);

  EXPECT_EQ(largestList, ids.size());
  for (const std::string& id : ids) {
    SCOPED_TRACE(id);
    const auto record = service->sdiWithScoId(id);
    EXPECT_EQ(contentOf(*record->savePath), videoOf("/v/" + id + ".mp4"));
    EXPECT_FALSE(exists(record->tempSavePath));
    EXPECT_EQ(storedState(id), DownloadInfo::kFinished);
    EXPECT_EQ(record->totalSize, record->downloadedSize);
    EXPECT_EQ(observer->count("finished " + id), 1u);
  }
  const std::vector<std::string> ranges = rangesSentTo("/held/S1.mp4");
  ASSERT_EQ(ranges.size(), 2u);
  EXPECT_TRUE(ranges[1].starts_with("bytes=")) << "the resume asked for the rest: " << ranges[1];
  EXPECT_EQ(observer->of("paused"), std::vector<std::string>{"S1"});
  EXPECT_EQ(service->downloadedCount(), static_cast<int>(ids.size()));
  EXPECT_TRUE(service->downloadingScos().empty());
  EXPECT_FALSE(observer->offMainThread);
}

}  // namespace
}  // namespace download_test
