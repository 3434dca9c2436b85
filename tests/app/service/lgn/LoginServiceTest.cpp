// Signing in over a scripted network and offline against the stored profile, the password change,
// the remember-me flag and signing out.

#include "app/service/lgn/LoginService.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/service/cms/DownloadService.h"
#include "core/open/ErrorInfo.h"
#include "core/open/OpenError.h"
#include "core/util/MD5HexDigest.h"
#include "platform/foundation/Log.h"
#include "platform/net/ManualReachabilityProvider.h"
#include "tests/app/support/RemoteServiceSandbox.h"

namespace {

constexpr char kTyped[] = "Secret-7 pass";

class LoginServiceTest : public RemoteServiceSandbox {
 protected:
  void SetUp() override {
    RemoteServiceSandbox::SetUp();
    previousProvider_ = pf::ReachabilityProvider::install(reachability_);
    setOnline(true);
    service = std::make_unique<LoginService>(delegate);
    serveServer();
  }
  void TearDown() override {
    DownloadService::unload();
    pf::ReachabilityProvider::install(previousProvider_);
    RemoteServiceSandbox::TearDown();
  }

  void setOnline(bool online) {
    reachability_->setFlags(online ? pf::kReachabilityFlagsReachable | pf::kReachabilityFlagsIsDirect : 0);
  }

  // The server of the test: these answers to the profile and the menu, sessions for every sign-in.
  void serveServer(
      const std::string& profile = profileOf("U7", MD5HexDigest::MD5TO32Lower(kTyped)),
      const std::string& menu = R"([{"appCode": "up_my_course", "iosApp": true, "leftMenu": true}])",
      bool passwordChanged = true) {
    transport->setScript([=](const FakeTransport::Request& request) {
      const std::string path = FakeTransport::methodPath(request);
      if (path == "/v1/uc/login/ologin") return FakeTransport::ok(R"("SESSION-1")");
      if (path == "/v1/uc/user/get") return FakeTransport::ok(profile);
      if (path == "/v1/cs/usermobileapp/getMobileApp") return FakeTransport::ok(menu);
      if (path == "/v1/lcms/courseinfo/getCourseRate") return FakeTransport::ok("85.5");
      if (path == "/v1/uc/user/modifyUserPassword")
        return FakeTransport::ok(passwordChanged ? R"({"success": true})" : R"({"success": false})");
      return FakeTransport::failure(HttpRequestErrorCode::ConnectionFailure);
    });
  }
  static std::string profileOf(const std::string& userId, const std::string& digest) {
    return R"({"userId": ")" + userId + R"(", "userName": "王芳", "loginName": "wang", "corpCode": "acme",
               "corpName": "Acme", "password": ")" +
           digest + R"("})";
  }

  std::vector<std::string> reportedMessages() {
    drainMainQueue();
    std::vector<std::string> messages;
    for (const auto& report : *delegate->reports) {
      EXPECT_EQ(report.requestUri, "/v1/uc/login/ologin");
      EXPECT_TRUE(report.onMainThread);
      const auto record = OpenError::firstOrDefaultErrorInfo(*report.error);
      messages.push_back(record ? record->cause.value_or("(no cause)") : "(no record)");
    }
    delegate->reports->clear();
    return messages;
  }

  std::unique_ptr<LoginService> service;

 private:
  std::shared_ptr<pf::ManualReachabilityProvider> reachability_ =
      std::make_shared<pf::ManualReachabilityProvider>();
  std::shared_ptr<pf::ReachabilityProvider> previousProvider_;
};

