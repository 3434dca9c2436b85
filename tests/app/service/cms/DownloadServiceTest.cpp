// The download service's transfers against the loopback server: two at a time, failures that stay
// with their unit, 404 and error pages, pause and resume by range, servers that ignore the range,
// units that share a file name, repeated starts, learners who share a file, and calls from a
// background thread.

#include <gtest/gtest.h>

#include "core/util/FileTool.h"
#include "platform/foundation/DispatchQueue.h"
#include "tests/app/service/cms/DownloadFixture.h"

namespace download_test {
namespace {

class DownloadServiceTest : public DownloadFixture {
 protected:
  void SetUp() override {
    DownloadFixture::SetUp();
    service->getDownloadInfos();
  }
};

TEST_F(DownloadServiceTest, ThreeStartsRunTwoAndQueueTheThird) {
  for (const char* id : {"S1", "S2", "S3"}) {
    ASSERT_TRUE(service->startDownloadingSco(unit(id, std::string("/held/") + id + ".mp4")));
    EXPECT_EQ(storedState(id), DownloadInfo::kWaiting) << id;
  }
  ASSERT_TRUE(runUntil([&] { return heldHalves == 2; }));
  runFor(0.3);
  EXPECT_EQ(requestsTo("/held/"), 2u);
  EXPECT_EQ(stateOf("S3"), DownloadInfo::kWaiting);
  EXPECT_EQ(stateOf("S1"), DownloadInfo::kDownloading);

  gate.open();
  ASSERT_TRUE(runUntil([&] { return finished("S1") && finished("S2") && finished("S3"); }));
  for (const char* id : {"S1", "S2", "S3"}) {
    const auto record = service->sdiWithScoId(id);
    EXPECT_EQ(contentOf(*record->savePath), videoOf(std::string("/v/") + id + ".mp4")) << id;
    EXPECT_FALSE(exists(record->tempSavePath)) << id;
    EXPECT_EQ(storedState(id), DownloadInfo::kFinished) << id;
    EXPECT_EQ(record->totalSize, record->downloadedSize);
    EXPECT_EQ(service->vedioPathWithScoID(id), record->savePath);
  }
  EXPECT_EQ(requestsTo("/held/"), 3u);
  EXPECT_TRUE(service->downloadingScos().empty());
  EXPECT_EQ(service->downloadedCount(), 3);
  std::vector<std::string> finishedUnits = observer->of("finished");
  std::sort(finishedUnits.begin(), finishedUnits.end());  // the first two end in either order
  EXPECT_EQ(finishedUnits, (std::vector<std::string>{"S1", "S2", "S3"}));
  EXPECT_GT(observer->progressReports, 0);
  EXPECT_FALSE(observer->offMainThread);
}

TEST_F(DownloadServiceTest, ANetworkFailureFailsOnlyItsOwnUnit) {
  ASSERT_TRUE(service->startDownloadingSco(unit("S1", "/held/a.mp4")));
  ASSERT_TRUE(service->startDownloadingSco(unit("S2", "/broken/b.mp4")));
  ASSERT_TRUE(runUntil([&] { return stateOf("S2") == DownloadInfo::kFailed; }));
  EXPECT_EQ(storedState("S2"), DownloadInfo::kFailed);
  EXPECT_EQ(observer->of("failed"), std::vector<std::string>{"S2"});
  EXPECT_NE(stateOf("S1"), DownloadInfo::kFailed);

  gate.open();
  ASSERT_TRUE(runUntil([&] { return finished("S1"); }));
  EXPECT_EQ(contentOf(*service->sdiWithScoId("S1")->savePath), videoOf("/v/a.mp4"));
  EXPECT_FALSE(exists(service->sdiWithScoId("S2")->savePath));
  EXPECT_EQ(observer->of("failed"), std::vector<std::string>{"S2"});
}

TEST_F(DownloadServiceTest, OnlyASuccessfulAnswerFinishesAUnit) {
  const struct {
    const char* path;
    int state;
  } cases[] = {{"/missing/a.mp4", DownloadInfo::kNotFound}, {"/error/a.mp4", DownloadInfo::kFailed}};
  int index = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const std::string id = "S" + std::to_string(++index);
    ASSERT_TRUE(service->startDownloadingSco(unit(id, c.path)));
    ASSERT_TRUE(
        runUntil([&] { return !observer->of("failed").empty() && observer->of("failed").back() == id; }));
    const auto record = service->sdiWithScoId(id);
    EXPECT_EQ(record->downloadState, c.state);
    EXPECT_EQ(storedState(id), c.state);
    EXPECT_FALSE(record->hasDownloaded);
    EXPECT_FALSE(exists(record->savePath));
    EXPECT_EQ(service->vedioPathWithScoID(id), std::nullopt);
  }
  EXPECT_EQ(service->downloadedCount(), 0);
  EXPECT_TRUE(observer->of("finished").empty());
}

TEST_F(DownloadServiceTest, PauseKeepsThePartialFileAndTheRestartAsksForTheRest) {
  ASSERT_TRUE(service->startDownloadingSco(unit("S1", "/held/a.mp4")));
  ASSERT_TRUE(runUntil([&] { return heldHalves == 1 && stateOf("S1") == DownloadInfo::kDownloading; }));
  service->pauseDownloadingSco("S1");
  const auto record = service->sdiWithScoId("S1");
  EXPECT_EQ(record->downloadState, DownloadInfo::kPaused);
  EXPECT_EQ(storedState("S1"), DownloadInfo::kPaused);
  EXPECT_EQ(observer->of("paused"), std::vector<std::string>{"S1"});
  ASSERT_TRUE(exists(record->tempSavePath));
  const auto partial = std::filesystem::file_size(*record->tempSavePath);
  EXPECT_GT(partial, 0u);
  EXPECT_FALSE(exists(record->savePath));

  gate.open();
  ASSERT_TRUE(service->startDownloadingSco(unit("S1", "/held/a.mp4")));
  ASSERT_TRUE(runUntil([&] { return finished("S1"); }));
  EXPECT_EQ(rangesSentTo("/held/a.mp4"),
            (std::vector<std::string>{"(none)", "bytes=" + std::to_string(partial) + "-"}));
  EXPECT_EQ(contentOf(*record->savePath), videoOf("/v/a.mp4"));
  EXPECT_EQ(record->totalSize, videoOf("/v/a.mp4").size());
  EXPECT_FALSE(exists(record->tempSavePath));
}

TEST_F(DownloadServiceTest, AServerThatIgnoresTheRangeRestartsTheFileCleanly) {
  const auto planned = service->scoDownloadInfoWithScoInfoReference(unit("S1", "/norange/a.mp4"));
  std::ofstream(*planned->tempSavePath, std::ios::binary) << std::string(1000, 'x');
  ASSERT_TRUE(service->startDownloadingSco(unit("S1", "/norange/a.mp4")));
  ASSERT_TRUE(runUntil([&] { return finished("S1"); }));
  EXPECT_EQ(rangesSentTo("/norange/a.mp4"), std::vector<std::string>{"bytes=1000-"});
  EXPECT_EQ(contentOf(*planned->savePath), videoOf("/v/a.mp4"));
}

TEST_F(DownloadServiceTest, UnitsEndingInTheSameFileNameKeepTheirOwnFiles) {
  ASSERT_TRUE(service->startDownloadingSco(unit("S1", "/v/one/video.mp4")));
  ASSERT_TRUE(service->startDownloadingSco(unit("S2", "/v/two/video.mp4")));
  ASSERT_TRUE(runUntil([&] { return finished("S1") && finished("S2"); }));
  const auto first = service->sdiWithScoId("S1");
  const auto second = service->sdiWithScoId("S2");
  EXPECT_NE(first->savePath, second->savePath);
  EXPECT_NE(first->tempSavePath, second->tempSavePath);
  EXPECT_EQ(contentOf(*first->savePath), videoOf("/v/one/video.mp4"));
  EXPECT_EQ(contentOf(*second->savePath), videoOf("/v/two/video.mp4"));
  EXPECT_NE(videoOf("/v/one/video.mp4"), videoOf("/v/two/video.mp4"));
  for (const auto& record : {first, second}) {
    EXPECT_EQ(std::filesystem::path(*record->savePath).parent_path(), FileTool::getDownloadDir());
    EXPECT_EQ(std::filesystem::path(*record->tempSavePath).parent_path(), FileTool::getDownloadTmpDir());
  }
}

TEST_F(DownloadServiceTest, AddressesWithoutAUsableFileNameAreRefusedWithTheAlert) {
  const char* paths[] = {"", "/", "/v/..", "/v/%2E%2E", "/v/."};
  int index = 0;
  for (const char* path : paths) {
    SCOPED_TRACE(path);
    pf::AlertView::resetVisibleAlerts();
    const std::string id = "S" + std::to_string(++index);
    auto sco = unit(id, path);
    if (std::string(path).empty()) sco->videoUrl = std::nullopt;
    EXPECT_FALSE(service->startDownloadingSco(sco));
    ASSERT_EQ(pf::AlertView::visibleAlerts().size(), 1u);
    EXPECT_EQ(pf::AlertView::visibleAlerts()[0]->message(), DownloadService::kNoVideoMessage);
    EXPECT_EQ(rowCount(id), 0);
    EXPECT_EQ(service->sdiWithScoId(id), nullptr);
  }
  EXPECT_EQ(requestsTo("/"), 0u);
  // Encoded separators are only part of the last name: the file stays in the folder.
  const auto planned = service->scoDownloadInfoWithScoInfoReference(unit("S9", "/v/a%2F..%2F..%2Fescape"));
  EXPECT_EQ(std::filesystem::path(*planned->savePath).parent_path(), FileTool::getDownloadDir());
}

TEST_F(DownloadServiceTest, StartingAUnitUnderWayAgainQueuesNoSecondTransfer) {
  ASSERT_TRUE(service->startDownloadingSco(unit("S1", "/held/a.mp4")));
  ASSERT_TRUE(service->startDownloadingSco(unit("S1", "/held/a.mp4")));  // still waiting
  ASSERT_TRUE(runUntil([&] { return heldHalves == 1 && stateOf("S1") == DownloadInfo::kDownloading; }));
  ASSERT_TRUE(service->startDownloadingSco(unit("S1", "/held/a.mp4")));  // downloading
  EXPECT_EQ(stateOf("S1"), DownloadInfo::kDownloading);
  gate.open();
  ASSERT_TRUE(runUntil([&] { return finished("S1"); }));
  runFor(0.2);
  EXPECT_EQ(requestsTo("/held/"), 1u);
  EXPECT_EQ(observer->of("finished"), std::vector<std::string>{"S1"});
  EXPECT_EQ(contentOf(*service->sdiWithScoId("S1")->savePath), videoOf("/v/a.mp4"));
}

TEST_F(DownloadServiceTest, StartingAFinishedUnitStartsNothing) {
  ASSERT_TRUE(service->startDownloadingSco(unit("S1", "/v/a.mp4")));
  ASSERT_TRUE(runUntil([&] { return finished("S1"); }));
  ASSERT_TRUE(service->startDownloadingSco(unit("S1", "/v/a.mp4")));
  runFor(0.2);
  EXPECT_EQ(requestsTo("/v/"), 1u);
  EXPECT_EQ(stateOf("S1"), DownloadInfo::kFinished);
}

TEST_F(DownloadServiceTest, AFinishedUnitWhoseFileWasDeletedDownloadsAgain) {
  ASSERT_TRUE(service->startDownloadingSco(unit("S1", "/v/a.mp4")));
  ASSERT_TRUE(runUntil([&] { return finished("S1"); }));
  const std::string file = *service->sdiWithScoId("S1")->savePath;
  std::filesystem::remove(file);
  EXPECT_EQ(service->vedioPathWithScoID("S1"), std::nullopt);
  EXPECT_EQ(service->downloadedCount(), 1);  // until it is started again

  ASSERT_TRUE(service->startDownloadingSco(unit("S1", "/v/a.mp4")));
  EXPECT_EQ(storedState("S1"), DownloadInfo::kWaiting);
  ASSERT_TRUE(runUntil([&] { return finished("S1"); }));
  EXPECT_EQ(requestsTo("/v/"), 2u);
  EXPECT_EQ(contentOf(file), videoOf("/v/a.mp4"));
  EXPECT_EQ(service->vedioPathWithScoID("S1"), file);
}

TEST_F(DownloadServiceTest, LearnersShareAFinishedFileUntilTheLastOneRemovesIt) {
  ASSERT_TRUE(service->startDownloadingSco(unit("S1", "/v/a.mp4")));
  ASSERT_TRUE(runUntil([&] { return finished("S1"); }));
  const std::string file = *service->sdiWithScoId("S1")->savePath;

  signIn("U2");
  service->getDownloadInfos();
  EXPECT_EQ(service->sdiWithScoId("S1"), nullptr);
  ASSERT_TRUE(service->startDownloadingSco(unit("S1", "/v/a.mp4")));
  runFor(0.2);
  EXPECT_EQ(requestsTo("/v/"), 1u);
  const auto copy = service->sdiWithScoId("S1");
  EXPECT_EQ(copy->downloadState, DownloadInfo::kFinished);
  EXPECT_EQ(copy->userId, "U2");
  EXPECT_EQ(storedState("S1", "U2"), DownloadInfo::kFinished);
  EXPECT_EQ(service->vedioPathWithScoID("S1"), file);
  EXPECT_TRUE(service->downloadingScos().empty());

  service->removeDownloadScosInMarkableDownloadScos(
      std::vector{std::make_shared<SelectedObject>(pf::Value(copy))});  // not ticked: nothing happens
  EXPECT_EQ(rowCount("S1"), 2);
  auto ticked = std::make_shared<SelectedObject>(pf::Value(copy));
  ticked->selected = true;
  service->removeDownloadScosInMarkableDownloadScos(std::vector{ticked});
  EXPECT_EQ(rowCount("S1"), 1);
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ(observer->of("removed"), std::vector<std::string>{"S1"});

  signIn("U1");
  service->getDownloadInfos();
  auto mine = std::make_shared<SelectedObject>(pf::Value(service->sdiWithScoId("S1")));
  mine->selected = true;
  service->removeDownloadScosInMarkableDownloadScos(std::vector{mine});
  EXPECT_EQ(rowCount("S1"), 0);
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(DownloadServiceTest, AnotherLearnersPartialDownloadIsResumedFromTheSharedFile) {
  ASSERT_TRUE(service->startDownloadingSco(unit("S1", "/held/a.mp4")));
  ASSERT_TRUE(runUntil([&] { return heldHalves == 1 && stateOf("S1") == DownloadInfo::kDownloading; }));
  service->pauseAllTasks();
  EXPECT_EQ(storedState("S1"), DownloadInfo::kPaused);
  const auto partial = std::filesystem::file_size(*service->sdiWithScoId("S1")->tempSavePath);

  signIn("U2");
  service->getDownloadInfos();
  gate.open();
  ASSERT_TRUE(service->startDownloadingSco(unit("S1", "/held/a.mp4")));
  EXPECT_EQ(storedState("S1", "U2"), DownloadInfo::kWaiting);
  ASSERT_TRUE(runUntil([&] { return finished("S1"); }));
  EXPECT_EQ(rangesSentTo("/held/a.mp4").back(), "bytes=" + std::to_string(partial) + "-");
  EXPECT_EQ(contentOf(*service->sdiWithScoId("S1")->savePath), videoOf("/v/a.mp4"));
}

// A first answer of unknown length, paused halfway; the resumed answer's "Content-Range" names the whole
// file, which is the size to record from its head on (progress mid-transfer and the total kept after a
// crash), not the remainder's length.
TEST_F(DownloadServiceTest, AResumedDownloadRecordsTheWholeFilesSizeFromItsHead) {
  const std::string video = videoOf("/v/a.mp4");
  // Shared with the server's thread, which may still be writing when a failed assertion ends the test.
  auto resumedGate = std::make_shared<Gate>();
  auto resumedHeld = std::make_shared<std::atomic<bool>>(false);
  server.route("/unsized/*", [this, video, resumedGate, resumedHeld](devserver::Exchange& e) {
    if (const auto range = e.request().header("Range")) {
      const std::size_t from = std::stoul(range->substr(6));
      e.sendHead(206, {{"Content-Range", "bytes " + std::to_string(from) + "-" + std::to_string(video.size() - 1) +
                                             "/" + std::to_string(video.size())},
                       {"Content-Length", std::to_string(video.size() - from)}});
      e.write(std::string_view(video).substr(from, 100));
      *resumedHeld = true;
      resumedGate->wait();
      e.write(std::string_view(video).substr(from + 100));
      return;
    }
    e.sendHead(200, {{"Connection", "close"}});
    e.write(std::string_view(video).substr(0, video.size() / 2));
    ++heldHalves;
    gate.wait();
    e.write(std::string_view(video).substr(video.size() / 2));
    e.closeConnection();
  });
  ASSERT_TRUE(service->startDownloadingSco(unit("S1", "/unsized/a.mp4")));
  ASSERT_TRUE(runUntil([&] {
    const auto record = service->sdiWithScoId("S1");
    return heldHalves == 1 && record && record->tempSavePath && exists(record->tempSavePath) &&
           std::filesystem::file_size(*record->tempSavePath) > 0;
  }));
  service->pauseDownloadingSco("S1");
  gate.open();
  ASSERT_EQ(service->sdiWithScoId("S1")->totalSize, 0u) << "the first answer named no length";

  ASSERT_TRUE(service->startDownloadingSco(unit("S1", "/unsized/a.mp4")));
  // Held after its first bytes, once the answer's head has reached the service.
  const bool held = runUntil([&] { return resumedHeld->load() && service->sdiWithScoId("S1")->totalSize > 0; });
  const unsigned long long midway = service->sdiWithScoId("S1")->totalSize;
  const long long stored =
      VelkDBHelper::instance()
          ->queryForSingleResult(101, "select total_size from sco_download_info where sco_id = 'S1'")
          .longLongValue();
  resumedGate->open();
  ASSERT_TRUE(held);
  EXPECT_EQ(midway, video.size());
  EXPECT_EQ(stored, static_cast<long long>(video.size()));
  ASSERT_TRUE(runUntil([&] { return finished("S1"); }));
  EXPECT_EQ(contentOf(*service->sdiWithScoId("S1")->savePath), video);
}

TEST_F(DownloadServiceTest, RemovingADownloadingUnitStopsItAndLeavesNoFile) {
  ASSERT_TRUE(service->startDownloadingSco(unit("S1", "/held/a.mp4")));
  ASSERT_TRUE(runUntil([&] { return heldHalves == 1 && stateOf("S1") == DownloadInfo::kDownloading; }));
  const auto record = service->sdiWithScoId("S1");
  auto ticked = std::make_shared<SelectedObject>(pf::Value(record));
  ticked->selected = true;
  service->removeDownloadScosInMarkableDownloadScos(std::vector{ticked});
  EXPECT_EQ(observer->events.back(), "removed S1");
  EXPECT_EQ(observer->count("paused S1"), 1u);
  EXPECT_LT(
      std::find(observer->events.begin(), observer->events.end(), "paused S1") - observer->events.begin(),
      std::find(observer->events.begin(), observer->events.end(), "removed S1") - observer->events.begin());

  gate.open();
  runFor(0.5);
  EXPECT_FALSE(exists(record->savePath));
  EXPECT_FALSE(exists(record->tempSavePath));
  EXPECT_EQ(rowCount("S1"), 0);
  EXPECT_EQ(service->sdiWithScoId("S1"), nullptr);
  EXPECT_TRUE(observer->of("finished").empty());
}

TEST_F(DownloadServiceTest, CallsFromABackgroundThreadRunOnTheMainQueueAndReportThere) {
  ASSERT_TRUE(service->startDownloadingSco(unit("S'1", "/v/a.mp4")));
  ASSERT_TRUE(runUntil([&] { return finished("S'1"); }));
  std::atomic<bool> done{false};
  pf::DispatchQueue::global()->async([&] {
    service->getDownloadInfos();
    auto ticked = std::make_shared<SelectedObject>(pf::Value(service->sdiWithScoId("S'1")));
    ticked->selected = true;
    service->removeDownloadScosInMarkableDownloadScos(std::vector{ticked});
    done = true;
  });
  ASSERT_TRUE(runUntil([&] { return done && observer->count("removed S'1") == 1; }));
  EXPECT_FALSE(observer->offMainThread);
  EXPECT_EQ(rowCount("S'1"), 0);
  EXPECT_EQ(service->downloadedCount(), 0);
}

}  // namespace
}  // namespace download_test
