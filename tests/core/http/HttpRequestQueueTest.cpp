#include "core/http/HttpRequestQueue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "core/http/FormDataRequest.h"
#include "platform/foundation/Error.h"
#include "tests/core/http/HttpRequestFixture.h"
#include "tools/devserver/Answers.h"
#include "tools/devserver/DevServer.h"

namespace {

// Hears the queue's selectors and remembers them in order.
class Recorder : public HttpRequestDelegate {
 public:
  bool implements(Optional operation) const override { return operation != Optional::DidReceiveData; }
  void finished(const HttpRequest::Ptr& request) { events.push_back("finished " + tagOf(request)); }
  void failed(const HttpRequest::Ptr& request) { events.push_back("failed " + tagOf(request)); }
  void started(const HttpRequest::Ptr& request) { events.push_back("started " + tagOf(request)); }
  void queueDone(const HttpRequestQueue::Ptr&) { events.push_back("queue done"); }
  void redirecting(const HttpRequest::Ptr& request, const pf::Url& url) {
    events.push_back("redirect " + tagOf(request) + " " + url.absoluteString());
  }
  void authenticationNeededForRequest(const HttpRequest::Ptr& request) override {
    events.push_back("auth " + tagOf(request));
  }

  std::vector<std::string> events;

 private:
  static std::string tagOf(const HttpRequest::Ptr& request) { return std::to_string(request->tag.load()); }
};

class QueueIndicator : public HttpProgressDelegate {
 public:
  void setProgress(float progress) override { values.push_back(progress); }
  std::vector<float> values;
};

class HttpRequestQueueTest : public HttpRequestFixture {
 protected:
  void SetUp() override {
    HttpRequestFixture::SetUp();
    pf::RunLoop::setMainThread();
  }
  // Requests hold their queue and a suspended queue holds its requests: let go of both.
  void TearDown() override {
    for (const auto& queue : queues) {
      for (const auto& operation : queue->operations()) {
        if (auto r = std::dynamic_pointer_cast<HttpRequest>(operation)) r->setQueue(nullptr);
      }
    }
    HttpRequestFixture::TearDown();
  }

  HttpRequestQueue::Ptr makeQueue() { return queues.emplace_back(HttpRequestQueue::queue()); }

  HttpRequest::Ptr tagged(int tag, const std::string& url = "http://127.0.0.1/file") {
    auto r = request(url);
    r->tag = tag;
    return r;
  }
  void listen(const HttpRequestQueue::Ptr& queue) {
    queue->setDelegate(recorder);
    queue->requestDidStartSelector.set(static_cast<HttpRequestQueue::RequestSelector>(&Recorder::started));
    queue->requestDidFinishSelector.set(static_cast<HttpRequestQueue::RequestSelector>(&Recorder::finished));
    queue->requestDidFailSelector.set(static_cast<HttpRequestQueue::RequestSelector>(&Recorder::failed));
    queue->queueDidFinishSelector.set(static_cast<HttpRequestQueue::QueueSelector>(&Recorder::queueDone));
    queue->requestWillRedirectSelector.set(
        static_cast<HttpRequestQueue::RedirectSelector>(&Recorder::redirecting));
  }