TEST_F(LoginServiceTest, OnlineSignInStoresTheProfileAndMenuAndRemembersTheSignIn) {
  ASSERT_TRUE(service->login("wang", kTyped, "acme"));
  EXPECT_EQ(transport->sentPaths(), (std::vector<std::string>{"/v1/uc/login/ologin", "/v1/uc/user/get",
                                                              "/v1/lcms/courseinfo/getCourseRate",
                                                              "/v1/cs/usermobileapp/getMobileApp"}));
  EXPECT_EQ(sentParameters(0).at("loginName"), "\"wang\"");
  EXPECT_EQ(sentParameters(0).at("password"), std::string("\"") + kTyped + "\"");
  CommonService common;
  ASSERT_NE(common.getCurrentUser(), nullptr);
  EXPECT_EQ(common.getCurrentUserId(), "U7");
  EXPECT_EQ(common.getLastLoginUserId(), "U7");
  EXPECT_EQ(common.getLastLoginUserPassword(), kTyped);
  EXPECT_EQ(common.getLastLoginCorpcode(), "acme");
  EXPECT_NE(VelkDBHelper::instance()->queryForObject(User::kClassName, pf::Value("U7")), nullptr);
  EXPECT_EQ(VelkDBHelper::instance()->queryForList(MobileApp::kClassName, "select * from mobile_app").size(),
            1u);
  EXPECT_EQ(DownloadService::instance()->userId(), "U7");
  EXPECT_FLOAT_EQ(CourseService().getCorpStudyRate(), 85.5f);
  EXPECT_TRUE(reportedMessages().empty());
}

TEST_F(LoginServiceTest, OfflineSignInMatchesOnlyTheDigestOfExactlyTheTypedPassword) {
  ASSERT_TRUE(service->login("wang", kTyped, "acme"));
  LoginService::signOut();
  setOnline(false);
  transport->answerAll(FakeTransport::failure(HttpRequestErrorCode::ConnectionFailure));
  const std::size_t sentBefore = transport->sent().size();
  struct Case {
    std::string loginName, password, corpCode;
    bool signedIn;
  };
  for (const Case& c :
       {Case{"wang", "secret-7 pass", "acme", false}, Case{"wang", "Secret-7 pass ", "acme", false},
        Case{"wang", MD5HexDigest::MD5TO32Lower(kTyped), "acme", false}, Case{"wang", kTyped, "other", false},
        Case{"li", kTyped, "acme", false}, Case{"wang", kTyped, "acme", true}}) {
    SCOPED_TRACE(c.password + "/" + c.loginName + "/" + c.corpCode);
    EXPECT_EQ(service->login(c.loginName, c.password, c.corpCode), c.signedIn);
    EXPECT_EQ(reportedMessages(),
              c.signedIn ? std::vector<std::string>{} : std::vector<std::string>{"登录失败!"});
    EXPECT_EQ(CommonService().getCurrentUserId(),
              c.signedIn ? std::optional<std::string>("U7") : std::nullopt);
  }
  EXPECT_EQ(transport->sent().size(), sentBefore);
}

TEST_F(LoginServiceTest, OfflineSignInOfAUserNeverSignedInOnlineFails) {
  setOnline(false);
  EXPECT_FALSE(service->login("wang", kTyped, "acme"));
  EXPECT_EQ(reportedMessages(), std::vector<std::string>{"登录失败!"});
  EXPECT_EQ(CommonService().getCurrentUser(), nullptr);
  EXPECT_FALSE(CommonService().getLastLoginUserId());
}

TEST_F(LoginServiceTest, AnEmptyMenuRefusesWithThePermissionMessageAndNoCurrentUser) {
  serveServer(profileOf("U7", "d"), "[]");
  EXPECT_FALSE(service->login("wang", kTyped, "acme"));
  EXPECT_EQ(reportedMessages(), std::vector<std::string>{"您没有使用权限，请联系管理员!"});
  EXPECT_EQ(CommonService().getCurrentUser(), nullptr);
  EXPECT_FALSE(CommonService().getLastLoginUserId());
  EXPECT_EQ(VelkDBHelper::instance()->queryForObject(User::kClassName, pf::Value("U7")), nullptr);
  EXPECT_FALSE(ServiceManager::sessionCache().sessionId());
}

TEST_F(LoginServiceTest, AFailedProfileFetchFailsTheSignInAndStoresNoMenu) {
  for (const std::string& profile : {std::string("null"), std::string(R"({"userName": "no id"})")}) {
    SCOPED_TRACE(profile);
    serveServer(profile);
    EXPECT_FALSE(service->login("wang", kTyped, "acme"));
    EXPECT_EQ(CommonService().getCurrentUser(), nullptr);
    EXPECT_TRUE(
        VelkDBHelper::instance()->queryForList(MobileApp::kClassName, "select * from mobile_app").empty());
    EXPECT_TRUE(VelkDBHelper::instance()->queryForList(User::kClassName, "select * from user").empty());
  }
}

