// Kept-alive connections: when a server lets one be reused, which requests share it, expiry, and the
// silent retry when a reused socket turns out dead.

#include "core/http/ConnectionPool.h"
#include "tests/core/http/HttpEngineFixture.h"

namespace {

using devserver::answers::raw;
using devserver::answers::text;

class HttpRequestConnectionTest : public HttpEngineFixture {
 protected:
  static bool poolHolds(int connectionId) {
    ConnectionPool& pool = ConnectionPool::shared();
    std::lock_guard lock(pool.guard());
    for (const auto& record : pool.records()) {
      if (record->id == connectionId) return true;
    }
    return false;
  }
};

TEST_F(HttpRequestConnectionTest, TheAnswerDecidesWhetherAndHowLongTheConnectionMayBeReused) {
  const struct {
    const char* name;
    const char* head;
    bool reusable;
    double seconds;
  } cases[] = {
      {"timeout 15, max 100", "HTTP/1.1 200 OK\r\nKeep-Alive: timeout=15, max=100\r\n", true, 15},
      {"max 5", "HTTP/1.1 200 OK\r\nKeep-Alive: timeout=15, max=5\r\n", false, 60},
      {"1.1 without a header", "HTTP/1.1 200 OK\r\n", true, 60},
      {"1.0 without keep-alive", "HTTP/1.0 200 OK\r\n", false, 60},
      {"1.0 with keep-alive", "HTTP/1.0 200 OK\r\nConnection: keep-alive\r\n", true, 60},
      {"close", "HTTP/1.1 200 OK\r\nConnection: close\r\n", false, 60},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = std::string("/") + std::to_string(&c - cases);
    server.route(path, raw(std::string(c.head) + "Content-Length: 2\r\n\r\nok"));
    auto request = get(path);
    request->startSynchronous();
    EXPECT_EQ(body(*request), "ok");
    EXPECT_EQ(request->connectionCanBeReused.load(), c.reusable);
    EXPECT_EQ(request->persistentConnectionTimeoutSeconds.load(), c.seconds);
  }
}

TEST_F(HttpRequestConnectionTest, GetsShareOneConnectionAndPostsNeverDo) {
  server.route("/page", text(200, "page"));
  std::optional<int> connection;
  for (int i = 0; i < 3; ++i) {
    auto request = get("/page");
    request->startSynchronous();
    EXPECT_EQ(body(*request), "page");
    if (connection) {
      EXPECT_EQ(request->connectionID(), connection);
    }
    connection = request->connectionID();
  }
  EXPECT_EQ(server.connectionCount(), 1);

  for (int i = 0; i < 2; ++i) {
    auto post = get("/page");
    post->setRequestMethod("POST");
    post->appendPostData(pf::Data{'x'});
    post->startSynchronous();
    EXPECT_EQ(body(*post), "page");
    EXPECT_FALSE(post->connectionID());
    EXPECT_EQ(server.requests().back().header("Connection"), "close");
  }
  EXPECT_EQ(server.connectionCount(), 3);
}

TEST_F(HttpRequestConnectionTest, AnExpiredConnectionIsDroppedBeforeTheNextRequestChooses) {
  server.route("/brief", text(200, "brief", {{"Keep-Alive", "timeout=0, max=100"}}));
  auto first = get("/brief");
  first->startSynchronous();
  ASSERT_TRUE(first->connectionCanBeReused);
  const std::optional<int> expired = first->connectionID();
  ASSERT_TRUE(expired && poolHolds(*expired));

  auto second = get("/brief");
  second->startSynchronous();
  EXPECT_EQ(body(*second), "brief");
  EXPECT_FALSE(poolHolds(*expired));
  EXPECT_NE(second->connectionID(), expired);
  EXPECT_EQ(server.connectionCount(), 2);
}

// The server drops the kept-alive socket: one silent retry on a new connection, no second one.
TEST_F(HttpRequestConnectionTest, ADeadReusedSocketIsRetriedOnceOnANewConnection) {
  const struct {
    int resets;
    long code;
  } cases[] = {{1, 0}, {2, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.resets);
    auto resetsLeft = std::make_shared<std::atomic<int>>(c.resets);
    const std::string path = "/flaky" + std::to_string(c.resets);
    server.route(path, [resetsLeft](devserver::Exchange& e) {
      if (e.request().query == "warm" || (*resetsLeft)-- <= 0) return e.respond(200, "fine");
      e.reset();
    });
    auto warm = get(path + "?warm");
    warm->startSynchronous();
    ASSERT_TRUE(warm->connectionCanBeReused);

    auto delegate = std::make_shared<RecordingDelegate>();
    auto request = get(path);
    ASSERT_TRUE(runQueued(request, delegate));
    ASSERT_EQ(errorCode(*request), c.code);
    EXPECT_EQ(request->retryCount.load(), 1);
    EXPECT_EQ(delegate->events.back(), c.code == 0 ? "finished" : "failed");
    if (c.code != 0) {
      EXPECT_EQ(request->error.get()->localizedDescription(), "A connection failure occurred");
    }
  }
}

// A break that may have reached the server is never sent again: the request would run twice there.
TEST_F(HttpRequestConnectionTest, ABreakOnAFreshConnectionFailsWithoutSendingTheRequestAgain) {
  const struct {
    const char* name;
    devserver::Handler answer;
  } cases[] = {
      {"closed after reading the request", raw("")},
      {"reset after reading the request", [](devserver::Exchange& e) { e.reset(); }},
      {"closed after half a head", raw("HTTP/1.1 200 OK\r\nContent-Le")},
      {"closed after part of the body", raw("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc")},
  };
  for (const char* method : {"GET", "POST"}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(method) + ", " + c.name);
      const std::string path = "/" + std::string(method) + std::to_string(&c - cases);
      server.route(path, c.answer);
      auto request = get(path);
      request->setRequestMethod(method);
      request->startSynchronous();
      EXPECT_EQ(errorCode(*request), 1);
      EXPECT_EQ(request->retryCount.load(), 0);
      const auto received = server.requests();
      EXPECT_EQ(
          std::count_if(received.begin(), received.end(), [&](const auto& r) { return r.path == path; }), 1);
    }
  }
}