  std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
  std::vector<HttpRequestQueue::Ptr> queues;
};

TEST_F(HttpRequestQueueTest, ANewQueueIsSuspendedWithWidthFourUntilGo) {
  auto queue = makeQueue();
  EXPECT_TRUE(queue->isSuspended());
  EXPECT_EQ(queue->maxConcurrentOperationCount(), 4);
  EXPECT_TRUE(queue->shouldCancelAllRequestsOnFailure);
  EXPECT_FALSE(queue->showAccurateProgress);
  queue->go();
  EXPECT_FALSE(queue->isSuspended());
  queue->reset();
  EXPECT_TRUE(queue->isSuspended());
}

TEST_F(HttpRequestQueueTest, RefusesWhatIsNotARequestAndKeepsItsCountsWhenARequestIsRefused) {
  auto queue = makeQueue();
  try {
    queue->addOperation(std::make_shared<pf::Operation>([] {}));
    FAIL() << "a plain operation was accepted";
  } catch (const pf::ContractViolation& violation) {
    EXPECT_EQ(violation.name(), "AttemptToAddInvalidRequest");
    EXPECT_STREQ(violation.what(),
                 "Attempted to add an object that was not an HttpRequest to an HttpRequestQueue");
  }
  EXPECT_THROW(queue->addOperation(nullptr), pf::ContractViolation);

  auto r = tagged(1);
  queue->addOperation(r);
  EXPECT_THROW(queue->addOperation(r), pf::ContractViolation);
  auto other = makeQueue();
  EXPECT_THROW(other->addOperation(r), pf::ContractViolation);
  EXPECT_EQ(queue->requestsCount.load(), 1);
  EXPECT_EQ(queue->totalBytesToDownload.load(), 1u);
  EXPECT_EQ(other->requestsCount.load(), 0);
  EXPECT_EQ(other->totalBytesToUpload.load(), 0u);
  EXPECT_EQ(r->queue(), queue);
  queue->addHEADOperation(std::make_shared<pf::Operation>([] {}));
  EXPECT_EQ(queue->operationCount(), 1u);
}

TEST_F(HttpRequestQueueTest, WithoutAccurateProgressEachRequestCountsOneUnit) {
  auto queue = makeQueue();
  std::vector<HttpRequest::Ptr> requests{tagged(1), tagged(2), tagged(3)};
  requests[1]->showAccurateProgress = true;
  for (const auto& r : requests) queue->addOperation(r);
  EXPECT_EQ(queue->requestsCount.load(), 3);
  EXPECT_EQ(queue->totalBytesToDownload.load(), 3u);
  EXPECT_EQ(queue->totalBytesToUpload.load(), 3u);
  EXPECT_EQ(queue->operationCount(), 3u);
  for (const auto& r : requests) {
    EXPECT_EQ(r->queue(), queue);
    EXPECT_FALSE(r->showAccurateProgress);
    EXPECT_FALSE(r->shouldResetUploadProgress);
    EXPECT_TRUE(r->shouldResetDownloadProgress);
  }
}

TEST_F(HttpRequestQueueTest, WithAccurateProgressASuspendedGetWaitsForItsHeadTwinAndBodiesCountTheirBytes) {
  auto queue = makeQueue();
  queue->showAccurateProgress = true;
  auto get = tagged(1);
  auto upload = FormDataRequest::requestWithURL(pf::Url::parse("http://127.0.0.1/upload"));
  upload->addPostValue("1", "a");
  upload->addPostValue("2", "b");
  queue->addOperation(get);
  queue->addOperation(upload);

  const auto operations = queue->operations();
  ASSERT_EQ(operations.size(), 3u);
  const auto head = std::dynamic_pointer_cast<HttpRequest>(operations[1]);
  ASSERT_TRUE(head);
  EXPECT_EQ(head->requestMethod(), "HEAD");
  EXPECT_EQ(head->mainRequest.get().lock(), get);
  EXPECT_EQ(head->queue(), queue);
  EXPECT_TRUE(head->showAccurateProgress);
  ASSERT_EQ(get->dependencies().size(), 1u);
  EXPECT_EQ(get->dependencies()[0], head);
  EXPECT_FALSE(get->shouldResetDownloadProgress);
  EXPECT_TRUE(upload->dependencies().empty());
  EXPECT_TRUE(upload->shouldResetDownloadProgress);

  EXPECT_EQ(queue->requestsCount.load(), 2);
  EXPECT_EQ(queue->totalBytesToUpload.load(), 7u);  // "a=1&b=2"
  EXPECT_EQ(queue->totalBytesToDownload.load(), 0u);

  // Once running, a GET sizes itself from its own headers.
  queue->setMaxConcurrentOperationCount(0);
  queue->go();
  auto late = tagged(2);
  queue->addOperation(late);
  EXPECT_TRUE(late->dependencies().empty());
  EXPECT_EQ(queue->operationCount(), 4u);
}

TEST_F(HttpRequestQueueTest, RelaysEventsThroughItsSelectorsAndReportsEachTimeItEmpties) {
  auto queue = makeQueue();
  queue->shouldCancelAllRequestsOnFailure = false;
  listen(queue);
  auto one = tagged(1);
  auto two = tagged(2);
  queue->addOperation(one);
  queue->addOperation(two);

  queue->requestStarted(one);
  queue->request(one, *pf::Url::parse("http://127.0.0.1/moved"));
  queue->authenticationNeededForRequest(one);
  queue->requestFinished(one);
  queue->requestFailed(two);
  queue->addOperation(tagged(3));
  queue->requestFinished(tagged(3));
  const std::vector<std::string> expected{"started 1",  "redirect 1 http://127.0.0.1/moved",
                                          "auth 1",     "finished 1",
                                          "failed 2",   "queue done",
                                          "finished 3", "queue done"};
  EXPECT_EQ(recorder->events, expected);
  EXPECT_FALSE(one->isCancelled());
}

TEST_F(HttpRequestQueueTest, AnswersForRedirectsAndCredentialsOnlyWhenItsDelegateDoes) {
  auto queue = makeQueue();
  using Optional = HttpRequestDelegate::Optional;
  EXPECT_FALSE(queue->implements(Optional::AuthenticationNeeded));
  EXPECT_FALSE(queue->implements(Optional::WillRedirect));
  queue->setDelegate(recorder);
  EXPECT_TRUE(queue->implements(Optional::AuthenticationNeeded));
  EXPECT_TRUE(queue->implements(Optional::ProxyAuthenticationNeeded));
  EXPECT_FALSE(queue->implements(Optional::WillRedirect));  // no selector yet
  EXPECT_FALSE(queue->implements(Optional::DidReceiveData));
  listen(queue);
  EXPECT_TRUE(queue->implements(Optional::WillRedirect));
}

TEST_F(HttpRequestQueueTest, AddsUpProgressAcrossRequestsWithoutGoingBelowZero) {
  auto queue = makeQueue();
  queue->showAccurateProgress = true;
  auto download = std::make_shared<QueueIndicator>();
  auto upload = std::make_shared<QueueIndicator>();
  queue->setDownloadProgressDelegate(download);
  queue->setUploadProgressDelegate(upload);
  EXPECT_EQ(download->values, std::vector<float>{0});
  auto one = tagged(1);
  auto two = tagged(2);
  queue->requestIncrementDownloadSizeBy(one, 300);
  queue->requestIncrementDownloadSizeBy(two, 100);
  queue->requestDidReceiveBytes(one, 100);
  queue->requestDidReceiveBytes(two, 100);
  queue->requestIncrementDownloadSizeBy(two, -1000);  // the server ignored a resume: less to come
  EXPECT_EQ(queue->totalBytesToDownload.load(), 0u);
  queue->requestIncrementDownloadSizeBy(one, 400);
  queue->requestDidReceiveBytes(one, 200);
  EXPECT_EQ(download->values, (std::vector<float>{0, 0.25f, 0.5f, 1.0f}));

  queue->requestIncrementUploadSizeBy(one, 1000);
  queue->requestDidSendBytes(one, 250);
  queue->requestDidSendBytes(one, -250);  // a retry takes back what it had sent
  EXPECT_EQ(queue->bytesUploadedSoFar.load(), 0u);
  EXPECT_EQ(upload->values, (std::vector<float>{0, 0.25f, 0}));
}

TEST_F(HttpRequestQueueTest, CancellingAGetAndItsHeadTwinReportsOneFailure) {
  auto queue = makeQueue();
  listen(queue);
  queue->showAccurateProgress = true;
  auto get = tagged(1);
  queue->addOperation(get);
  const auto operations = queue->operations();
  ASSERT_EQ(operations.size(), 2u);
  queue->cancelAllOperations();
  ASSERT_TRUE(pf::RunLoop::main()->runUntilTrue(
      [&] { return operations[0]->isCancelled() && operations[1]->isCancelled(); }, 10));
  // Both cancellations have posted their reports by now; this runs after them.
  bool drained = false;
  pf::RunLoop::main()->post([&] { drained = true; });
  ASSERT_TRUE(pf::RunLoop::main()->runUntilTrue([&] { return drained; }, 10));
  EXPECT_EQ(recorder->events, (std::vector<std::string>{"failed 1", "queue done"}));
  EXPECT_EQ(queue->requestsCount.load(), 0);
  ASSERT_TRUE(get->error.get());
  EXPECT_EQ(get->error.get()->code(), 4);
}

TEST_F(HttpRequestQueueTest, ResetCancelsAndForgetsAllButTheRedirectSelector) {
  auto queue = makeQueue();
  listen(queue);
  auto indicator = std::make_shared<QueueIndicator>();
  queue->setDownloadProgressDelegate(indicator);
  auto r = tagged(1);
  queue->addOperation(r);
  queue->reset();
  EXPECT_TRUE(pf::RunLoop::main()->runUntilTrue([&] { return r->isCancelled(); }, 10));
  EXPECT_TRUE(queue->isSuspended());
  EXPECT_FALSE(queue->delegate().lock());
  EXPECT_FALSE(queue->downloadProgressDelegate().lock());
  EXPECT_FALSE(queue->requestDidStartSelector.get());
  EXPECT_FALSE(queue->requestDidFinishSelector.get());
  EXPECT_FALSE(queue->requestDidFailSelector.get());
  EXPECT_FALSE(queue->queueDidFinishSelector.get());
  EXPECT_TRUE(queue->requestWillRedirectSelector.get());
  EXPECT_EQ(queue->totalBytesToDownload.load(), 0u);
}

TEST_F(HttpRequestQueueTest, ACopyTakesTheSettingsButNotTheRequests) {
  auto queue = makeQueue();
  listen(queue);
  queue->shouldCancelAllRequestsOnFailure = false;
  queue->showAccurateProgress = true;
  queue->userInfo.set(pf::Dictionary{{"owner", "downloads"}});
  queue->setMaxConcurrentOperationCount(2);
  queue->addOperation(tagged(1));

  const auto c = queue->copy();
  EXPECT_EQ(c->delegate().lock(), recorder);
  EXPECT_EQ(c->requestDidFinishSelector.get(), queue->requestDidFinishSelector.get());
  EXPECT_EQ(c->queueDidFinishSelector.get(), queue->queueDidFinishSelector.get());
  EXPECT_FALSE(c->shouldCancelAllRequestsOnFailure);
  EXPECT_TRUE(c->showAccurateProgress);
  EXPECT_EQ(c->userInfo.get(), queue->userInfo.get());
  EXPECT_EQ(c->operationCount(), 0u);
  EXPECT_EQ(c->requestsCount.load(), 0);
  EXPECT_EQ(c->maxConcurrentOperationCount(), 4);
  EXPECT_TRUE(c->isSuspended());
}

// Holds the server's answers until the test lets them go.
class Gate {
 public:
  void wait() {
    std::unique_lock lock(mutex_);
    opened_.wait_for(lock, std::chrono::seconds(10), [this] { return open_; });
  }
  void open() {
    {
      std::lock_guard lock(mutex_);
      open_ = true;
    }
    opened_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable opened_;
  bool open_ = false;
};

// What each request's own delegate heard, by tag: "finished" or "failed <code>".
class Outcomes : public HttpRequestDelegate {
 public:
  void requestFinished(const HttpRequest::Ptr& request) override { results[request->tag] = "finished"; }
  void requestFailed(const HttpRequest::Ptr& request) override {
    const pf::ErrorPtr error = request->error.get();
    results[request->tag] = "failed " + std::to_string(error ? error->code() : 0);
  }
  std::map<int, std::string> results;
};

class HttpRequestQueueNetworkTest : public HttpRequestQueueTest {
 protected:
  void SetUp() override {
    HttpRequestQueueTest::SetUp();
    server.route("/held/*", [this](devserver::Exchange& e) {
      gate.wait();
      e.respond(200, "held");
    });
    server.route("/broken", devserver::answers::resetMidBody("a body cut short", 3));
    // "/sized/<n>": n bytes; a HEAD gets the length alone.
    server.route("/sized/*", [](devserver::Exchange& e) {
      const std::string body(std::stoul(e.request().path.substr(std::string("/sized/").size())), 'x');
      if (e.request().method == "HEAD") {
        e.sendHead(200, {{"Content-Length", std::to_string(body.size())}});
      } else {
        e.respond(200, body);
      }
    });
    ASSERT_TRUE(server.start());
  }
  void TearDown() override {
    gate.open();
    server.stop();
    HttpRequestQueueTest::TearDown();
  }