TEST_F(LoginServiceTest, ARefusedOnlineSignInChangesNothing) {
  transport->answerAll(
      FakeTransport::serverErrors(R"([{"errorCode": "open.login.failed", "cause": "用户名或密码错误！"}])"));
  EXPECT_FALSE(service->login("wang", "wrong", "acme"));
  EXPECT_EQ(transport->sentPaths(), std::vector<std::string>{"/v1/uc/login/ologin"});
  EXPECT_EQ(CommonService().getCurrentUser(), nullptr);
}

TEST_F(LoginServiceTest, APasswordChangeMovesTheStoredDigestForOfflineSignIn) {
  ASSERT_TRUE(service->login("wang", kTyped, "acme"));
  ASSERT_TRUE(service->modifyUserPasswordWithUserName(std::string("wang"), std::string("New-8"),
                                                      std::string(kTyped)));
  const auto sent = sentParameters(transport->sent().size() - 1);
  EXPECT_EQ(sent.at("psw"), "\"New-8\"");
  EXPECT_EQ(sent.at("oldPsw"), std::string("\"") + kTyped + "\"");
  EXPECT_EQ(CommonService().getCurrentUser()->password, MD5HexDigest::MD5TO32Lower("New-8"));

  LoginService::signOut();
  setOnline(false);
  EXPECT_FALSE(service->login("wang", kTyped, "acme"));
  EXPECT_TRUE(service->login("wang", "New-8", "acme"));
}

TEST_F(LoginServiceTest, ARefusedPasswordChangeKeepsTheStoredDigest) {
  serveServer(profileOf("U7", MD5HexDigest::MD5TO32Lower(kTyped)),
              R"([{"appCode": "up_my_course", "iosApp": true, "leftMenu": true}])", false);
  ASSERT_TRUE(service->login("wang", kTyped, "acme"));
  EXPECT_FALSE(service->modifyUserPasswordWithUserName(std::string("wang"), std::string("New-8"),
                                                       std::string(kTyped)));
  LoginService::signOut();
  setOnline(false);
  EXPECT_TRUE(service->login("wang", kTyped, "acme"));
}

TEST_F(LoginServiceTest, RememberMeDefaultsToYesAndFollowsTheRememberedUser) {
  EXPECT_TRUE(service->getLoginCheckBox());  // nobody remembered
  ASSERT_TRUE(service->login("wang", kTyped, "acme"));
  EXPECT_TRUE(service->getLoginCheckBox());  // no row
  service->saveLoginCheckBox(false, std::string("wang"));
  EXPECT_EQ(VelkDBHelper::instance()->valueForSettingKey("auto_login_wang"), "0");
  EXPECT_FALSE(service->getLoginCheckBox());
  service->saveLoginCheckBox(true, std::string("wang"));
  EXPECT_EQ(VelkDBHelper::instance()->valueForSettingKey("auto_login_wang"), "1");
  EXPECT_TRUE(service->getLoginCheckBox());
  service->saveLoginCheckBox(false, std::string("someone-else"));
  EXPECT_TRUE(service->getLoginCheckBox());
}

TEST_F(LoginServiceTest, TheRememberedPasswordIsNeitherLoggedNorReadableByOthers) {
  pf::Log::Capture log;
  ASSERT_TRUE(service->login("wang", kTyped, "acme"));
  ASSERT_TRUE(service->modifyUserPasswordWithUserName(std::string("wang"), std::string("New-8"),
                                                      std::string(kTyped)));
  EXPECT_FALSE(log.contains(kTyped));
  EXPECT_FALSE(log.contains("New-8"));
  struct stat info {};
  ASSERT_EQ(::stat(pf::UserDefaults::standardUserDefaults()->path().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0077, 0u);
}

TEST_F(LoginServiceTest, SigningOutForgetsTheUserTheSessionAndTheDownloadLists) {
  ASSERT_TRUE(service->login("wang", kTyped, "acme"));
  const auto downloads = DownloadService::instance();
  ASSERT_TRUE(ServiceManager::sessionCache().sessionId());
  LoginService::signOut();
  EXPECT_EQ(CommonService().getCurrentUser(), nullptr);
  EXPECT_FALSE(ServiceManager::sessionCache().sessionId());
  EXPECT_NE(DownloadService::instance(), downloads);
}

}  // namespace
