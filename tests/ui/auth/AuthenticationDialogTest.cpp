// The credential prompt against the loopback stand-in: a proxy and a Basic server challenge
// three requests at once; one prompt answers them all, another server's question waits for its own
// prompt, Cancel fails them with code 3, and the footer and the form follow the challenge.

#include "ui/auth/AuthenticationDialog.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/host/HeadlessHost.h"
#include "platform/net/ProxySettings.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TextField.h"
#include "tests/core/http/HttpRequestFixture.h"
#include "tests/platform/ui/UiTest.h"
#include "tools/devserver/Answers.h"
#include "tools/devserver/ChallengeAnswers.h"
#include "tools/devserver/DevServer.h"

namespace {

namespace answers = devserver::answers;

class Finisher : public HttpRequestDelegate {
 public:
  void requestFinished(const HttpRequest::Ptr&) override { ++ended; }
  void requestFailed(const HttpRequest::Ptr&) override { ++ended; }
  int ended = 0;
};

class AuthenticationDialogTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    pf::Sandbox::setHome(home.path());
    pf::RunLoop::setMainThread();
    server.route("/digest*", answers::digestChallenge("Exams", "ann", "pw", "digest ok"));
    server.route("/ntlm*", answers::ntlmChallenge("ann", "pw", "CORP", "ntlm ok"));
    server.route("/basic*", answers::basicChallenge("Courses", "ann", "pw", "basic ok"));
    server.route("http://gate.test/*", answers::proxyBasicChallenge("Gate", "pu", "pp", "let through"));
    ASSERT_TRUE(server.start());
    HttpRequest::setCredentialPrompt([this](const HttpRequest::Ptr& request) {
      ++questions;
      AuthenticationDialog::presentAuthenticationDialogForRequest(request);
    });
  }
  void TearDown() override {
    HttpRequest::setCredentialPrompt(nullptr);
    AuthenticationDialog::reset();
    pf::ProxySettings::setCurrent(nullptr);
    forgetCredentials();
    server.stop();
    pf::Sandbox::setHome("");
    UiTest::TearDown();
  }
  static void forgetCredentials() {
    for (const auto& entry : HttpRequest::sessionCredentialsStore())
      HttpRequest::removeAuthenticationCredentialsFromSessionStore(entry.credentials);
    for (const auto& entry : HttpRequest::sessionProxyCredentialsStore())
      HttpRequest::removeProxyAuthenticationCredentialsFromSessionStore(entry.credentials);
  }
  HttpRequest::Ptr challenged(const std::string& url) {
    auto request = HttpRequest::requestWithURL(pf::Url::parse(url));
    request->shouldPresentAuthenticationDialog = true;
    request->setDelegate(finisher);
    return request;
  }
  void startAll(const std::vector<HttpRequest::Ptr>& requests) {
    for (const auto& r : requests) r->startAsynchronous();
  }
  // Runs the loop until a prompt shows (true) or the time is up.
  bool waitForPrompt() {
    const bool shown = loop->runUntilTrue([] { return AuthenticationDialog::currentPrompt() != nullptr; }, 10);
    loop->runUntil(pf::Clock::now() + 1);
    return shown;
  }
  bool waitForEnd(size_t count) {
    return loop->runUntilTrue([&] { return finisher->ended >= static_cast<int>(count); }, 10);
  }
  static void answer(const std::string& user, const std::string& password, const std::string& domain = "") {
    auto prompt = AuthenticationDialog::currentPrompt();
    prompt->usernameField()->setText(user);
    prompt->passwordField()->setText(password);
    if (auto field = prompt->domainField()) field->setText(domain);
    prompt->loginWithCredentialsFromDialog();
  }

  pf_test::TemporaryFolder home;
  devserver::DevServer server;
  std::shared_ptr<Finisher> finisher = std::make_shared<Finisher>();
  int questions = 0;
};