  HttpRequest::Ptr to(int tag, const std::string& path) {
    auto r = tagged(tag, server.url(path));
    r->setDelegate(outcomes);
    return r;
  }
  std::size_t received(const std::string& prefix) const {
    std::size_t count = 0;
    for (const auto& r : server.requests()) count += r.path.starts_with(prefix);
    return count;
  }
  static bool runUntil(const std::function<bool()>& done) {
    return pf::RunLoop::main()->runUntilTrue(done, 10);
  }
  // For what the server received: nothing tells the main loop of it, so it turns in short slices
  // (a loop left asleep would let the held requests time out).
  static bool pollUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      pf::RunLoop::main()->runOnce(0.005);
    }
    return true;
  }

  Gate gate;
  devserver::DevServer server;
  std::shared_ptr<Outcomes> outcomes = std::make_shared<Outcomes>();
};

TEST_F(HttpRequestQueueNetworkTest, AQueueOfWidthTwoHoldsBackTheThirdRequestUntilOneEnds) {
  auto queue = makeQueue();
  listen(queue);
  queue->setMaxConcurrentOperationCount(2);
  const std::vector<HttpRequest::Ptr> requests{to(1, "/held/1"), to(2, "/held/2"), to(3, "/held/3")};
  for (const auto& r : requests) queue->addOperation(r);
  queue->go();
  ASSERT_TRUE(pollUntil([&] { return received("/held/") == 2; }));
  EXPECT_FALSE(requests[2]->isExecuting());
  EXPECT_FALSE(requests[2]->isFinished());

  gate.open();
  ASSERT_TRUE(runUntil([&] { return outcomes->results.size() == 3; }));
  EXPECT_EQ(outcomes->results,
            (std::map<int, std::string>{{1, "finished"}, {2, "finished"}, {3, "finished"}}));
  EXPECT_EQ(received("/held/"), 3u);
  EXPECT_EQ(queue->requestsCount.load(), 0);
  EXPECT_EQ(recorder->events.back(), "queue done");
}

