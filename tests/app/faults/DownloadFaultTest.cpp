// A unit's download when the server fails in the middle of it: it stalls past the client's time-out,
// resets or closes the connection early, answers 5xx (also to the resume), resumes from the wrong
// offset, or sends a gzip body that is truncated or cut by a reset. Each attempt ends failed within the
// time-out, never finished; the partial file keeps only bytes of the video, and the next start with a healthy
// server resumes from it to a byte-identical file.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "tests/app/service/cms/DownloadFixture.h"

namespace download_test {
namespace {

constexpr double kTimeoutSeconds = 1;

struct FaultCase {
  const char* name;
  // The answers to the first attempts, made from the video; later attempts get the video.
  std::function<std::vector<devserver::Handler>(const std::string& video)> faults;
};

devserver::Handler closedEarly(std::string body, std::size_t sent) {
  return [body, sent](devserver::Exchange& e) {
    e.sendHead(200, {{"Content-Length", std::to_string(body.size())}});
    e.write(std::string_view(body).substr(0, sent));
    e.closeConnection();
  };
}

// A resume answered from the first byte while claiming the range was honoured.
devserver::Handler wrongRange(std::string body) {
  return [body](devserver::Exchange& e) {
    e.respond(206, body,
              {{"Content-Range",
                "bytes 0-" + std::to_string(body.size() - 1) + "/" + std::to_string(body.size())}});
  };
}

const FaultCase kCases[] = {
    {"stallMidBody",
     [](const std::string& v) {
       return std::vector{devserver::answers::stallMidBody(v, v.size() / 2, 10 * kTimeoutSeconds)};
     }},
    {"resetMidBody",
     [](const std::string& v) { return std::vector{devserver::answers::resetMidBody(v, v.size() / 2)}; }},
    {"closedEarly", [](const std::string& v) { return std::vector{closedEarly(v, v.size() / 2)}; }},
    {"serverError",
     [](const std::string&) {
       return std::vector{
           devserver::answers::text(503, "<html>busy</html>", {{"Content-Type", "text/html"}})};
     }},
    {"serverErrorOnResume",
     [](const std::string& v) {
       return std::vector{
           devserver::answers::resetMidBody(v, v.size() / 2),
           devserver::answers::text(500, "<html>busy</html>", {{"Content-Type", "text/html"}})};
     }},
    {"wrongRangeOnResume",
     [](const std::string& v) {
       return std::vector{devserver::answers::resetMidBody(v, v.size() / 2), wrongRange(v)};
     }},
    {"truncatedGzip", [](const std::string& v) { return std::vector{devserver::answers::truncatedGzip(v)}; }},
    {"gzipResetMidBody",
     [](const std::string& v) {
       const std::string compressed = devserver::answers::gzip(v);
       return std::vector{devserver::answers::resetMidBody(compressed, compressed.size() / 2,
                                                           {{"Content-Encoding", "gzip"}})};
     }},
};

class DownloadFaultTest : public DownloadFixture, public ::testing::WithParamInterface<FaultCase> {
 protected:
  void SetUp() override {
    DownloadFixture::SetUp();
    previousTimeout = HttpRequest::defaultTimeOutSeconds();
    HttpRequest::setDefaultTimeOutSeconds(kTimeoutSeconds);
    service->getDownloadInfos();
  }
  void TearDown() override {
    HttpRequest::setDefaultTimeOutSeconds(previousTimeout);
    DownloadFixture::TearDown();
  }

  static std::uintmax_t sizeOf(const std::optional<std::string>& file) {
    return exists(file) ? std::filesystem::file_size(*file) : 0;
  }

  double previousTimeout = 0;
};

TEST_P(DownloadFaultTest, AFailedTransferKeepsItsBytesAndResumesToAByteIdenticalFile) {
  const std::string path = std::string("/v/") + GetParam().name + ".mp4";
  const std::string video = videoOf(path);
  const auto faults = GetParam().faults(video);
  server.planFaults(path, faults);
  const auto planned = service->scoDownloadInfoWithScoInfoReference(unit("F1", path));

  std::uintmax_t kept = 0;
  for (std::size_t attempt = 1; attempt <= faults.size(); ++attempt) {
    SCOPED_TRACE("attempt " + std::to_string(attempt));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(service->startDownloadingSco(unit("F1", path)));
    ASSERT_TRUE(runUntil([&] { return observer->count("failed F1") == attempt || finished("F1"); }));
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
              3 * kTimeoutSeconds);
    EXPECT_EQ(stateOf("F1"), DownloadInfo::kFailed);
    EXPECT_EQ(storedState("F1"), DownloadInfo::kFailed);
    EXPECT_FALSE(service->sdiWithScoId("F1")->hasDownloaded);
    EXPECT_FALSE(exists(planned->savePath));
    EXPECT_EQ(service->vedioPathWithScoID("F1"), std::nullopt);
    // The partial file holds the video's first bytes and nothing else; a refused attempt keeps it as it was.
    const std::uintmax_t size = sizeOf(planned->tempSavePath);
    ASSERT_LT(size, video.size());
    EXPECT_TRUE(contentOf(planned->tempSavePath.value_or("")) == video.substr(0, size))
        << "the partial file holds other bytes than the video's first " << size;
    if (attempt > 1) {
      EXPECT_EQ(size, kept);
    }
    kept = size;
  }
  EXPECT_TRUE(observer->of("finished").empty());

  ASSERT_TRUE(service->startDownloadingSco(unit("F1", path)));
  ASSERT_TRUE(runUntil([&] { return finished("F1") || observer->count("failed F1") > faults.size(); }));
  ASSERT_TRUE(finished("F1"));
  EXPECT_EQ(rangesSentTo(path).back(), kept > 0 ? "bytes=" + std::to_string(kept) + "-" : "(none)");
  EXPECT_TRUE(contentOf(*planned->savePath) == video) << "the finished file differs from the video";
  EXPECT_EQ(storedState("F1"), DownloadInfo::kFinished);
  EXPECT_FALSE(exists(planned->tempSavePath));
}

INSTANTIATE_TEST_SUITE_P(Faults, DownloadFaultTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace download_test