// The server closes a kept socket while it waits: the next request goes out on a new connection, once.
TEST_F(HttpRequestConnectionTest, AKeptSocketTheServerClosedWhileItWaitedIsNotUsed) {
  server.route("/closing", [](devserver::Exchange& e) {
    e.respond(200, "fine");
    e.closeConnection();
  });
  auto first = get("/closing");
  first->startSynchronous();
  ASSERT_TRUE(first->connectionCanBeReused);
  ASSERT_TRUE(runMainUntil([&] { return server.openConnectionCount() == 0; }));

  auto second = get("/closing");
  second->startSynchronous();
  EXPECT_EQ(errorCode(*second), 0);
  EXPECT_EQ(body(*second), "fine");
  EXPECT_EQ(server.requests().size(), 2u);
  EXPECT_EQ(server.connectionCount(), 2);
}

}  // namespace

namespace {

TEST_F(HttpRequestConnectionTest, TheActivityIndicatorIsOnWhileRequestsRunAndGoesOffAfterwards) {
  server.route("/page", text(200, "page"));
  auto request = get("/page");
  request->startSynchronous();
  EXPECT_FALSE(HttpRequest::isNetworkInUse());
  // Hidden only half a second later, so a quick succession of requests does not flicker.
  EXPECT_TRUE(HttpRequest::isNetworkActivityIndicatorVisible());
  EXPECT_TRUE(runMainUntil([] { return !HttpRequest::isNetworkActivityIndicatorVisible(); }, 2));
}

}  // namespace
