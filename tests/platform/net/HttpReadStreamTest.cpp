#include "platform/net/HttpReadStream.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <future>
#include <thread>

#include "platform/net/DataInputStream.h"
#include "platform/net/FileInputStream.h"
#include "platform/net/StreamError.h"
#include "tests/platform/net/StreamRun.h"
#include "tests/support/TemporaryFolder.h"
#include "tools/devserver/Answers.h"
#include "tools/devserver/DevServer.h"

namespace pf {
namespace {

using Stream = HttpReadStream;
using pf_test::runStream;
using pf_test::StreamRun;
namespace answers = devserver::answers;

class HttpReadStreamTest : public testing::Test {
 protected:
  void SetUp() override {
    server.route("/text", answers::text(200, "hello"));
    server.route("/echo", [](devserver::Exchange& e) { e.respond(200, e.request().body); });
    ASSERT_TRUE(server.start());
  }

  std::shared_ptr<HttpMessage> message(const std::string& path, const char* method = "GET") {
    return HttpMessage::makeRequest(method, *Url::parse(server.url(path)));
  }

  std::shared_ptr<Stream> stream(const std::string& path, bool persistent = false,
                                 std::optional<int> id = {}) {
    auto s = Stream::make(message(path));
    s->setAttemptPersistentConnection(persistent);
    s->setStreamId(id);
    return s;
  }

  devserver::DevServer server;
};

TEST_F(HttpReadStreamTest, DeliversAnswersWithTheirFramingRemovedButContentUntouched) {
  const std::string big(300000, 'b');
  server.route("/chunked", answers::chunked({"abc", "def", "g"}));
  server.route("/gzip", answers::gzipped("zipped text"));
  server.route("/empty", answers::text(204, ""));
  server.route("/big", answers::text(200, big));
  const struct {
    const char* path;
    const char* method;
    std::string body;
  } cases[] = {
      {"/text", "GET", "hello"}, {"/chunked", "GET", "abcdefg"}, {"/empty", "GET", ""},
      {"/big", "GET", big},      {"/text", "HEAD", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.method) + " " + c.path);
    StreamRun run = runStream(Stream::make(message(c.path, c.method)));
    EXPECT_TRUE(run.ended);
    EXPECT_FALSE(run.error);
    EXPECT_TRUE(run.saw(Stream::kOpenCompleted));
    EXPECT_EQ(run.body, c.body);
  }
  StreamRun gzip = runStream(stream("/gzip"));
  ASSERT_TRUE(gzip.response);
  EXPECT_EQ(gzip.response->headerField("Content-Encoding"), "gzip");
  EXPECT_TRUE(gzip.body.starts_with("\x1f\x8b"));  // handed on still compressed

