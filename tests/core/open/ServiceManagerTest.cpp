// Remote calls through ServiceManager on the fake network: the signed body, the session rules,
// renewal on the virtual clock, what a login leaves in the cache, and how failures reach the delegate.

#include "core/open/ServiceManager.h"

#include <gtest/gtest.h>

#include <thread>

#include "core/open/OpenError.h"
#include "core/open/OpenExtension.h"
#include "tests/core/open/OpenClientFixture.h"

namespace {

class ServiceManagerTest : public OpenClientFixture {};

TEST_F(ServiceManagerTest, BodyHoldsEachParameterAsJsonTextAndTheSigningKeys) {
  logIn("S-1");
  transport->answerAll(FakeTransport::ok("\"done\""));
  ServiceManager::ParamDic params{{"clientCourses", openValue(pf::Value(pf::Array{"c-1", "c-2"}))},
                                  {"title", openValue("a \"quoted\" name")},
                                  {"pageNo", openValue(2)}};

  EXPECT_EQ(ServiceManager::performRemoteMethod(kSync, params, "NSString", delegate), pf::Value("done"));

  ASSERT_EQ(transport->sent().size(), 1u);
  const RemoteTransport::Request sent = transport->sent().front();
  EXPECT_EQ(sent.url, "http://open.test/open/v1/lcms/courseinfo/syncCourse.html");
  EXPECT_EQ(sent.method, "POST");
  EXPECT_EQ(sent.headers, (RemoteTransport::Headers{{"Content-Type", "application/json"}}));
  EXPECT_EQ(sent.timeoutSeconds, 30.0);
  EXPECT_NE(std::string(sent.body.begin(), sent.body.end()).find('\n'), std::string::npos)
      << "pretty-printed";

  const std::map<std::string, std::string> expected{
      {"clientCourses", "[\n  \"c-1\",\n  \"c-2\"\n]"},
      {"title", "\"a \\\"quoted\\\" name\""},
      {"pageNo", "2"},
      {"appKey_", kAppKey},
      {"sign_", "890D3CBC69E8DF14E65E7E877CF241F1"},  // MD5 of "SECRET-9|<path>|SECRET-9", upper case
      {"timestamp_", "1577836800000"},
      {"session_", "S-1"}};
  EXPECT_EQ(FakeTransport::parameters(sent), expected);
  EXPECT_EQ(params, expected) << "the keys are written into the caller's dictionary";
}

TEST_F(ServiceManagerTest, SessionKeyGoesOnlyWithACachedSessionAndNeverToTheLoginPath) {
  struct Case {
    const char* name;
    bool cached;
    const char* path;
    bool carriesSession;
  };
  const Case cases[] = {
      {"other path, session cached", true, kSync, true},
      {"login path, session cached", true, kLogin, false},
      {"other path, nothing cached", false, kSync, false},
  };
  ServiceManager::initConfiguration(configuration(false));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ServiceManager::sessionCache().clear();
    if (c.cached) logIn("S-1");
    transport->forget();
    transport->answerAll(FakeTransport::ok("null"));
    // A dictionary reused from an earlier call still holds that call's session.
    ServiceManager::ParamDic params{{"session_", "OLD"}};
    ServiceManager::performRemoteMethod(c.path, params, "NSString", delegate);
    const auto sent = FakeTransport::parameters(transport->sent().back());
    EXPECT_EQ(sent.contains("session_"), c.carriesSession);
    if (c.carriesSession) {
      EXPECT_EQ(sent.at("session_"), "S-1");
    }
    if (std::string(c.path) == kLogin) {
      EXPECT_EQ(sent.at("sign_"), "FC36F27A997A32E9E079DF1470AC0DD4");
    }
  }
}

