// Requests that continue in the background hold one task of the installed host from their start until
// they end, however they end, and are cancelled when the task expires first.

#include <functional>
#include <map>

#include "core/http/BackgroundTaskHost.h"
#include "tests/core/http/HttpEngineFixture.h"

namespace {

using devserver::answers::redirect;
using devserver::answers::text;

// Tasks begun and ended, checked to come on the main thread and to end once each.
class RecordingHost : public BackgroundTaskHost {
 public:
  Identifier begin(std::function<void()> expired) override {
    EXPECT_TRUE(pf::RunLoop::isMainThread());
    ++begun;
    open[++last] = std::move(expired);
    return last;
  }
  void end(Identifier task) override {
    EXPECT_TRUE(pf::RunLoop::isMainThread());
    EXPECT_EQ(open.erase(task), 1u) << "a task ended twice or never begun: " << task;
    ++ended;
  }
  // The application's time ran out: every open task's handler runs.
  void expireAll() {
    const auto tasks = open;
    for (const auto& [task, expired] : tasks) expired();
  }

  std::map<Identifier, std::function<void()>> open;
  int begun = 0;
  int ended = 0;
  Identifier last = kInvalid;
};

class HttpRequestBackgroundTest : public HttpEngineFixture {
 protected:
  void SetUp() override {
    HttpEngineFixture::SetUp();
    HttpRequest::setBackgroundTaskHost(host);
    server.route("/page", text(200, "page"));
    server.route("/moved", redirect(302, "/page"));
    server.route("/stall", devserver::answers::stall(3));
  }
  void TearDown() override {
    HttpRequest::setBackgroundTaskHost(nullptr);
    HttpEngineFixture::TearDown();
  }

  // Lets whatever the main loop still holds for the request run.
  static void settle() {
    bool drained = false;
    pf::RunLoop::main()->post([&] { drained = true; });
    ASSERT_TRUE(runMainUntil([&] { return drained; }));
  }

  std::shared_ptr<RecordingHost> host = std::make_shared<RecordingHost>();
};

TEST_F(HttpRequestBackgroundTest, ATaskIsHeldFromTheStartToTheEndHoweverTheRequestEnds) {
  const struct {
    const char* what;
    const char* path;
    bool continues;
    bool synchronous;
    bool cancelled;
    double timeOut;
    long errorCode;
  } cases[] = {
      {"finished", "/page", true, false, false, 10, 0},
      {"finished after a redirect", "/moved", true, false, false, 10, 0},
      {"finished synchronously", "/page", true, true, false, 10, 0},
      {"timed out", "/stall", true, false, false, 0.3, 2},
      {"cancelled", "/stall", true, false, true, 10, 4},
      {"not asked to continue", "/page", false, false, false, 10, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto request = get(c.path);
    request->shouldContinueWhenAppEntersBackground = c.continues;
    request->timeOutSeconds = c.timeOut;
    const int before = host->begun;
    if (c.synchronous) {
      request->startSynchronous();
    } else {
      auto delegate = std::make_shared<RecordingDelegate>();
      request->setDelegate(delegate);
      request->startAsynchronous();
      if (c.cancelled) {
        ASSERT_TRUE(runMainUntil([&] { return host->begun > before; }));
        request->cancel();
      }
      ASSERT_TRUE(runMainUntil([&] { return delegate->ended(); }));
    }
    ASSERT_TRUE(runMainUntil([&] { return request->isFinished(); }));
    settle();
    EXPECT_EQ(errorCode(*request), c.errorCode);
    EXPECT_EQ(host->begun - before, c.continues ? 1 : 0);
    EXPECT_TRUE(host->open.empty());
    EXPECT_EQ(host->ended, host->begun);
    // Ending again (a downloader removing its finished request does) changes nothing.
    request->markAsFinished();
    settle();
    EXPECT_EQ(host->ended, host->begun);
  }
}

TEST_F(HttpRequestBackgroundTest, AnExpiredTaskCancelsItsRequestAndEndsOnce) {
  auto delegate = std::make_shared<RecordingDelegate>();
  auto request = get("/stall");
  request->shouldContinueWhenAppEntersBackground = true;
  request->setDelegate(delegate);
  request->startAsynchronous();
  ASSERT_TRUE(runMainUntil([&] { return host->begun == 1; }));
  host->expireAll();
  EXPECT_TRUE(host->open.empty()) << "ended by the handler itself";
  ASSERT_TRUE(runMainUntil([&] { return delegate->ended(); }));
  EXPECT_EQ(delegate->events.back(), "failed");
  EXPECT_EQ(errorCode(*request), 4);
  ASSERT_TRUE(runMainUntil([&] { return request->isFinished(); }));
  settle();
  EXPECT_EQ(host->ended, 1);
}

TEST_F(HttpRequestBackgroundTest, WithoutAHostRequestsRunAsAnyOther) {
  HttpRequest::setBackgroundTaskHost(nullptr);
  auto request = get("/page");
  request->shouldContinueWhenAppEntersBackground = true;
  request->startSynchronous();
  settle();
  EXPECT_EQ(body(*request), "page");
  EXPECT_EQ(host->begun, 0);
}

}  // namespace