TEST_F(HttpRequestQueueNetworkTest, AFailureCancelsTheOthersWithCodeFourUnlessTheSwitchIsOff) {
  for (const bool cancelOnFailure : {true, false}) {
    SCOPED_TRACE(cancelOnFailure ? "cancel on failure" : "switch off");
    outcomes->results.clear();
    const std::size_t heldBefore = received("/held/");
    auto queue = makeQueue();
    queue->shouldCancelAllRequestsOnFailure = cancelOnFailure;
    queue->addOperation(to(1, "/held/a"));
    queue->addOperation(to(2, "/held/b"));
    queue->go();
    ASSERT_TRUE(pollUntil([&] { return received("/held/") == heldBefore + 2; }));
    queue->addOperation(to(3, "/broken"));
    ASSERT_TRUE(runUntil([&] { return outcomes->results.contains(3); }));
    EXPECT_EQ(outcomes->results[3], "failed 1");

    if (!cancelOnFailure) gate.open();
    ASSERT_TRUE(runUntil([&] { return outcomes->results.size() == 3; }));
    const std::string others = cancelOnFailure ? "failed 4" : "finished";
    EXPECT_EQ(outcomes->results[1], others);
    EXPECT_EQ(outcomes->results[2], others);
    EXPECT_EQ(queue->requestsCount.load(), 0);
  }
}

