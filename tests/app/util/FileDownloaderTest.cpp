// The file downloader on its own: the process-wide queue keeps going when one transfer fails, a
// record's transfer is queued once, and a pause stops it without reports while keeping its bytes.

#include "app/util/FileDownloader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "tests/app/service/cms/DownloadFixture.h"

namespace download_test {
namespace {

class DownloaderOutcomes : public HttpRequestDelegate, public HttpProgressDelegate {
 public:
  void requestFinished(const HttpRequest::Ptr& request) override { results[idOf(request)] = "finished"; }
  void requestFailed(const HttpRequest::Ptr& request) override { results[idOf(request)] = "failed"; }
  static std::string idOf(const HttpRequest::Ptr& request) {
    return *request->userInfo.get()->at("id").string();
  }
  std::map<std::string, std::string> results;
};

class FileDownloaderTest : public DownloadFixture {
 protected:
  void SetUp() override {
    DownloadFixture::SetUp();
    downloader->setDownloadDelegete(outcomes);
  }
  void TearDown() override {
    for (const auto& [id, info] : infos) downloader->removeDownloadingTaskWithDownloadInfo(info);
    DownloadFixture::TearDown();
  }

  DownloadInfo& info(const std::string& id, const std::string& path) {
    DownloadInfo& made = infos[id];
    made.downloadId = id;
    made.downloadUrlStr = server.url(path);
    made.savePath = home() + "/" + id;
    made.tempSavePath = home() + "/" + id + ".part";
    return made;
  }
  static std::string home() { return pf::Sandbox::home(); }

  std::shared_ptr<FileDownloader> downloader = FileDownloader::instance();
  std::shared_ptr<DownloaderOutcomes> outcomes = std::make_shared<DownloaderOutcomes>();
  std::map<std::string, DownloadInfo> infos;
};

TEST_F(FileDownloaderTest, OneFailedTransferLeavesTheOthersRunning) {
  EXPECT_FALSE(downloader->downloadQueue()->shouldCancelAllRequestsOnFailure);
  EXPECT_EQ(downloader->maxConcurrentOperationCount(), DownloadService::kMaxConcurrentTransfers);
  downloader->startDownloadingResourceWithDownloadInfo(info("a", "/held/a.mp4"), {{"scoId", pf::Value("A")}});
  downloader->startDownloadingResourceWithDownloadInfo(info("b", "/broken/b.mp4"), {});
  ASSERT_TRUE(runUntil([&] { return outcomes->results.contains("b"); }));
  EXPECT_EQ(outcomes->results["b"], "failed");
  gate.open();
  ASSERT_TRUE(runUntil([&] { return outcomes->results.contains("a"); }));
  EXPECT_EQ(outcomes->results["a"], "finished");
  EXPECT_EQ(contentOf(home() + "/a"), videoOf("/v/a.mp4"));
}

TEST_F(FileDownloaderTest, ARecordIsQueuedOnceAndAPauseKeepsItsBytesWithoutReports) {
  DownloadInfo& a = info("a", "/held/a.mp4");
  downloader->startDownloadingResourceWithDownloadInfo(a, {});
  downloader->startDownloadingResourceWithDownloadInfo(a, {});
  EXPECT_TRUE(downloader->isDownloadingResourceWithDownloadInfo(a));
  ASSERT_TRUE(runUntil([&] { return heldHalves == 1; }));
  runFor(0.2);
  downloader->pauseDownloadingResourceWithDownloadInfo(a);
  EXPECT_FALSE(downloader->isDownloadingResourceWithDownloadInfo(a));
  ASSERT_TRUE(std::filesystem::exists(*a.tempSavePath));
  EXPECT_GT(std::filesystem::file_size(*a.tempSavePath), 0u);
  gate.open();
  runFor(0.3);
  EXPECT_TRUE(outcomes->results.empty());
  EXPECT_EQ(requestsTo("/held/"), 1u);
  EXPECT_FALSE(std::filesystem::exists(*a.savePath));
}

}  // namespace
}  // namespace download_test
