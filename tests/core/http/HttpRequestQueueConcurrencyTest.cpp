// A request queue with several transfers on the request thread reporting to the main thread, while
// another thread reads its counters, flags and selectors and the main thread cancels: every request
// reports once, the byte counters add up, and nothing races (run under ThreadSanitizer).

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "core/http/HttpRequestQueue.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/RunLoop.h"
#include "tests/core/http/HttpRequestFixture.h"
#include "tools/devserver/Answers.h"
#include "tools/devserver/DevServer.h"

namespace {

// What the queue relayed, by request tag, on the main thread.
class QueueEnds : public HttpRequestDelegate {
 public:
  void finished(const HttpRequest::Ptr& request) { ended[request->tag].push_back("finished"); }
  void failed(const HttpRequest::Ptr& request) {
    const pf::ErrorPtr error = request->error.get();
    ended[request->tag].push_back("failed " + std::to_string(error ? error->code() : 0));
  }
  void queueDone(const HttpRequestQueue::Ptr&) { ++queueDoneCount; }

  std::map<int, std::vector<std::string>> ended;
  int queueDoneCount = 0;
};

class Indicator : public HttpProgressDelegate {
 public:
  void setProgress(float progress) override { values.push_back(progress); }
  std::vector<float> values;
};

class HttpRequestQueueConcurrencyTest : public HttpRequestFixture {
 protected:
  void SetUp() override {
    HttpRequestFixture::SetUp();
    pf::RunLoop::setMainThread();
    // "/sized/<n>": n bytes in pieces, so progress arrives in many reports.
    server.route("/sized/*", [](devserver::Exchange& e) {
      const std::size_t size = std::stoul(e.request().path.substr(std::string("/sized/").size()));
      const std::string body(size, 'x');
      e.sendHead(200, {{"Content-Length", std::to_string(size)}});
      for (std::size_t at = 0; at < size; at += 4096) {
        e.write(std::string_view(body).substr(at, 4096));
        if (!e.pause(0.001)) return;
      }
    });
    // Sends half, then holds the rest until the server stops.
    server.route("/stuck/*", [](devserver::Exchange& e) {
      e.sendHead(200, {{"Content-Length", "2000"}});
      e.write(std::string(1000, 'x'));
      e.pause(30);
    });
    ASSERT_TRUE(server.start());
    queue->setDelegate(ends);
    queue->requestDidFinishSelector.set(static_cast<HttpRequestQueue::RequestSelector>(&QueueEnds::finished));
    queue->requestDidFailSelector.set(static_cast<HttpRequestQueue::RequestSelector>(&QueueEnds::failed));
    queue->queueDidFinishSelector.set(static_cast<HttpRequestQueue::QueueSelector>(&QueueEnds::queueDone));
  }
  void TearDown() override {
    stopReading();
    server.stop();
    pf::RunLoop::main()->clear();
    HttpRequestFixture::TearDown();
  }

  HttpRequest::Ptr to(int tag, const std::string& path) {
    auto r = HttpRequest::requestWithURL(pf::Url::parse(server.url(path)));
    r->tag = tag;
    return r;
  }

  // Another thread reads what the queue lets any thread read, until stopReading.
  void startReading() {
    reader = std::thread([this] {
      while (!stopReader) {
        if (queue->requestsCount < 0) ++oddReads;
        if (!queue->requestDidFinishSelector.get() || queue->delegate().expired()) ++oddReads;
        (void)queue->downloadProgressDelegate().lock();
        (void)queue->userInfo.get();
        (void)queue->operationCount();
        (void)queue->bytesDownloadedSoFar.load();
        (void)queue->totalBytesToDownload.load();
        ++reads;
        std::this_thread::yield();
      }
    });
  }
  void stopReading() {
    stopReader = true;
    if (reader.joinable()) reader.join();
  }

  static bool runUntil(const std::function<bool()>& done) {
    return pf::RunLoop::main()->runUntilTrue(done, 30);
  }
  // For what no report to the main loop tells of (what the server received): short turns of the loop.
  static bool pollUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      pf::RunLoop::main()->runOnce(0.005);
    }
    return true;
  }

  devserver::DevServer server;
  HttpRequestQueue::Ptr queue = HttpRequestQueue::queue();
  std::shared_ptr<QueueEnds> ends = std::make_shared<QueueEnds>();
  std::thread reader;
  std::atomic<bool> stopReader{false};
  std::atomic<long> reads{0};
  std::atomic<long> oddReads{0};
};

TEST_F(HttpRequestQueueConcurrencyTest, EveryRequestEndsOnceAndTheBytesAddUp) {
  queue->showAccurateProgress = true;
  queue->shouldCancelAllRequestsOnFailure = false;
  queue->setMaxConcurrentOperationCount(3);
  auto indicator = std::make_shared<Indicator>();
  queue->setDownloadProgressDelegate(indicator);
  queue->go();
  startReading();
  constexpr int kRequests = 8;
  std::uint64_t expected = 0;
  for (int tag = 0; tag < kRequests; ++tag) {
    const std::size_t size = 20000 + 7000 * static_cast<std::size_t>(tag);
    expected += size;
    queue->addOperation(to(tag, "/sized/" + std::to_string(size)));
  }
  ASSERT_TRUE(runUntil([&] { return ends->queueDoneCount > 0; }));
  stopReading();

  for (int tag = 0; tag < kRequests; ++tag) EXPECT_EQ(ends->ended[tag], std::vector<std::string>{"finished"});
  EXPECT_EQ(ends->queueDoneCount, 1);
  EXPECT_EQ(queue->requestsCount.load(), 0);
  EXPECT_EQ(queue->bytesDownloadedSoFar.load(), expected);
  EXPECT_EQ(queue->totalBytesToDownload.load(), expected);
  ASSERT_FALSE(indicator->values.empty());
  EXPECT_EQ(indicator->values.back(), 1.0f);
  for (const float value : indicator->values) EXPECT_TRUE(value >= 0 && value <= 1) << value;
  EXPECT_GT(reads.load(), 0);
  EXPECT_EQ(oddReads.load(), 0);
}

TEST_F(HttpRequestQueueConcurrencyTest, CancellingWhileTransfersRunFailsEachOnceWithCodeFour) {
  queue->setMaxConcurrentOperationCount(4);
  queue->go();
  startReading();
  constexpr int kRequests = 6;
  for (int tag = 0; tag < kRequests; ++tag) queue->addOperation(to(tag, "/stuck/" + std::to_string(tag)));
  ASSERT_TRUE(pollUntil([&] {
    std::size_t reading = 0;
    for (const auto& r : server.requests()) reading += r.path.starts_with("/stuck/");
    return reading == 4;
  }));
  queue->cancelAllOperations();
  ASSERT_TRUE(runUntil([&] { return ends->queueDoneCount > 0; }));
  stopReading();

  for (int tag = 0; tag < kRequests; ++tag) EXPECT_EQ(ends->ended[tag], std::vector<std::string>{"failed 4"});
  EXPECT_EQ(ends->queueDoneCount, 1);
  EXPECT_EQ(queue->requestsCount.load(), 0);
}

}  // namespace