  const devserver::Request first = server.requests().front();
  EXPECT_EQ(first.method, "GET");
  EXPECT_EQ(first.target, "/text");
  EXPECT_EQ(first.header("Host"), "127.0.0.1:" + std::to_string(server.port()));
  EXPECT_EQ(first.header("Connection"), "close");
}

TEST_F(HttpReadStreamTest, SendsBodiesFromMemoryAndFromStreams) {
  pf_test::TemporaryFolder folder;
  const std::string fileBody(200000, 'f');
  std::ofstream(folder.file("body")) << fileBody;

  auto fromMessage = message("/echo", "POST");
  fromMessage->setBody(Data{'m', 'e', 'm'});
  EXPECT_EQ(runStream(Stream::make(fromMessage)).body, "mem");

  auto withLength = message("/echo", "POST");
  withLength->setHeaderField("Content-Length", "4");
  auto counted = Stream::make(withLength, std::make_shared<DataInputStream>(Data{'d', 'a', 't', 'a'}));
  EXPECT_EQ(runStream(counted).body, "data");
  EXPECT_EQ(counted->requestBytesWritten(), 4u);

  auto chunked =
      Stream::make(message("/echo", "PUT"), std::make_shared<FileInputStream>(folder.file("body")));
  EXPECT_EQ(runStream(chunked).body, fileBody);
  EXPECT_EQ(chunked->requestBytesWritten(), fileBody.size());
  EXPECT_EQ(server.requests().back().header("Transfer-Encoding"), "chunked");

  auto promised = message("/echo", "POST");
  promised->setHeaderField("Content-Length", "10");
  StreamRun shortBody = runStream(Stream::make(promised, std::make_shared<DataInputStream>(Data{'x'})));
  ASSERT_TRUE(shortBody.error);
  EXPECT_EQ(shortBody.error->code(), StreamError::kBodyStreamFailure);

  auto missing =
      Stream::make(message("/echo", "POST"), std::make_shared<FileInputStream>(folder.file("none")));
  EXPECT_FALSE(missing->open());
  EXPECT_EQ(missing->status(), Stream::Status::Error);
  EXPECT_EQ(missing->error()->domain(), StreamError::kPosixDomain);
}

TEST_F(HttpReadStreamTest, BrokenAnswersEndInErrorsNotInTruncatedSuccess) {
  std::string manyFields = "HTTP/1.1 200 OK\r\n";
  for (int i = 0; i < 200; ++i) manyFields += "X: y\r\n";
  server.route("/reset", answers::resetMidBody(std::string(100000, 'x'), 1000));
  server.route("/bad-chunk",
               answers::raw("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\nhello\r\n0\r\n\r\n"));
  server.route("/huge-chunk",
               answers::raw("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nfffffffffffffffffff\r\n"));
  server.route("/bad-length", answers::raw("HTTP/1.1 200 OK\r\nContent-Length: 12abc\r\n\r\nhello"));
  server.route("/short", answers::raw("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nhello"));
  server.route("/nothing", answers::raw(""));
  server.route("/garbage", answers::raw("SSH-2.0-OpenSSH_9.2\r\n\r\n"));
  server.route("/fields", answers::raw(manyFields + "\r\n"));
  const struct {
    const char* path;
    const char* domain;
    std::vector<long> codes;
  } cases[] = {
      {"/reset", StreamError::kPosixDomain, {StreamError::kConnectionReset}},
      {"/bad-chunk", StreamError::kNetworkDomain, {StreamError::kParseFailure}},
      {"/huge-chunk", StreamError::kNetworkDomain, {StreamError::kParseFailure}},
      {"/bad-length", StreamError::kNetworkDomain, {StreamError::kParseFailure}},
      {"/short", StreamError::kNetworkDomain, {StreamError::kConnectionLost}},
      {"/nothing", StreamError::kNetworkDomain, {StreamError::kConnectionLost}},
      {"/garbage", StreamError::kNetworkDomain, {StreamError::kParseFailure}},
      {"/fields", StreamError::kNetworkDomain, {StreamError::kParseFailure}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    auto s = stream(c.path);
    StreamRun run = runStream(s);
    ASSERT_TRUE(run.error);
    EXPECT_EQ(run.error->domain(), c.domain);
    EXPECT_EQ(run.error->code(), c.codes[0]) << run.error->localizedDescription();
    EXPECT_FALSE(run.ended);
    EXPECT_EQ(s->status(), Stream::Status::Error);
    std::uint8_t byte;
    EXPECT_EQ(s->read(&byte, 1), -1);
  }
}

TEST_F(HttpReadStreamTest, ReportsARefusedConnectionWithItsPosixCode) {
  devserver::DevServer closed;
  ASSERT_TRUE(closed.start());
  const std::string url = closed.url("/");
  closed.stop();
  StreamRun run = runStream(Stream::make(HttpMessage::makeRequest("GET", *Url::parse(url))));
  ASSERT_TRUE(run.error);
  EXPECT_EQ(run.error->domain(), StreamError::kPosixDomain);
  EXPECT_EQ(run.error->code(), StreamError::kConnectionRefused);

  auto noHost = Stream::make(HttpMessage::makeRequest("GET", *Url::parse("ftp://127.0.0.1/")));
  EXPECT_FALSE(noHost->open());
  EXPECT_EQ(noHost->error()->code(), StreamError::kBadUrl);
}

TEST_F(HttpReadStreamTest, StreamsWithTheSameIdShareOneKeptAliveConnection) {
  server.route("/close", answers::text(200, "bye", {{"Connection", "close"}}));
  const struct {
    const char* what;
    bool persistent;
    std::optional<int> secondId;
    const char* firstPath;
    int connections;
  } cases[] = {
      {"same id", true, 1, "/text", 1},
      {"other id", true, 2, "/text", 2},
      {"not persistent", false, 1, "/text", 2},
      {"server closes", true, 1, "/close", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    devserver::DevServer fresh;
    fresh.route("/text", answers::text(200, "hello"));
    fresh.route("/close", answers::text(200, "bye", {{"Connection", "close"}}));
    ASSERT_TRUE(fresh.start());
    auto open = [&](const char* path, std::optional<int> id) {
      auto s = Stream::make(HttpMessage::makeRequest("GET", *Url::parse(fresh.url(path))));
      s->setAttemptPersistentConnection(c.persistent);
      s->setStreamId(id);
      return s;
    };
    auto first = open(c.firstPath, 1);
    EXPECT_TRUE(runStream(first).ended);
    auto second = open("/text", c.secondId);
    StreamRun run = runStream(second);
    EXPECT_EQ(run.body, "hello");
    first->close();  // as the engine does once the next stream is open
    EXPECT_EQ(fresh.connectionCount(), c.connections);
  }
}

TEST_F(HttpReadStreamTest, NeverHandsOutAParkedConnectionTheServerHasClosed) {
  server.route("/drop", [](devserver::Exchange& e) {
    e.respond(200, "once");
    e.closeConnection();  // without saying so in the answer
  });
  auto first = stream("/drop", true, 9);
  EXPECT_TRUE(runStream(first).ended);
  ASSERT_TRUE(RunLoop::current()->runUntilTrue([&] { return server.openConnectionCount() == 0; }, 5.0));
  StreamRun run = runStream(stream("/text", true, 9));
  EXPECT_FALSE(run.error);
  EXPECT_EQ(run.body, "hello");
  EXPECT_EQ(server.connectionCount(), 2);
}

TEST_F(HttpReadStreamTest, AnUnscheduledStreamWaitsAndAPrivateModeShutsOutOtherRuns) {
  auto loop = RunLoop::current();
  auto paused = stream("/text");
  StreamRun run;
  bool done = false;
  pf_test::startStream(paused, run, done);
  paused->unschedule();
  EXPECT_FALSE(loop->runUntilTrue([&] { return done; }, 0.2));
  EXPECT_TRUE(run.events.empty());
  paused->schedule(loop);
  EXPECT_TRUE(loop->runUntilTrue([&] { return done; }, 5.0));
  EXPECT_EQ(run.body, "hello");
  paused->setClient(0, nullptr);

  const std::string privateMode = "HttpRequestRunLoopMode";
  auto quiet = stream("/text");
  StreamRun quietRun;
  bool quietDone = false;
  pf_test::startStream(quiet, quietRun, quietDone, privateMode);
  EXPECT_FALSE(loop->runUntilTrue([&] { return quietDone; }, 0.2));
  EXPECT_TRUE(loop->runUntilTrue([&] { return quietDone; }, 5.0, privateMode));
  EXPECT_EQ(quietRun.body, "hello");
  quiet->setClient(0, nullptr);
}

TEST_F(HttpReadStreamTest, LooksNamesUpWithoutBlockingTheLoop) {
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  const int port = server.port();
  HostResolver::setLookup([released, port](const std::string& host, int) {
    if (host == "unknown.test") {
      return HostResolver::Answer{{}, StreamError::network(StreamError::kCannotFindHost, "no such host")};
    }
    released.wait();
    return HostResolver::systemLookup("127.0.0.1", port);
  });
  struct Restore {
    ~Restore() { HostResolver::setLookup(nullptr); }
  } restore;

  auto loop = RunLoop::current();
  auto slow = Stream::make(HttpMessage::makeRequest("GET", *Url::parse("http://slow.test/text")));
  StreamRun run;
  bool done = false;
  pf_test::startStream(slow, run, done);
  bool otherWorkRan = false;
  loop->post([&] { otherWorkRan = true; });
  EXPECT_TRUE(loop->runUntilTrue([&] { return otherWorkRan; }, 2.0));
  EXPECT_FALSE(done);
  release.set_value();
  EXPECT_TRUE(loop->runUntilTrue([&] { return done; }, 5.0));
  EXPECT_EQ(run.body, "hello");
  slow->setClient(0, nullptr);

  StreamRun unknown =
      runStream(Stream::make(HttpMessage::makeRequest("GET", *Url::parse("http://unknown.test/"))));
  ASSERT_TRUE(unknown.error);
  EXPECT_EQ(unknown.error->code(), StreamError::kCannotFindHost);
}

TEST_F(HttpReadStreamTest, AStalledAnswerReportsNothingAndClosesCleanly) {
  server.route("/stall", answers::stall(30));
  auto stalled = stream("/stall");
  StreamRun run;
  bool done = false;
  pf_test::startStream(stalled, run, done);
  EXPECT_FALSE(RunLoop::current()->runUntilTrue([&] { return done; }, 0.2));
  EXPECT_FALSE(run.saw(Stream::kHasBytesAvailable));
  stalled->close();
  EXPECT_EQ(stalled->status(), Stream::Status::Closed);
}

}  // namespace
}  // namespace pf
