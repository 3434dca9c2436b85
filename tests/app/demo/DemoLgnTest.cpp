// Signing in to the stand-in serving the demo folder with the app's own login service, over the HTTP
// engine: the demo users' menus, the refusal of a user without modules, and the password change.

#include <gtest/gtest.h>

#include <memory>

#include "app/model/AppClasses.h"
#include "app/service/cms/DownloadService.h"
#include "app/service/lgn/LoginService.h"
#include "core/open/ErrorInfo.h"
#include "core/open/OpenError.h"
#include "core/open/RequestUtil.h"
#include "core/open/ServiceManager.h"
#include "core/util/MD5HexDigest.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/ManualReachabilityProvider.h"
#include "tests/app/support/AppSandbox.h"
#include "tests/core/open/ServiceErrorRecorder.h"
#include "tools/devserver/demo/DemoCms.h"
#include "tools/devserver/demo/DemoLgn.h"
#include "tools/devserver/open/OpenDataFolder.h"

namespace {

class DemoLgnTest : public AppSandbox {
 protected:
  void SetUp() override {
    AppSandbox::SetUp();
    pf::RunLoop::setMainThread();
    previousProvider_ = pf::ReachabilityProvider::install(reachability_);
    reachability_->setFlags(pf::kReachabilityFlagsReachable | pf::kReachabilityFlagsIsDirect);
    std::string problem;
    const auto folder = devserver::OpenDataFolder::read(MARLUNE_DEMO_DATA, &problem);
    ASSERT_TRUE(folder) << problem;
    server = std::make_unique<devserver::OpenServer>(folder->settings);
    folder->install(*server);
    devserver::installDemoLgn(*server, MARLUNE_DEMO_DATA);
    ASSERT_TRUE(devserver::installDemoCms(*server, MARLUNE_DEMO_DATA, &problem)) << problem;
    ASSERT_TRUE(server->start());
    ASSERT_EQ(launch(), InitService::DatabaseStart::Created);
    registerAppClasses();
    ServiceConfiguration configuration;
    configuration.appKey = folder->settings.appKey;
    configuration.secret = folder->settings.secret;
    configuration.baseUrl = server->host();
    configuration.autoresetSession = true;
    ServiceManager::initConfiguration(configuration);
    ServiceManager::sessionCache().clear();
    RequestUtil::setTransport(nullptr);
  }
  void TearDown() override {
    DownloadService::unload();
    if (server) server->stop();
    ServiceManager::sessionCache().clear();
    pf::RunLoop::main()->clear();
    pf::ReachabilityProvider::install(previousProvider_);
    AppSandbox::TearDown();
  }

  std::vector<std::string> reportedCauses() {
    bool drained = false;
    pf::DispatchQueue::main()->async([&] { drained = true; });
    EXPECT_TRUE(pf::RunLoop::main()->runUntilTrue([&] { return drained; }, 5));
    std::vector<std::string> causes;
    for (const auto& report : *delegate->reports) {
      const auto record = OpenError::firstOrDefaultErrorInfo(*report.error);
      causes.push_back(record ? record->cause.value_or("?") : "?");
    }
    delegate->reports->clear();
    return causes;
  }
  static std::vector<std::string> codes(const UserMobileAppService::Apps& apps) {
    std::vector<std::string> list;
    for (const auto& app : apps) list.push_back(app->appCode.value_or("?"));
    return list;
  }

  std::unique_ptr<devserver::OpenServer> server;
  std::shared_ptr<ServiceErrorRecorder> delegate = std::make_shared<ServiceErrorRecorder>();

 private:
  std::shared_ptr<pf::ManualReachabilityProvider> reachability_ =
      std::make_shared<pf::ManualReachabilityProvider>();
  std::shared_ptr<pf::ReachabilityProvider> previousProvider_;
};

TEST_F(DemoLgnTest, TheDemoLearnerGetsHisProfileAndEveryModule) {
  LoginService login(delegate);
  ASSERT_TRUE(login.login("learner", "learner123", "demo"));
  const auto user = CommonService().getCurrentUser();
  ASSERT_NE(user, nullptr);
  EXPECT_EQ(user->userId, "U0001");
  EXPECT_EQ(user->corpName, "Marlune 演示公司");
  EXPECT_EQ(user->password, MD5HexDigest::MD5TO32Lower("learner123"));
  EXPECT_FLOAT_EQ(CourseService(delegate).getCorpStudyRate(), 80.0f);
  UserMobileAppService menu(delegate);
  EXPECT_EQ(codes(menu.getLeftMenuApps()),
            (std::vector<std::string>{"up_my_course", "ems_my_exam", "qsm_user", "qa_wenda", "wb_user",
                                      "square_app"}));
  EXPECT_EQ(codes(menu.getSquareApps()), (std::vector<std::string>{"corp_mail", "corp_news"}));
  EXPECT_TRUE(reportedCauses().empty());
}

TEST_F(DemoLgnTest, AVisitorGetsOnlyTheSquareAndAGuestIsRefused) {
  LoginService login(delegate);
  ASSERT_TRUE(login.login("visitor", "visitor123", "demo"));
  EXPECT_EQ(codes(UserMobileAppService(delegate).getLeftMenuApps()), std::vector<std::string>{"square_app"});
  LoginService::signOut();
  EXPECT_FALSE(login.login("guest", "guest123", "demo"));
  EXPECT_EQ(reportedCauses(), std::vector<std::string>{"您没有使用权限，请联系管理员!"});
  EXPECT_EQ(CommonService().getCurrentUser(), nullptr);
}

TEST_F(DemoLgnTest, AChangedPasswordIsTheOnlyOneTheServerAndTheDeviceTake) {
  LoginService login(delegate);
  ASSERT_TRUE(login.login("ann", "ann123", "acme"));
  EXPECT_FALSE(
      login.modifyUserPasswordWithUserName(std::string("ann"), std::string("x"), std::string("wrong")));
  ASSERT_TRUE(
      login.modifyUserPasswordWithUserName(std::string("ann"), std::string("ann456"), std::string("ann123")));
  LoginService::signOut();
  EXPECT_FALSE(login.login("ann", "ann123", "acme"));
  reportedCauses();
  ASSERT_TRUE(login.login("ann", "ann456", "acme"));
  EXPECT_EQ(CommonService().getCurrentUser()->password, MD5HexDigest::MD5TO32Lower("ann456"));
}

}  // namespace