TEST_F(HttpRequestQueueNetworkTest, AccurateProgressAddsUpTheBytesOfEveryRequest) {
  auto queue = makeQueue();
  queue->showAccurateProgress = true;
  auto download = std::make_shared<QueueIndicator>();
  auto upload = std::make_shared<QueueIndicator>();
  queue->setDownloadProgressDelegate(download);
  queue->setUploadProgressDelegate(upload);
  // As the file downloader does: running before the first request, so each sizes itself.
  queue->go();
  auto form = FormDataRequest::requestWithURL(pf::Url::parse(server.url("/sized/10")));
  form->addPostValue(std::string(5000, 'a'), "text");
  form->tag = 3;
  form->setDelegate(outcomes);
  queue->addOperation(to(1, "/sized/1000"));
  queue->addOperation(to(2, "/sized/3000"));
  queue->addOperation(form);
  ASSERT_TRUE(runUntil([&] { return outcomes->results.size() == 3; }));
  EXPECT_EQ(outcomes->results,
            (std::map<int, std::string>{{1, "finished"}, {2, "finished"}, {3, "finished"}}));

  EXPECT_EQ(queue->totalBytesToDownload.load(), 4010u);
  EXPECT_EQ(queue->bytesDownloadedSoFar.load(), 4010u);
  EXPECT_EQ(queue->totalBytesToUpload.load(), 5005u);  // "text=" and the value
  EXPECT_EQ(queue->bytesUploadedSoFar.load(), 5005u);
  ASSERT_FALSE(download->values.empty());
  ASSERT_FALSE(upload->values.empty());
  EXPECT_EQ(download->values.back(), 1.0f);
  EXPECT_EQ(upload->values.back(), 1.0f);
  for (const float value : download->values) EXPECT_TRUE(value >= 0 && value <= 1) << value;
}

TEST_F(HttpRequestQueueNetworkTest, ASuspendedQueueRunsTheHeadTwinOfEachGetFirst) {
  auto queue = makeQueue();
  queue->showAccurateProgress = true;
  queue->addOperation(to(1, "/sized/1000"));
  queue->addOperation(to(2, "/sized/3000"));
  queue->go();
  ASSERT_TRUE(runUntil([&] { return outcomes->results.size() == 2; }));
  EXPECT_EQ(outcomes->results, (std::map<int, std::string>{{1, "finished"}, {2, "finished"}}));
  EXPECT_EQ(queue->requestsCount.load(), 0);
  EXPECT_EQ(queue->bytesDownloadedSoFar.load(), 4000u);

  std::vector<std::string> seen;
  for (const auto& r : server.requests()) seen.push_back(r.method + " " + r.path);
  ASSERT_EQ(seen.size(), 4u);
  const auto position = [&](const std::string& entry) { return std::find(seen.begin(), seen.end(), entry); };
  EXPECT_LT(position("HEAD /sized/1000"), position("GET /sized/1000"));
  EXPECT_LT(position("HEAD /sized/3000"), position("GET /sized/3000"));
}

}  // namespace