TEST_F(ServiceManagerTest, RenewsTheSessionOnceItIs880SecondsOld) {
  struct Case {
    const char* name;
    bool autoreset;
    bool loggedIn;
    double elapsed;
    FakeTransport::Answer renewal;
    std::vector<std::string> paths;
    std::optional<std::string> session;  // what the call itself carries
    std::vector<std::string> reported;   // paths the delegate hears of
  };
  const Case cases[] = {
      {"879 s", true, true, 879, FakeTransport::ok("\"S-2\""), {kSync}, "S-1", {}},
      {"880 s", true, true, 880, FakeTransport::ok("\"S-2\""), {kLogin, kSync}, "S-2", {}},
      {"renewal refused",
       true,
       true,
       880,
       FakeTransport::serverErrors("[]"),
       {kLogin, kSync},
       "S-1",
       {kLogin}},
      {"nothing cached",
       true,
       false,
       0,
       FakeTransport::failure(HttpRequestErrorCode::ConnectionFailure),
       {kLogin, kSync},
       std::nullopt,
       {kLogin}},
      {"renewal off", false, true, 5000, FakeTransport::ok("\"S-2\""), {kSync}, "S-1", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ServiceManager::sessionCache().clear();
    ServiceManager::initConfiguration(configuration(c.autoreset));
    if (c.loggedIn) logIn("S-1");
    delegate->reports->clear();
    clock->advance(c.elapsed);
    transport->setScript([&](const RemoteTransport::Request& r) {
      return FakeTransport::methodPath(r) == kLogin ? c.renewal : FakeTransport::ok("\"done\"");
    });

    ServiceManager::ParamDic params;
    EXPECT_EQ(ServiceManager::performRemoteMethod(kSync, params, "NSString", delegate), pf::Value("done"));

    EXPECT_EQ(transport->sentPaths(), c.paths);
    const auto sent = transport->sent();
    if (sent.size() == 2) {
      auto login = FakeTransport::parameters(sent.front());
      for (const char* key : {"appKey_", "sign_", "timestamp_"}) login.erase(key);
      EXPECT_EQ(login, c.loggedIn ? aliceLogin() : ServiceManager::ParamDic{})
          << "the cached texts as they were sent";
    }
    const auto call = FakeTransport::parameters(sent.back());
    EXPECT_EQ(call.contains("session_") ? std::optional(call.at("session_")) : std::nullopt, c.session);
    drainMainQueue();
    std::vector<std::string> reported;
    for (const auto& report : *delegate->reports) reported.push_back(report.requestUri);
    EXPECT_EQ(reported, c.reported);
    transport->forget();
  }
}

TEST_F(ServiceManagerTest, SuccessfulAnswersKeepTheSessionAliveAndServerErrorsDoNot) {
  logIn("S-1");
  transport->setScript([](const RemoteTransport::Request& r) {
    return FakeTransport::methodPath(r) == "/v1/fail" ? FakeTransport::serverErrors("[]")
                                                      : FakeTransport::ok("1");
  });
  ServiceManager::ParamDic params;

  clock->advance(800);
  ServiceManager::performRemoteMethod(kSync, params, "i", delegate);
  EXPECT_EQ(ServiceManager::sessionCache().lastRefreshTime(), pf::Date::now());
  clock->advance(800);
  ServiceManager::performRemoteMethod("/v1/fail", params, "i", delegate);
  EXPECT_EQ(transport->sentPaths(), (std::vector<std::string>{kSync, "/v1/fail"})) << "no renewal at 800 s";
  clock->advance(80);
  ServiceManager::performRemoteMethod(kSync, params, "i", delegate);
  EXPECT_EQ(transport->sentPaths(), (std::vector<std::string>{kSync, "/v1/fail", kLogin, kSync}))
      << "the refused call did not count as activity";
}

TEST_F(ServiceManagerTest, ASuccessfulLoginRemembersTheTextsAsSentTheSessionAndTheTime) {
  clock->advance(12);
  logIn("S-1");
  SessionCache& cache = ServiceManager::sessionCache();
  EXPECT_EQ(cache.loginName(), "\"alice\"");
  EXPECT_EQ(cache.password(), "\"pa|ss\"");
  EXPECT_EQ(cache.corpCode(), "\"acme\"");
  EXPECT_EQ(cache.sessionId(), "S-1");
  EXPECT_EQ(cache.lastRefreshTime(), pf::Date::now());
}

// Bob's failed sign-in must not leave Alice's session or credentials behind for Bob's next calls.
TEST_F(ServiceManagerTest, AFailedLoginLeavesNoEarlierSessionInUse) {
  const FakeTransport::Answer failures[] = {
      FakeTransport::serverErrors(R"([{"errorCode":"open.login.failed"}])"),
      FakeTransport::failure(HttpRequestErrorCode::TimedOut)};
  for (const auto& failure : failures) {
    logIn("ALICE-SESSION");
    transport->answerAll(failure);
    ServiceManager::ParamDic bob{{"loginName", "\"bob\""}, {"password", "\"x\""}, {"corpCode", "\"acme\""}};
    EXPECT_TRUE(ServiceManager::performRemoteMethod(kLogin, bob, "NSString", delegate).isNil());

    EXPECT_EQ(ServiceManager::sessionCache().sessionId(), std::nullopt);
    EXPECT_EQ(ServiceManager::sessionCache().loginName(), std::nullopt);
    transport->forget();
    transport->setScript([](const RemoteTransport::Request& r) {
      return FakeTransport::methodPath(r) == kLogin ? FakeTransport::serverErrors("[]")
                                                    : FakeTransport::ok("1");
    });
    ServiceManager::ParamDic params;
    ServiceManager::performRemoteMethod(kSync, params, "i", delegate);
    for (const auto& request : transport->sent()) {
      const auto sent = FakeTransport::parameters(request);
      EXPECT_FALSE(sent.contains("session_"));
      EXPECT_FALSE(sent.contains("loginName")) << "no renewal with Alice's credentials";
    }
    transport->forget();
  }
}

// Whatever else the login path answers (a proxy's sign-in page, a JSON null, nothing, an object) is a
// failed sign-in: nothing is kept, the delegate hears why, and a renewal keeps the session it had.
TEST_F(ServiceManagerTest, OnlyANonEmptyJsonStringAnsweredToTheLoginIsASession) {
  const char* bodies[] = {
      "<html><body>Sign in to the proxy</body></html>", "null", "", "{\"x\":1}", "\"\"", "42", "[\"S-9\"]"};
  for (const char* answered : bodies) {
    SCOPED_TRACE(answered);
    drainMainQueue();
    delegate->reports->clear();
    transport->answerAll(FakeTransport::ok(answered));
    ServiceManager::ParamDic params = aliceLogin();
    EXPECT_TRUE(ServiceManager::performRemoteMethod(kLogin, params, "NSString", delegate).isNil());
    EXPECT_EQ(ServiceManager::sessionCache().sessionId(), std::nullopt);
    EXPECT_EQ(ServiceManager::sessionCache().loginName(), std::nullopt);
    EXPECT_EQ(ServiceManager::sessionCache().lastRefreshTime(), std::nullopt);
    drainMainQueue();
    ASSERT_EQ(delegate->reports->size(), 1u);
    EXPECT_EQ(delegate->reports->front().requestUri, kLogin);
    EXPECT_EQ(OpenError::firstOrDefaultErrorInfo(*delegate->reports->front().error)->errorCode,
              "error.jsonParseError");

    logIn("S-1");
    clock->advance(880);
    transport->setScript([answered](const RemoteTransport::Request& r) {
      return FakeTransport::methodPath(r) == kLogin ? FakeTransport::ok(answered) : FakeTransport::ok("1");
    });
    ServiceManager::ParamDic call;
    ServiceManager::performRemoteMethod(kSync, call, "i", delegate);
    EXPECT_EQ(ServiceManager::sessionCache().sessionId(), "S-1");
    EXPECT_EQ(FakeTransport::parameters(transport->sent().back())["session_"], "S-1");
    transport->forget();
    ServiceManager::sessionCache().clear();
  }
  // Other answer types still read a text from the body as it stands.
  transport->answerAll(FakeTransport::ok("plain"));
  ServiceManager::ParamDic params;
  EXPECT_EQ(ServiceManager::performRemoteMethod(kSync, params, "NSString", delegate), pf::Value("plain"));
}

TEST_F(ServiceManagerTest, FailuresReachTheDelegateOnTheMainQueueAfterTheCallReturned) {
  logIn("S-1");
  transport->answerAll(FakeTransport::answer(500, "oops"));
  auto reports = std::make_shared<std::vector<ServiceErrorRecorder::Report>>();
  auto caller = std::make_shared<ServiceErrorRecorder>(reports);
  ServiceManager::ParamDic params;

  EXPECT_TRUE(ServiceManager::performRemoteMethod(kSync, params, "NSString", caller).isNil());
  EXPECT_TRUE(reports->empty()) << "not before the call has answered";
  caller.reset();  // the pending delivery keeps the delegate alive
  drainMainQueue();

  ASSERT_EQ(reports->size(), 1u);
  EXPECT_TRUE(reports->front().onMainThread);
  EXPECT_EQ(reports->front().requestUri, kSync);
  EXPECT_EQ(reports->front().error->domain(), kOpenErrorDomain);
  EXPECT_EQ(OpenError::firstOrDefaultErrorInfo(*reports->front().error)->errorCode,
            "error.responseStatusCodeError");

  // No delegate, or one that ignores failures: nothing to deliver, nothing breaks.
  EXPECT_TRUE(ServiceManager::performRemoteMethod(kSync, params, "NSString", nullptr).isNil());
  EXPECT_TRUE(
      ServiceManager::performRemoteMethod(kSync, params, "NSString", std::make_shared<ServiceDelegate>())
          .isNil());
  drainMainQueue();
}

TEST_F(ServiceManagerTest, AJsonNullAnswerIsNilWithoutAnError) {
  logIn("S-1");
  transport->answerAll(FakeTransport::ok("null"));
  ServiceManager::ParamDic params;
  EXPECT_TRUE(ServiceManager::performRemoteMethod(kSync, params, "OpenResult", delegate).isNil());
  EXPECT_FALSE(ServiceManager::performRemoteMethod(kSync, params, delegate));
  drainMainQueue();
  EXPECT_TRUE(delegate->reports->empty());
}

TEST_F(ServiceManagerTest, TheBooleanEntryAnswersTheSuccessFlag) {
  logIn("S-1");
  ServiceManager::ParamDic params;
  transport->answerAll(FakeTransport::ok(R"({"success": true})"));
  EXPECT_TRUE(ServiceManager::performRemoteMethod(kSync, params, delegate));
  transport->answerAll(FakeTransport::ok(R"({"success": false})"));
  EXPECT_FALSE(ServiceManager::performRemoteMethod(kSync, params, delegate));
  transport->answerAll(FakeTransport::failure(HttpRequestErrorCode::ConnectionFailure));
  EXPECT_FALSE(ServiceManager::performRemoteMethod(kSync, params, delegate));
  drainMainQueue();
  EXPECT_EQ(delegate->reports->size(), 1u);
}

TEST_F(ServiceManagerTest, ABodyTheJsonWriterRefusesFailsWithCode4) {
  ServiceManager::ParamDic params{{"name", std::string("broken \xC3")}};
  EXPECT_TRUE(ServiceManager::performRemoteMethod(kLogin, params, "NSString", delegate).isNil());
  EXPECT_TRUE(transport->sent().empty());
  drainMainQueue();
  ASSERT_EQ(delegate->reports->size(), 1u);
  EXPECT_EQ(delegate->reports->front().error->code(), kOpenPostDataErrorCode);
  EXPECT_TRUE(OpenError::errorInfos(*delegate->reports->front().error).empty());
}

// Calling before a configuration is installed is a programming error: nothing on the call's way
// catches it, so on a thread of its own it stops the process with the assertion's message. A fresh
// process (threadsafe style) has no configuration installed.
TEST(ServiceManagerDeathTest, CallsBeforeAConfigurationIsInstalledStop) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (const char* uri : {"/v1/lcms/courseinfo/syncCourse", ServiceManager::kLoginUri}) {
    SCOPED_TRACE(uri);
    const auto call = [uri] {
      ServiceManager::ParamDic params;
      params["courseId"] = "\"c1\"";
      ServiceManager::performRemoteMethod(uri, params, "NSString", nullptr);
    };
    EXPECT_DEATH(std::thread(call).join(), "please init configuration first!");
  }
}

}  // namespace
