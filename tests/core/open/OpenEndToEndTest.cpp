// Remote calls end to end: the client over the HTTP engine against the open-interface stand-in,
// from sign-in to typed answers, renewal, the stand-in's refusals and transport failures.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

#include "core/open/OpenError.h"
#include "platform/foundation/Log.h"
#include "platform/runtime/ClassBuilder.h"
#include "tests/core/open/OpenServerFixture.h"
#include "tools/devserver/Answers.h"

namespace {

class OpenEndToEndLesson : public pf::Object {
  PF_OBJECT(OpenEndToEndLesson, pf::Object)
  std::optional<std::string> title;
  std::optional<std::string> owner;
  static void declareProperties(pf::ClassBuilder<OpenEndToEndLesson>& b) {
    PF_PROPERTY(b, title);
    PF_PROPERTY(b, owner);
  }
};

class OpenEndToEndTest : public OpenServerFixture {
 protected:
  void SetUp() override {
    OpenServerFixture::SetUp();
    pf::registerClass<OpenEndToEndLesson>();
    // Echoes the title back with the session's user, as later services' methods will answer.
    server.method("/v1/test/lesson/echo", [](const devserver::OpenCall& call) {
      return devserver::OpenAnswer::json(R"({"title": )" + call.parameters.at("title") + R"(, "owner": ")" +
                                         call.user->userId + "\"}");
    });
    server.method("/v1/test/lesson/save",
                  [](const devserver::OpenCall&) { return devserver::OpenAnswer::success(); });
  }

  pf::Value echo(const std::string& title) {
    ServiceManager::ParamDic params{{"title", openValue(title)}};
    return ServiceManager::performRemoteMethod("/v1/test/lesson/echo", params, "OpenEndToEndLesson",
                                               delegate);
  }

  // The first record's key of the one failure the delegate heard of.
  std::optional<std::string> reportedErrorCode() {
    drainMainQueue();
    if (delegate->reports->size() != 1) return "reports: " + std::to_string(delegate->reports->size());
    const auto info = OpenError::firstOrDefaultErrorInfo(*delegate->reports->front().error);
    delegate->reports->clear();
    return info ? info->errorCode : std::nullopt;
  }
};

TEST_F(OpenEndToEndTest, SignsInThenAnswersArriveAsTypedObjectsForTheSessionsUser) {
  const pf::Value sessionId = logIn();
  ASSERT_TRUE(sessionId.isString());
  EXPECT_EQ(ServiceManager::sessionCache().sessionId(), *sessionId.string());

  const auto lesson = echo("Safety \"first\" 课程").objectAs<OpenEndToEndLesson>();
  ASSERT_TRUE(lesson);
  EXPECT_EQ(lesson->title, "Safety \"first\" 课程");
  EXPECT_EQ(lesson->owner, "U-1");
  ServiceManager::ParamDic params;
  EXPECT_TRUE(ServiceManager::performRemoteMethod("/v1/test/lesson/save", params, delegate));

  const auto calls = server.calls("/v1/test/lesson/echo");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].text("title"), "Safety \"first\" 课程");
  EXPECT_EQ(calls[0].sessionId, *sessionId.string());
  EXPECT_EQ(server.requests().back().header("Content-Type"), "application/json");
  drainMainQueue();
  EXPECT_TRUE(delegate->reports->empty());
}

TEST_F(OpenEndToEndTest, TheLogCarriesNoPasswordAndNoSessionId) {
  pf::Log::Capture log;
  const pf::Value sessionId = logIn();
  ASSERT_TRUE(sessionId.isString());
  ASSERT_TRUE(echo("title").isObject());
  EXPECT_TRUE(log.contains("Post json string"));
  for (const std::string& line : log.lines()) {
    EXPECT_EQ(line.find("secret-1"), std::string::npos) << line;
    EXPECT_EQ(line.find(*sessionId.string()), std::string::npos) << line;
  }
}

TEST_F(OpenEndToEndTest, ALapsedSessionIsRenewedWithTheRememberedCredentials) {
  ASSERT_TRUE(logIn().isString());
  const std::string first = *ServiceManager::sessionCache().sessionId();
  server.expireSessions();
  ServiceManager::sessionCache().setLastRefreshTime(pf::Date{pf::Date::now().seconds - 880});

  ASSERT_TRUE(echo("t").objectAs<OpenEndToEndLesson>());
  EXPECT_EQ(server.calls(kLogin).size(), 2u);
  EXPECT_NE(ServiceManager::sessionCache().sessionId(), first);
}

TEST_F(OpenEndToEndTest, ASessionTheServerEndedReachesTheDelegateAsExpired) {
  ASSERT_TRUE(logIn().isString());
  serverSkew = 900;  // idle for the server's whole session lifetime, while the client saw it just now
  EXPECT_TRUE(echo("t").isNil());
  EXPECT_EQ(reportedErrorCode(), "open.session.expired");
}

