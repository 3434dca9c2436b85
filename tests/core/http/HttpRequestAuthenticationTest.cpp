#include <gtest/gtest.h>

#include <algorithm>

#include <string>

#include "core/http/HttpRequest.h"
#include "platform/foundation/RunLoop.h"
#include "tests/core/http/HttpRequestFixture.h"
#include "tools/devserver/Answers.h"
#include "tools/devserver/ChallengeAnswers.h"
#include "tools/devserver/DevServer.h"
#include "tools/devserver/SelfSignedCertificate.h"

namespace {

namespace answers = devserver::answers;

// Answers credential questions on the main thread, at once or when told: with these credentials, or by
// cancelling.
class Answerer : public HttpRequestDelegate {
 public:
  bool implements(Optional operation) const override {
    return answersQuestions && operation == Optional::AuthenticationNeeded;
  }
  void authenticationNeededForRequest(const HttpRequest::Ptr& request) override {
    ++questions;
    asked.push_back(request);
    if (!deferred) answer();
  }
  void answer() {
    for (const HttpRequest::Ptr& request : asked) {
      if (!user) {
        request->cancelAuthentication();
        continue;
      }
      request->username.set(user);
      request->password.set(password);
      request->retryUsingSuppliedCredentials();
    }
    asked.clear();
  }
  void requestFinished(const HttpRequest::Ptr&) override { ++ended; }
  void requestFailed(const HttpRequest::Ptr&) override { ++ended; }

  bool answersQuestions = true;
  bool deferred = false;
  std::optional<std::string> user;
  std::string password;
  std::vector<HttpRequest::Ptr> asked;
  int questions = 0;
  int ended = 0;
};

class HttpRequestAuthenticationTest : public HttpRequestFixture {
 protected:
  void SetUp() override {
    HttpRequestFixture::SetUp();
    pf::RunLoop::setMainThread();
    server.route("/basic*", answers::basicChallenge("Courses", "ann", "pw", "basic ok"));
    server.route("/digest", answers::digestChallenge("Exams", "ann", "pw", "digest ok"));
    server.route("/ntlm", answers::ntlmChallenge("ann", "pw", "CORP", "ntlm ok"));
    ASSERT_TRUE(server.start());
  }
  void TearDown() override {
    forgetSessionCredentials();
    server.stop();
    HttpRequestFixture::TearDown();
  }

  static void forgetSessionCredentials() {
    for (const HttpSessionCredential& entry : HttpRequest::sessionCredentialsStore()) {
      HttpRequest::removeAuthenticationCredentialsFromSessionStore(entry.credentials);
    }
  }
  HttpRequest::Ptr get(const std::string& path, std::optional<std::string> user = std::nullopt,
                       std::optional<std::string> password = std::nullopt) {
    HttpRequest::Ptr r = request(server.url(path));
    r->username.set(std::move(user));
    r->password.set(std::move(password));
    return r;
  }
  static long errorCode(const HttpRequest& r) { return r.error.get() ? r.error.get()->code() : 0; }
  static void start(const std::vector<HttpRequest::Ptr>& requests,
                    const std::shared_ptr<Answerer>& answerer) {
    for (const HttpRequest::Ptr& r : requests) {
      r->setDelegate(answerer);
      r->startAsynchronous();
    }
  }
  // Runs the main loop until each request has ended.
  static void finish(const std::vector<HttpRequest::Ptr>& requests,
                     const std::shared_ptr<Answerer>& answerer) {
    EXPECT_TRUE(pf::RunLoop::main()->runUntilTrue(
        [&] { return answerer->ended == static_cast<int>(requests.size()); }, 10));
  }
  static void runAsynchronously(const std::vector<HttpRequest::Ptr>& requests,
                                const std::shared_ptr<Answerer>& answerer) {
    start(requests, answerer);
    finish(requests, answerer);
  }

