// Starting requests synchronously and queued, time-outs, redirects and where reports arrive.

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/foundation/Clock.h"
#include "platform/net/HostResolver.h"
#include "tests/core/http/HttpEngineFixture.h"

namespace {

using devserver::answers::redirect;
using devserver::answers::text;

class HttpRequestRunningTest : public HttpEngineFixture {};

TEST_F(HttpRequestRunningTest, ASynchronousPostWorksEndToEnd) {
  server.route("/call", [](devserver::Exchange& e) {
    e.respond(200, "{\"echo\":" + e.request().body + "}",
              {{"Content-Type", "application/json; charset=utf-8"}});
  });
  auto post = get("/call");
  post->setRequestMethod("POST");
  post->addRequestHeader("Content-Type", "application/json");
  const std::string json = "{\"a\":1}";
  post->appendPostData(pf::Data(json.begin(), json.end()));
  post->startSynchronous();

  EXPECT_FALSE(post->error.get());
  EXPECT_EQ(post->responseStatusCode, 200);
  EXPECT_EQ(post->responseString(), "{\"echo\":{\"a\":1}}");
  EXPECT_EQ(post->responseEncoding.load(), pf::StringEncoding::UTF8);
  EXPECT_EQ(server.requests().back().header("Content-Type"), "application/json");
  EXPECT_TRUE(post->isFinished());
}

TEST_F(HttpRequestRunningTest, AQueuedRequestReportsEachEventOnTheMainThread) {
  server.route("/page", text(200, "hello"));
  auto delegate = std::make_shared<RecordingDelegate>();
  auto request = get("/page");
  ASSERT_TRUE(runQueued(request, delegate));
  EXPECT_EQ(delegate->events, (std::vector<std::string>{"started", "headers", "finished"}));
  for (const auto& thread : delegate->threads) EXPECT_EQ(thread, std::this_thread::get_id());
  EXPECT_EQ(body(*request), "hello");
  EXPECT_TRUE(runMainUntil([&] { return request->isFinished(); }));
}

TEST_F(HttpRequestRunningTest, ASynchronousRequestOnAWorkerReportsToTheMainThreadWithoutWaiting) {
  server.route("/page", text(200, "hello"));
  auto delegate = std::make_shared<RecordingDelegate>();
  auto request = get("/page");
  request->setDelegate(delegate);
  // The main loop does not run while the worker's request runs: it must not wait for it.
  std::thread([&] { request->startSynchronous(); }).join();
  EXPECT_TRUE(request->complete);
  EXPECT_TRUE(delegate->events.empty());
  ASSERT_TRUE(runMainUntil([&] { return delegate->ended(); }));
  EXPECT_EQ(delegate->events, (std::vector<std::string>{"started", "headers", "finished"}));
  for (const auto& thread : delegate->threads) EXPECT_EQ(thread, std::this_thread::get_id());
}

TEST_F(HttpRequestRunningTest, ASynchronousRequestLeavesTheCallersOtherLoopWorkAlone) {
  server.route("/page", text(200, "hello"));
  bool otherWorkRan = false;
  pf::RunLoop::current()->post([&] { otherWorkRan = true; }, pf::RunLoop::kDefaultMode);
  auto request = get("/page");
  request->startSynchronous();
  EXPECT_EQ(body(*request), "hello");
  EXPECT_FALSE(otherWorkRan);
  runMainUntil([&] { return otherWorkRan; }, 1);
  EXPECT_TRUE(otherWorkRan);
}

// An idle request fails with code 2 after its time-out; a body earns half as long again.
TEST_F(HttpRequestRunningTest, TimesOutAfterTheIdleTimeRule) {
  server.route("/stall", devserver::answers::stall(3));
  const struct {
    const char* name;
    bool withBody;
    double atLeast;
    double atMost;
  } cases[] = {{"no body", false, 0.4, 0.4 + 0.5}, {"with a body", true, 0.6, 0.6 + 0.5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto request = get("/stall");
    request->timeOutSeconds = 0.4;
    if (c.withBody) {
      request->setRequestMethod("POST");
      request->appendPostData(pf::Data(1000, 'x'));
    }
    const auto start = std::chrono::steady_clock::now();
    request->startSynchronous();
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(errorCode(*request), 2);
    EXPECT_EQ(request->error.get()->localizedDescription(), "The request timed out");
    EXPECT_GT(took, c.atLeast);
    EXPECT_LT(took, c.atMost);
  }
}

TEST_F(HttpRequestRunningTest, FollowsFiveRedirectsAndFailsOnTheSixth) {
  auto hops = std::make_shared<std::atomic<int>>(5);
  server.route("/hop*", [hops](devserver::Exchange& e) {
    const int at = std::stoi(e.request().path.substr(4));
    if (at == *hops) return e.respond(200, "arrived");
    e.respond(302, "", {{"Location", "/hop" + std::to_string(at + 1)}});
  });
  auto five = get("/hop0");
  five->startSynchronous();
  EXPECT_FALSE(five->error.get());
  EXPECT_EQ(body(*five), "arrived");
  EXPECT_EQ(five->url()->path(), "/hop5");
  EXPECT_EQ(five->originalURL.get()->path(), "/hop0");

  *hops = 6;
  auto six = get("/hop0");
  six->startSynchronous();
  ASSERT_EQ(errorCode(*six), 9);
  EXPECT_EQ(six->error.get()->localizedDescription(),
            "The request failed because it redirected too many times");
}

TEST_F(HttpRequestRunningTest, A302TurnsAPostIntoABodilessGetWhileA307KeepsIt) {
  server.route("/found", redirect(302, "/target"));
  server.route("/temporary", redirect(307, "/target"));
  server.route("/target",
               [](devserver::Exchange& e) { e.respond(200, e.request().method + ":" + e.request().body); });
  const struct {
    const char* path;
    const char* answer;
  } cases[] = {{"/found", "GET:"}, {"/temporary", "POST:payload"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    auto post = get(c.path);
    post->setRequestMethod("POST");
    post->addRequestHeader("Content-Type", "text/plain");
    post->appendPostData(pf::Data{'p', 'a', 'y', 'l', 'o', 'a', 'd'});
    post->startSynchronous();
    EXPECT_EQ(body(*post), c.answer);
    const devserver::Request last = server.requests().back();
    EXPECT_EQ(last.path, "/target");
    EXPECT_EQ(last.header("Content-Length").has_value(), std::string(c.answer) != "GET:");
    EXPECT_EQ(last.header("Content-Type").has_value(), std::string(c.answer) != "GET:");
  }
}

TEST_F(HttpRequestRunningTest, CredentialsSentAheadNeverFollowARedirectToAnotherServer) {
  devserver::DevServer other;
  ASSERT_TRUE(other.start());
  other.route("/target", [](devserver::Exchange& e) { e.respond(200, "other"); });
  server.route("/target", [](devserver::Exchange& e) { e.respond(200, "same"); });
  server.route("/away", redirect(307, other.url("/target")));
  server.route("/near", redirect(307, "/target"));
  const struct {
    const char* path;
    devserver::DevServer* reached;
    bool keepsCredentials;
  } cases[] = {{"/near", &server, true}, {"/away", &other, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    auto request = get(c.path);
    request->addBasicAuthenticationHeaderWithUsername("alice", "secret");
    request->startSynchronous();
    EXPECT_FALSE(request->error.get());
    const devserver::Request last = c.reached->requests().back();
    EXPECT_EQ(last.path, "/target");
    EXPECT_EQ(last.header("Authorization").has_value(), c.keepsCredentials);
  }
}

TEST_F(HttpRequestRunningTest, CancellingAQueuedRequestFailsItWithCode4) {
  server.route("/slow", devserver::answers::stall(3));
  auto delegate = std::make_shared<RecordingDelegate>();
  auto request = get("/slow");
  request->setDelegate(delegate);
  request->startAsynchronous();
  ASSERT_TRUE(runMainUntil([&] { return !delegate->events.empty(); }));
  request->cancel();
  ASSERT_TRUE(runMainUntil([&] { return delegate->ended(); }));
  EXPECT_EQ(delegate->events.back(), "failed");
  EXPECT_EQ(errorCode(*request), 4);
  EXPECT_TRUE(request->isCancelled());
  EXPECT_TRUE(runMainUntil([&] { return request->isFinished(); }));
}

// A cancel mid-answer on a kept-alive connection once left the stream open, unread, until the server
// hung up: its socket stayed taken and the network counted as busy, so a virtual clock stood still.
TEST_F(HttpRequestRunningTest, CancellingMidAnswerLeavesNoTransferUnderWay) {
  server.route("/half", devserver::answers::stallMidBody(std::string(4000, 'x'), 1000, 30));
  auto delegate = std::make_shared<RecordingDelegate>();
  auto request = get("/half");
  request->setDelegate(delegate);
  request->startAsynchronous();
  ASSERT_TRUE(runMainUntil([&] { return request->totalBytesRead > 0; }));
  request->cancel();
  ASSERT_TRUE(runMainUntil([&] { return delegate->ended(); }));
  EXPECT_TRUE(runMainUntil([] { return pf::RunLoop::pendingWorkCount() == 0; }, 3));
}

TEST_F(HttpRequestRunningTest, ABadUrlFailsWithoutTouchingTheNetwork) {
  auto nothing = HttpRequest::requestWithURL(std::nullopt);
  nothing->startSynchronous();
  EXPECT_EQ(errorCode(*nothing), 5);

  auto other = HttpRequest::requestWithURL(pf::Url::parse("ftp://127.0.0.1/file"));
  other->startSynchronous();
  ASSERT_EQ(errorCode(*other), 6);
  EXPECT_EQ(other->error.get()->localizedDescription(), "Unable to start HTTP connection");
}

TEST_F(HttpRequestRunningTest, ASlowNameLookupHoldsUpOnlyItsOwnRequest) {
  server.route("/page", text(200, "page"));
  // The slow name is answered only once the other request has ended.
  std::mutex mutex;
  std::condition_variable released;
  bool open = false;
  pf::HostResolver::setLookup([&](const std::string& host, int port) {
    if (host != "slow.invalid") return pf::HostResolver::systemLookup(host, port);
    std::unique_lock lock(mutex);
    released.wait_for(lock, std::chrono::seconds(10), [&] { return open; });
    return pf::HostResolver::systemLookup("127.0.0.1", port);
  });
  const auto release = [&] {
    std::lock_guard lock(mutex);
    open = true;
    released.notify_all();
  };
  auto slowDelegate = std::make_shared<RecordingDelegate>();
  auto slow = HttpRequest::requestWithURL(
      pf::Url::parse("http://slow.invalid:" + std::to_string(server.port()) + "/page"));
  slow->setDelegate(slowDelegate);
  slow->startAsynchronous();
  auto quickDelegate = std::make_shared<RecordingDelegate>();
  auto quick = get("/page");
  const bool quickEnded = runQueued(quick, quickDelegate);
  const bool slowEndedFirst = slowDelegate->ended();
  release();
  const bool slowEnded = runMainUntil([&] { return slowDelegate->ended(); });
  pf::HostResolver::setLookup(nullptr);

  EXPECT_TRUE(quickEnded);
  EXPECT_FALSE(slowEndedFirst);
  EXPECT_TRUE(slowEnded);
  EXPECT_EQ(body(*slow), "page");
}

class ConfirmingDelegate : public RecordingDelegate {
 public:
  bool implements(Optional operation) const override { return operation == Optional::WillRedirect; }
  using RecordingDelegate::request;
  void request(const HttpRequest::Ptr& request, const pf::Url& willRedirectToURL) override {
    asked.push_back(willRedirectToURL.path());
    request->redirectToURL(*pf::Url::resolve("/elsewhere", willRedirectToURL));
  }
  std::vector<std::string> asked;
};

TEST_F(HttpRequestRunningTest, ADelegateThatConfirmsRedirectsChoosesWhereToGo) {
  server.route("/moved", redirect(301, "/new"));
  server.route("/elsewhere", text(200, "chosen"));
  auto delegate = std::make_shared<ConfirmingDelegate>();
  auto request = get("/moved");
  ASSERT_TRUE(runQueued(request, delegate));
  EXPECT_EQ(delegate->asked, std::vector<std::string>{"/new"});
  EXPECT_EQ(body(*request), "chosen");
}

}  // namespace
