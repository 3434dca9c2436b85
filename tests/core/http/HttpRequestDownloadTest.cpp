// Downloads to files: resuming from the temporary file, inflating gzip answers, and what an error answer
// may not do to the files already there.

#include <filesystem>
#include <random>

#include "core/http/GzipCompressor.h"
#include "tests/core/http/HttpEngineFixture.h"

namespace {

using devserver::answers::ranged;
using devserver::answers::text;

std::string randomText(std::size_t size) {
  std::mt19937 random(7);
  std::string out(size, '\0');
  for (char& c : out) c = static_cast<char>('a' + random() % 26);
  return out;
}

std::string gzip(const std::string& text) {
  const std::optional<pf::Data> data =
      GzipCompressor::compressData(pf::Data(text.begin(), text.end()), nullptr);
  return std::string(data->begin(), data->end());
}

class HttpRequestDownloadTest : public HttpEngineFixture {
 protected:
  HttpRequest::Ptr download(const std::string& path, bool resume = true) {
    auto request = get(path);
    request->downloadDestinationPath.set(destination);
    request->temporaryFileDownloadPath.set(temporary);
    request->allowResumeForFileDownloads = resume;
    return request;
  }

  const std::string destination = home.file("unit.mp4");
  const std::string temporary = home.file("unit.mp4.download");
};

TEST_F(HttpRequestDownloadTest, ResumesFromThePartialFileOnlyWhenTheServerSendsTheRange) {
  const std::string content = randomText(100);
  const struct {
    const char* name;
    devserver::Handler handler;
    long code;
  } cases[] = {
      {"206 with Content-Range appends", ranged(content), 0},
      {"200 without it starts over", text(200, content), 0},
      {"416 keeps the partial file", text(416, "", {{"Content-Range", "bytes */100"}}), 8},
      {"500 keeps the partial file", text(500, "broken"), 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = "/file" + std::to_string(&c - cases);
    server.route(path, c.handler);
    writeText(temporary, content.substr(0, 10));
    writeText(destination, "the older copy");
    auto request = download(path);
    request->startSynchronous();

    EXPECT_EQ(server.requests().back().header("Range"), "bytes=10-");
    ASSERT_EQ(errorCode(*request), c.code);
    if (c.code == 0) {
      EXPECT_EQ(readFile(destination), content);
      EXPECT_FALSE(std::filesystem::exists(temporary));
    } else {
      EXPECT_EQ(readFile(temporary), content.substr(0, 10));
      EXPECT_EQ(readFile(destination), "the older copy");
      EXPECT_NE(
          request->error.get()->localizedDescription().find(std::to_string(request->responseStatusCode)),
          std::string::npos);
    }
  }
}

TEST_F(HttpRequestDownloadTest, ATransferCutByAResetResumesToTheSameBytes) {
  const std::string content = randomText(300000);
  auto calls = std::make_shared<std::atomic<int>>(0);
  server.route("/video", [content, calls](devserver::Exchange& e) {
    if ((*calls)++ == 0) return devserver::answers::resetMidBody(content, 120000)(e);
    ranged(content)(e);
  });
  for (int attempt = 0; attempt < 3 && !std::filesystem::exists(destination); ++attempt) {
    download("/video")->startSynchronous();
  }
  EXPECT_EQ(readFile(destination), content);
  const std::vector<devserver::Request> seen = server.requests();
  ASSERT_GE(seen.size(), 2u);
  const std::optional<std::string> range = seen.back().header("Range");
  ASSERT_TRUE(range);
  EXPECT_NE(*range, "bytes=0-");
}

TEST_F(HttpRequestDownloadTest, InflatesGzipAnswersAtTheEndOrOnTheFly) {
  const std::string content = randomText(200000);
  const std::string compressed = gzip(content);
  const struct {
    const char* name;
    std::string body;
    bool wait;
    long code;
  } cases[] = {
      {"at the end", compressed, true, 0},
      {"on the fly", compressed, false, 0},
      {"corrupt, at the end", "\x1f\x8b\x08\x00garbage that is no deflate stream", true, 11},
      {"corrupt, on the fly", "\x1f\x8b\x08\x00garbage that is no deflate stream", false, 11},
      {"cut short, at the end", compressed.substr(0, compressed.size() / 2), true, 11},
      {"cut short, on the fly", compressed.substr(0, compressed.size() / 2), false, 11},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = "/gz" + std::to_string(&c - cases);
    server.route(path, text(200, c.body, {{"Content-Encoding", "gzip"}}));
    std::filesystem::remove(destination);
    auto request = download(path, false);
    request->shouldWaitToInflateCompressedResponses = c.wait;
    request->startSynchronous();
    EXPECT_EQ(errorCode(*request), c.code);
    EXPECT_EQ(std::filesystem::exists(destination), c.code == 0);
    if (c.code == 0) {
      EXPECT_EQ(readFile(destination), content);
    }
  }
}

TEST_F(HttpRequestDownloadTest, InflatesIntoMemoryToo) {
  const std::string content = randomText(100000);
  server.route("/gz", text(200, gzip(content), {{"Content-Encoding", "gzip"}}));
  server.route("/bad", text(200, "\x1f\x8b\x08\x00not deflate", {{"Content-Encoding", "gzip"}}));
  for (const bool wait : {true, false}) {
    SCOPED_TRACE(wait);
    auto request = get("/gz");
    request->shouldWaitToInflateCompressedResponses = wait;
    request->startSynchronous();
    EXPECT_EQ(body(*request), content);

    auto bad = get("/bad");
    bad->shouldWaitToInflateCompressedResponses = wait;
    bad->startSynchronous();
    // Inflating on the fly fails the request; waiting leaves it to the reader, who gets no body.
    EXPECT_EQ(errorCode(*bad), wait ? 0 : 11);
    EXPECT_FALSE(bad->responseData() && !bad->responseData()->empty());
  }
}

// A body kept in memory, or what it inflates to there, stops at the request's limit with a clear error;
// a file has no such limit.
TEST_F(HttpRequestDownloadTest, BodiesInMemoryStopAtTheirLimitAndFilesDoNot) {
  constexpr std::uint64_t kLimit = 4000;
  const std::string fits = randomText(kLimit);
  const std::string large = randomText(kLimit + 1);
  const std::string bomb(1 << 20, 'z');  // a few kilobytes compressed
  const struct {
    const char* name;
    devserver::Handler answer;
    bool waitToInflate;
    bool toFile;
    long code;
  } cases[] = {
      {"exactly the limit", text(200, fits), true, false, 0},
      {"announced beyond it", text(200, large), true, false, 12},
      {"chunked beyond it", devserver::answers::chunked({fits, "!"}), true, false, 12},
      {"inflating beyond it at the end", text(200, gzip(bomb), {{"Content-Encoding", "gzip"}}), true, false,
       12},
      {"inflating beyond it on the fly", text(200, gzip(bomb), {{"Content-Encoding", "gzip"}}), false, false,
       12},
      {"a file beyond it", text(200, large), true, true, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = "/sized" + std::to_string(&c - cases);
    server.route(path, c.answer);
    auto request = c.toFile ? download(path, false) : get(path);
    request->maxResponseDataSize = kLimit;
    request->shouldWaitToInflateCompressedResponses = c.waitToInflate;
    request->startSynchronous();
    ASSERT_EQ(errorCode(*request), c.code);
    if (c.code != 0) {
      EXPECT_EQ(request->error.get()->localizedDescription(),
                "The response is larger than the 4000 bytes that may be kept in memory");
    } else if (c.toFile) {
      EXPECT_EQ(readFile(destination), large);
    } else {
      EXPECT_EQ(body(*request), fits);
    }
  }
}

TEST_F(HttpRequestDownloadTest, AFolderInTheDestinationsPlaceIsNeverDeleted) {
  server.route("/file", text(200, "content"));
  std::filesystem::create_directories(destination);
  writeText(destination + "/keep.txt", "kept");
  auto request = download("/file", false);
  request->startSynchronous();
  ASSERT_EQ(errorCode(*request), 8);
  EXPECT_EQ(request->error.get()->localizedDescription(),
            "Failed to delete file at path '" + destination + "'");
  EXPECT_EQ(readFile(destination + "/keep.txt"), "kept");
  EXPECT_EQ(readFile(temporary), "content");
}

TEST_F(HttpRequestDownloadTest, CancellingKeepsTheTemporaryFileOnlyForAResumableDownload) {
  server.route("/slow", devserver::answers::slow({std::string(1000, 'a'), std::string(1000, 'b')}, 0.3));
  for (const bool resume : {true, false}) {
    SCOPED_TRACE(resume);
    auto delegate = std::make_shared<RecordingDelegate>();
    auto request = download("/slow", resume);
    request->setDelegate(delegate);
    request->startAsynchronous();
    ASSERT_TRUE(runMainUntil([&] { return std::filesystem::exists(temporary); }));
    request->cancel();
    ASSERT_TRUE(runMainUntil([&] { return delegate->ended(); }));
    EXPECT_EQ(errorCode(*request), 4);
    EXPECT_EQ(std::filesystem::exists(temporary), resume);
    EXPECT_FALSE(std::filesystem::exists(destination));
    std::filesystem::remove(temporary);
  }
}

}  // namespace

namespace {

// Each answer sends the next 1000 bytes from the asked offset, then goes quiet.
TEST_F(HttpRequestDownloadTest, AStalledDownloadRestartsFromWhatItHasUntilItsRetriesRunOut) {
  const std::string content = randomText(10000);
  server.route("/stalls", [content](devserver::Exchange& e) {
    const std::optional<std::string> range = e.request().header("Range");
    const std::size_t from = range ? std::stoul(range->substr(6)) : 0;
    devserver::Headers headers{{"Content-Length", std::to_string(content.size() - from)}};
    if (range) {
      headers.push_back({"Content-Range", "bytes " + std::to_string(from) + "-9999/10000"});
    }
    e.sendHead(range ? 206 : 200, headers);
    e.write(content.substr(from, 1000));
    e.pause(3);
  });
  auto request = download("/stalls");
  request->timeOutSeconds = 0.3;
  request->numberOfTimesToRetryOnTimeout = 2;
  request->startSynchronous();

  EXPECT_EQ(errorCode(*request), 2);
  const std::vector<devserver::Request> seen = server.requests();
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_FALSE(seen[0].header("Range"));
  EXPECT_EQ(seen[1].header("Range"), "bytes=1000-");
  EXPECT_EQ(seen[2].header("Range"), "bytes=2000-");
  EXPECT_EQ(readFile(temporary), content.substr(0, 3000));
  EXPECT_FALSE(std::filesystem::exists(destination));
}

}  // namespace

namespace {

class ProgressRecorder : public HttpProgressDelegate {
 public:
  void setProgress(float progress) override { last = progress; }
  void requestDidReceiveBytes(const std::shared_ptr<HttpRequest>&, long long bytes) override {
    received += bytes;
  }
  void requestIncrementDownloadSizeBy(const std::shared_ptr<HttpRequest>&, long long length) override {
    size += length;
  }
  float last = -1;
  long long received = 0;
  long long size = 0;
};

class DataRecorder : public RecordingDelegate {
 public:
  bool implements(Optional operation) const override { return operation == Optional::DidReceiveData; }
  using RecordingDelegate::request;
  void request(const HttpRequest::Ptr&, const pf::Data& data) override {
    bytes.append(data.begin(), data.end());
  }
  std::string bytes;
};

TEST_F(HttpRequestDownloadTest, AResumedDownloadReportsProgressOverTheWholeFile) {
  const std::string content = randomText(300000);
  server.route("/file", ranged(content));
  writeText(temporary, content.substr(0, 1000));
  auto progress = std::make_shared<ProgressRecorder>();
  auto delegate = std::make_shared<RecordingDelegate>();
  auto request = download("/file");
  request->setDownloadProgressDelegate(progress);
  ASSERT_TRUE(runQueued(request, delegate));
  ASSERT_TRUE(runMainUntil([&] { return progress->last == 1.0f; }));
  EXPECT_EQ(progress->size, 300000);
  EXPECT_EQ(progress->received, 300000);
  EXPECT_EQ(readFile(destination), content);
}

TEST_F(HttpRequestDownloadTest, ADelegateThatTakesTheDataKeepsItFromTheFile) {
  const std::string content = randomText(100000);
  server.route("/file", text(200, content));
  auto delegate = std::make_shared<DataRecorder>();
  auto request = download("/file", false);
  ASSERT_TRUE(runQueued(request, delegate));
  EXPECT_EQ(delegate->events.back(), "finished");
  EXPECT_EQ(delegate->bytes, content);
  EXPECT_FALSE(std::filesystem::exists(destination));
}

}  // namespace