  devserver::DevServer server;
};

TEST_F(HttpRequestAuthenticationTest, BasicChallengesAreAnsweredFromTheUrlOrTheRequest) {
  const struct {
    const char* name;
    std::string url;
    std::optional<std::string> user, password;
    int status;
    long code;
    std::size_t sent;
  } cases[] = {
      {"url", "http://ann:pw@127.0.0.1:" + std::to_string(server.port()) + "/basic", {}, {}, 200, 0, 2},
      {"request", server.url("/basic"), "ann", "pw", 200, 0, 2},
      {"wrong password", server.url("/basic"), "ann", "nope", 401, 3, 2},
      {"nothing to answer with", server.url("/basic"), {}, {}, 401, 3, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    forgetSessionCredentials();
    const std::size_t before = server.requests().size();
    HttpRequest::Ptr r = request(c.url);
    r->username.set(c.user);
    r->password.set(c.password);
    r->startSynchronous();
    EXPECT_EQ(r->responseStatusCode, c.status);
    ASSERT_EQ(errorCode(*r), c.code);
    EXPECT_EQ(server.requests().size() - before, c.sent);
    if (c.code == 0) {
      EXPECT_EQ(r->responseString(), "basic ok");
      EXPECT_EQ(server.requests().back().header("Authorization"), "Basic YW5uOnB3");
    } else {
      EXPECT_EQ(r->error.get()->localizedDescription(), "Authentication needed");
    }
  }
}

TEST_F(HttpRequestAuthenticationTest, AcceptedCredentialsGoWithTheNextRequestToThatServer) {
  get("/basic", "ann", "pw")->startSynchronous();
  const std::size_t before = server.requests().size();
  HttpRequest::Ptr next = get("/basic/other");
  next->startSynchronous();
  EXPECT_EQ(next->responseStatusCode, 200);
  EXPECT_EQ(server.requests().size() - before, 1u);
}

// The server that asked gets the credentials; one a redirect leads to has to ask for its own, and the
// request has none left to give it.
TEST_F(HttpRequestAuthenticationTest, ChallengedCredentialsNeverFollowARedirectToAnotherServer) {
  devserver::DevServer other;
  ASSERT_TRUE(other.start());
  devserver::DevServer secure;
  const auto certificate = devserver::SelfSignedCertificate::make("127.0.0.1");
  ASSERT_TRUE(secure.startTls(certificate.certificatePem, certificate.privateKeyPem));
  for (devserver::DevServer* s : {&server, &other, &secure}) {
    s->route("/landing", [](devserver::Exchange& e) { e.respond(200, "landed"); });
  }
  other.route("/guarded", answers::basicChallenge("Other", "ann", "pw", "guarded"));
  const struct {
    const char* name;
    std::string target;
    devserver::DevServer* reached;
    bool carriesCredentials;
    long code;
  } cases[] = {
      {"same server", server.url("/landing"), &server, true, 0},
      {"another host", "http://localhost:" + std::to_string(server.port()) + "/landing", &server, false, 0},
      {"another port", other.url("/landing"), &other, false, 0},
      {"another scheme", secure.url("/landing"), &secure, false, 0},
      {"another server that asks", other.url("/guarded"), &other, false, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    forgetSessionCredentials();
    const std::string path = "/moving" + std::to_string(&c - cases);
    const std::string target = c.target;
    server.route(path, [target](devserver::Exchange& e) {
      if (e.request().header("Authorization") == "Basic YW5uOnB3") {
        return e.respond(302, "", {{"Location", target}});
      }
      e.respond(401, "", {{"WWW-Authenticate", "Basic realm=\"Courses\""}});
    });
    const std::size_t before = c.reached->requests().size();
    HttpRequest::Ptr r = get(path, "ann", "pw");
    r->validatesSecureCertificate = false;
    r->startSynchronous();
    EXPECT_EQ(errorCode(*r), c.code);
    const std::string landed = pf::Url::parse(c.target)->path();
    bool anyCredentials = false;
    const std::vector<devserver::Request> received = c.reached->requests();
    ASSERT_GT(received.size(), before);
    for (std::size_t i = before; i < received.size(); ++i) {
      if (received[i].path == landed && received[i].header("Authorization")) anyCredentials = true;
    }
    EXPECT_EQ(anyCredentials, c.carriesCredentials);
  }
}

TEST_F(HttpRequestAuthenticationTest, DigestAnswersPassTheServersOwnCheck) {
  HttpRequest::Ptr right = get("/digest", "ann", "pw");
  right->startSynchronous();
  EXPECT_EQ(right->responseStatusCode, 200);
  EXPECT_EQ(right->responseString(), "digest ok");
  EXPECT_EQ(right->authenticationScheme.get(), "Digest");
  EXPECT_EQ(right->authenticationRealm.get(), "Exams");

  forgetSessionCredentials();
  HttpRequest::Ptr wrong = get("/digest", "ann", "nope");
  wrong->startSynchronous();
  EXPECT_EQ(errorCode(*wrong), 3);
}

// One server, two Digest realms: the saved answer of one realm sent ahead to the other is met with that
// realm's own challenge, which is answered, and the first realm's entry stays.
TEST_F(HttpRequestAuthenticationTest, AnotherRealmsChallengeIsAnsweredAndKeepsTheFirstRealmsEntry) {
  server.route("/surveys", answers::digestChallenge("Surveys", "ann", "pw", "surveys ok"));
  HttpRequest::Ptr exams = get("/digest", "ann", "pw");
  exams->startSynchronous();
  ASSERT_EQ(exams->responseStatusCode, 200);

  HttpRequest::Ptr surveys = get("/surveys", "ann", "pw");
  surveys->startSynchronous();
  EXPECT_EQ(errorCode(*surveys), 0);
  EXPECT_EQ(surveys->responseStatusCode, 200);
  EXPECT_EQ(surveys->responseString(), "surveys ok");
  EXPECT_EQ(surveys->authenticationRealm.get(), "Surveys");

  std::vector<std::optional<std::string>> realms;
  for (const HttpSessionCredential& entry : HttpRequest::sessionCredentialsStore())
    realms.push_back(entry.authenticationRealm);
  EXPECT_NE(std::find(realms.begin(), realms.end(), std::optional<std::string>("Exams")), realms.end());
  HttpRequest::Ptr again = get("/digest", "ann", "pw");
  again->startSynchronous();
  EXPECT_EQ(again->responseStatusCode, 200);
}

TEST_F(HttpRequestAuthenticationTest, NtlmTakesTheAccountDomainFromTheUserName) {
  HttpRequest::Ptr r = get("/ntlm", "CORP\\ann", "pw");
  r->startSynchronous();
  EXPECT_EQ(r->responseStatusCode, 200);
  EXPECT_EQ(r->responseString(), "ntlm ok");
  EXPECT_EQ(server.requests().size(), 3u);
}

TEST_F(HttpRequestAuthenticationTest, NtlmStopsAtItsRetryLimit) {
  HttpRequest::Ptr alone = get("/ntlm", "CORP\\ann", "nope");
  alone->startSynchronous();
  EXPECT_EQ(errorCode(*alone), 3);
  EXPECT_EQ(server.requests().size(), 3u);

  // A delegate that keeps giving the wrong password is asked once, not forever.
  auto answerer = std::make_shared<Answerer>();
  answerer->user = "CORP\\ann";
  answerer->password = "nope";
  HttpRequest::Ptr asking = get("/ntlm");
  runAsynchronously({asking}, answerer);
  EXPECT_EQ(errorCode(*asking), 3);
  EXPECT_EQ(answerer->questions, 1);
}

TEST_F(HttpRequestAuthenticationTest, RequestsChallengedTogetherAskOnce) {
  const struct {
    const char* name;
    std::optional<std::string> user;
    int status;
    long code;
  } cases[] = {
      {"answered", "ann", 200, 0},
      {"cancelled", std::nullopt, 401, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    forgetSessionCredentials();
    auto answerer = std::make_shared<Answerer>();
    answerer->deferred = true;
    answerer->user = c.user;
    answerer->password = "pw";
    const std::size_t before = server.requests().size();
    const std::vector<HttpRequest::Ptr> requests{get("/basic/1"), get("/basic/2"), get("/basic/3")};
    start(requests, answerer);
    // Every request has its challenge before the one question is answered.
    auto main = pf::RunLoop::main();
    EXPECT_TRUE(main->runUntilTrue([&] { return server.requests().size() - before == 3; }, 10));
    main->runUntilTrue([] { return false; }, 0.3);
    answerer->answer();
    finish(requests, answerer);
    EXPECT_EQ(answerer->questions, 1);
    for (const HttpRequest::Ptr& r : requests) {
      EXPECT_EQ(r->responseStatusCode, c.status);
      EXPECT_EQ(errorCode(*r), c.code);
    }
  }
}

TEST_F(HttpRequestAuthenticationTest, ThePromptAnswersWhenTheRequestAllowsIt) {
  HttpRequest::setCredentialPrompt([](const HttpRequest::Ptr& r) {
    r->username.set("ann");
    r->password.set("pw");
    r->retryUsingSuppliedCredentials();
  });
  HttpRequest::Ptr allowed = get("/basic");
  allowed->shouldPresentAuthenticationDialog = true;
  HttpRequest::Ptr refused = get("/basic/other");
  for (const HttpRequest::Ptr& r : {allowed, refused}) {
    forgetSessionCredentials();
    auto silent = std::make_shared<Answerer>();
    silent->answersQuestions = false;
    runAsynchronously({r}, silent);
  }
  HttpRequest::setCredentialPrompt(nullptr);
  EXPECT_EQ(allowed->responseStatusCode, 200);
  EXPECT_EQ(errorCode(*refused), 3);
}

}  // namespace