// Faults caught: a prompt per request, an answer that reaches only the prompt's own request, a
// second prompt stacked over the first, a proxy answer put in the server fields, NTLM without domain.
TEST_F(AuthenticationDialogTest, ThreeChallengedRequestsGetOnePromptAndOneAnswer) {
  struct Case {
    const char* name;
    std::string path;
    bool proxy;
    std::string user, password, domain, body;
    long sections;
  } cases[] = {
      {"proxy", "http://gate.test/exam", true, "pu", "pp", "", "let through", 1},
      {"basic", server.url("/basic"), false, "ann", "pw", "", "basic ok", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    forgetCredentials();
    questions = 0;
    finisher->ended = 0;
    pf::ProxySettings::setCurrent(
        c.proxy ? std::make_shared<pf::ProxySettings>(std::map<std::string, std::string>{
                      {"http_proxy", "http://127.0.0.1:" + std::to_string(server.port())}})
                : nullptr);
    std::vector<HttpRequest::Ptr> requests;
    for (int i = 1; i <= 3; ++i) requests.push_back(challenged(c.path + "/" + std::to_string(i)));
    startAll(requests);
    ASSERT_TRUE(waitForPrompt());
    auto prompt = AuthenticationDialog::currentPrompt();
    EXPECT_EQ(prompt->type(), c.proxy ? AuthenticationDialog::kProxyType : AuthenticationDialog::kServerType);
    EXPECT_EQ(prompt->numberOfSectionsInTableView(*prompt->tableView()), c.sections);
    EXPECT_EQ(prompt->navigationBar()->topItem()->prompt(),
              c.proxy ? AuthenticationDialog::kProxyPrompt : AuthenticationDialog::kServerPrompt);
    answer(c.user, c.password, c.domain);
    ASSERT_TRUE(waitForEnd(3));
    EXPECT_EQ(questions, 1);
    for (const auto& r : requests) {
      EXPECT_EQ(r->responseStatusCode, 200);
      EXPECT_EQ(r->responseString(), c.body);
    }
    loop->runUntil(pf::Clock::now() + 1);
    EXPECT_FALSE(AuthenticationDialog::currentPrompt());
  }
}

// Faults caught: a second question shown over the first, never shown, or answered with the first
// one's credentials; Cancel that leaves requests hanging or reports another code.
TEST_F(AuthenticationDialogTest, AnotherServersQuestionWaitsAndCancelFailsWithCodeThree) {
  auto exams = challenged(server.url("/digest/1"));
  auto courses = challenged(server.url("/basic/1"));
  startAll({exams});
  ASSERT_TRUE(waitForPrompt());
  startAll({courses});
  ASSERT_TRUE(loop->runUntilTrue([] { return !AuthenticationDialog::waitingRequests().empty(); }, 10));
  EXPECT_EQ(AuthenticationDialog::currentPrompt()->request(), exams);
  AuthenticationDialog::currentPrompt()->cancelAuthenticationFromDialog();
  ASSERT_TRUE(waitForPrompt());
  auto next = AuthenticationDialog::currentPrompt();
  EXPECT_EQ(next->request(), courses) << "the waiting question gets its own prompt";
  EXPECT_EQ(next->titleForHeaderInSection(*next->tableView(), 0), "Courses");
  answer("ann", "pw");
  ASSERT_TRUE(waitForEnd(2));
  ASSERT_TRUE(exams->error.get());
  EXPECT_EQ(exams->error.get()->code(), 3);
  EXPECT_EQ(courses->responseStatusCode, 200);
}

// Fault caught: a proxy's Basic challenge called secure because the address is https (the footer read
// the server's scheme).
TEST_F(AuthenticationDialogTest, TheFooterSaysWhetherThePasswordTravelsInTheClear) {
  struct Case {
    const char* name;
    const char* url;
    int needed;
    std::optional<std::string> scheme, proxyScheme;
    const char* footer;
  } cases[] = {
      {"basic over http", "http://courses.test/a", 1, "Basic", std::nullopt, AuthenticationDialog::kInTheClear},
      {"basic over https", "https://courses.test/a", 1, "Basic", std::nullopt, AuthenticationDialog::kSecurely},
      {"digest over http", "http://courses.test/a", 1, "Digest", std::nullopt, AuthenticationDialog::kSecurely},
      {"proxy basic, https address", "https://courses.test/a", 2, "Digest", "Basic", AuthenticationDialog::kInTheClear},
      {"proxy digest", "http://courses.test/a", 2, "Basic", "Digest", AuthenticationDialog::kSecurely},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto request = HttpRequest::requestWithURL(pf::Url::parse(c.url));
    request->authenticationNeeded = c.needed;
    request->authenticationScheme.set(c.scheme);
    request->proxyAuthenticationScheme.set(c.proxyScheme);
    request->proxyHost.set(std::string("gate"));
    AuthenticationDialog::presentAuthenticationDialogForRequest(request);
    auto prompt = AuthenticationDialog::currentPrompt();
    ASSERT_TRUE(prompt);
    EXPECT_EQ(prompt->numberOfSectionsInTableView(*prompt->tableView()), 1);
    EXPECT_EQ(prompt->titleForFooterInSection(*prompt->tableView(), 0), c.footer);
    EXPECT_EQ(prompt->navigationBar()->topItem()->title(), c.needed == 2 ? "gate" : "courses.test");
    AuthenticationDialog::reset();
    runUntil(pf::Clock::now() + 1);
  }
}

// Faults caught: NTLM asked without its domain, or the domain asked of other schemes.
TEST_F(AuthenticationDialogTest, AnNtlmChallengeAlsoAsksForTheDomain) {
  for (const int needed : {1, 2}) {
    SCOPED_TRACE(needed);
    auto request = HttpRequest::requestWithURL(pf::Url::parse("http://courses.test/a"));
    request->authenticationNeeded = needed;
    (needed == 2 ? request->proxyAuthenticationScheme : request->authenticationScheme).set(std::string("NTLM"));
    AuthenticationDialog::presentAuthenticationDialogForRequest(request);
    auto prompt = AuthenticationDialog::currentPrompt();
    ASSERT_TRUE(prompt);
    EXPECT_EQ(prompt->numberOfSectionsInTableView(*prompt->tableView()), 2);
    runUntil(pf::Clock::now() + 1);
    ASSERT_TRUE(prompt->domainField());
    EXPECT_EQ(prompt->domainField()->placeholder(), std::string(AuthenticationDialog::kDomainPlaceholder));
    EXPECT_TRUE(prompt->passwordField()->isSecureTextEntry());
    AuthenticationDialog::reset();
    runUntil(pf::Clock::now() + 1);
  }
}

// Fault caught: the prompt presented into its invisible presenter's zero-sized frame.
TEST_F(AuthenticationDialogTest, ThePromptCoversTheScreenOnAPhoneAndIsASheetOnATablet) {
  for (const auto profile : {pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet}) {
    pf::Screen::configure(profile);
    window = std::make_shared<pf::Window>();
    auto behind = std::make_shared<pf::ViewController>();
    behind->view()->setBackgroundColor(pf::Color::white());
    window->setRootViewController(behind);
    window->makeKeyAndVisible();
    auto request = HttpRequest::requestWithURL(pf::Url::parse("http://courses.test/a"));
    request->authenticationNeeded = 1;
    AuthenticationDialog::presentAuthenticationDialogForRequest(request);
    runUntil(pf::Clock::now() + 1);
    const pf::Rect frame = AuthenticationDialog::currentPrompt()->view()->frame();
    const pf::Rect screen = window->bounds();
    if (profile == pf::Screen::Profile::Phone) {
      EXPECT_GE(frame.height(), screen.height() - 20);
      EXPECT_EQ(frame.width(), screen.width());
    } else {
      EXPECT_EQ(frame.size, pf::Size(540, 620));
      EXPECT_DOUBLE_EQ(frame.midX(), screen.midX());
    }
    // Fault caught: the screen around a tablet's sheet left bright and touchable, as if nothing waited.
    pf::HeadlessHost host(window);
    host.render();
    const pf::Pixel beside = host.pixelAt({screen.minX() + 10, screen.maxY() - 10});
    const bool tablet = profile == pf::Screen::Profile::Tablet;
    if (tablet) EXPECT_LT(beside.red, 200) << "dimmed around the sheet";
    AuthenticationDialog::reset();
    runUntil(pf::Clock::now() + 1);
    host.render();
    EXPECT_GT(host.pixelAt({screen.minX() + 10, screen.maxY() - 10}).red, 200) << "the shade goes with the sheet";
  }
  pf::Screen::configure(pf::Screen::Profile::Phone);
}

}  // namespace