TEST_F(OpenEndToEndTest, TheStandInRefusesWhatThePlatformWouldRefuse) {
  ASSERT_TRUE(logIn().isString());
  server.method("/v1/test/broken", [](const devserver::OpenCall&) -> devserver::OpenAnswer {
    throw std::runtime_error("NullPointerException");
  });
  struct Case {
    const char* name;
    std::function<void(ServiceConfiguration&, ServiceManager::ParamDic&)> change;
    std::string path;
    std::string errorCode;
  };
  const Case cases[] = {
      {"wrong app key", [](auto& c, auto&) { c.appKey = "0000"; }, "/v1/test/lesson/echo",
       "open.appkey.invalid"},
      {"wrong secret", [](auto& c, auto&) { c.secret = "0000"; }, "/v1/test/lesson/echo",
       "open.sign.invalid"},
      {"clock far off", [this](auto&, auto&) { serverSkew = 3600; }, "/v1/test/lesson/echo",
       "open.timestamp.invalid"},
      {"parameter no JSON", [](auto&, auto& p) { p["title"] = "bare text"; }, "/v1/test/lesson/echo",
       "open.param.invalid"},
      {"unknown method", [](auto&, auto&) {}, "/v1/test/none", "open.method.notfound"},
      {"handler fails", [](auto&, auto&) {}, "/v1/test/broken", "open.system.error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ServiceConfiguration configuration = this->configuration();
    ServiceManager::ParamDic params{{"title", openValue("t")}};
    c.change(configuration, params);
    ServiceManager::initConfiguration(configuration);
    ServiceManager::sessionCache().setLastRefreshTime(pf::Date::now());  // no renewal in between
    EXPECT_TRUE(ServiceManager::performRemoteMethod(c.path, params, "OpenEndToEndLesson", delegate).isNil());
    EXPECT_EQ(reportedErrorCode(), c.errorCode);
    serverSkew = 0;
  }
  const auto systemError = server.calls("/v1/test/broken");
  EXPECT_EQ(systemError.size(), 1u);
}

TEST_F(OpenEndToEndTest, AWrongPasswordLeavesNoSession) {
  ASSERT_TRUE(logIn().isString());
  EXPECT_TRUE(logIn("wrong").isNil());
  EXPECT_EQ(reportedErrorCode(), "open.login.failed");
  EXPECT_EQ(ServiceManager::sessionCache().sessionId(), std::nullopt);
}

TEST_F(OpenEndToEndTest, TransportFailuresMapToTheirRecords) {
  // A bound socket that never listens: connecting to it is refused, and no one else can take the port.
  const int closed = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(bind(closed, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(getsockname(closed, reinterpret_cast<sockaddr*>(&address), &length), 0);
  const std::string refusedHost = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));

  server.rawMethod("/v1/test/unavailable", devserver::answers::text(503, "down"));
  server.rawMethod("/v1/test/garbled", devserver::answers::text(200, "{\"title\": "));
  server.rawMethod("/v1/test/stall", devserver::answers::stall(5));
  // Announces more than a call may hold in memory; the call gives up at the first bytes.
  server.rawMethod("/v1/test/huge", [](devserver::Exchange& e) {
    e.sendHead(200, {{"Content-Length", std::to_string(32 * 1024 * 1024 + 1)}});
    e.write(std::string(65536, '['));
    e.pause(5);  // the rest never comes; stopping the server ends the wait
  });
  struct Case {
    const char* name;
    std::string host;
    std::string path;
    long code;
    std::string errorCode;
    std::string descriptionStart;
  };
  const Case cases[] = {
      {"refused", refusedHost, "/v1/test/lesson/echo", 1, "error.networkStatusError", ""},
      {"status 503", server.host(), "/v1/test/unavailable", 3, "error.responseStatusCodeError",
       "503 : HTTP/1.1 503"},
      {"bad JSON", server.host(), "/v1/test/garbled", 3, "error.jsonParseError", ""},
      {"stall", server.host(), "/v1/test/stall", 2, "error.requestTimeoutError", ""},
      {"answer too large", server.host(), "/v1/test/huge", 12, "error.responseTooLargeError", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ServiceConfiguration configuration = this->configuration();
    configuration.baseUrl = c.host;
    configuration.timeoutInSeconds = 1;
    configuration.autoresetSession = false;
    ServiceManager::initConfiguration(configuration);
    ServiceManager::ParamDic params;
    EXPECT_TRUE(ServiceManager::performRemoteMethod(c.path, params, "OpenEndToEndLesson", delegate).isNil());
    drainMainQueue();
    ASSERT_EQ(delegate->reports->size(), 1u);
    const pf::ErrorPtr error = delegate->reports->front().error;
    delegate->reports->clear();
    EXPECT_EQ(error->domain(), kOpenErrorDomain);
    EXPECT_EQ(error->code(), c.code);
    const auto info = OpenError::firstOrDefaultErrorInfo(*error);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->errorCode, c.errorCode);
    EXPECT_TRUE(info->description().starts_with(c.descriptionStart)) << info->description();
  }
  close(closed);
}

}  // namespace
