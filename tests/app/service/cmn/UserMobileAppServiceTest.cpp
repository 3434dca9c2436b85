// The user's module menu over a scripted network: the rows replaced at each sign-in, the side menu
// with the square entry, the app square, the first screen and the root screens of the app codes.

#include "app/service/cmn/UserMobileAppService.h"

#include <gtest/gtest.h>

#include "app/util/ViewUtil.h"
#include "platform/runtime/ClassBuilder.h"
#include "tests/app/support/RemoteServiceSandbox.h"

namespace {

// A screen made from its interface file, and the navigation container around one.
class StandInScreen : public pf::Object {
  PF_OBJECT(StandInScreen, pf::Object)
  std::string nibName;
};
class StandInNavigation : public pf::Object {
  PF_OBJECT(StandInNavigation, pf::Object)
  pf::ObjectPtr root;
};

std::string nibOf(const pf::ObjectPtr& screen) {
  auto standIn = std::dynamic_pointer_cast<StandInScreen>(screen);
  return standIn ? standIn->nibName : "(not a screen)";
}

// One entry of the server's list.
std::string app(const std::string& code, bool ios, bool left, int leftOrder, bool square, int squareOrder,
                bool first = false, const std::string& type = "DEFAULT") {
  auto flag = [](bool b) { return b ? "true" : "false"; };
  return R"({"appId": "id-)" + code + R"(", "appCode": ")" + code + R"(", "appName": "name-)" + code +
         R"(", "appType": ")" + type + R"(", "iosApp": )" + flag(ios) + R"(, "leftMenu": )" + flag(left) +
         R"(, "leftMenuOrder": )" + std::to_string(leftOrder) + R"(, "appSquare": )" + flag(square) +
         R"(, "appSquareOrder": )" + std::to_string(squareOrder) + R"(, "existIndex": )" + flag(first) +
         R"(, "reminder": 4})";
}

std::vector<std::string> codes(const UserMobileAppService::Apps& apps) {
  std::vector<std::string> list;
  for (const auto& a : apps) list.push_back(a->appCode.value_or("?"));
  return list;
}

class UserMobileAppServiceTest : public RemoteServiceSandbox {
 protected:
  void SetUp() override {
    RemoteServiceSandbox::SetUp();
    for (const char* screen : {"CmsMainViewController", "BlgMainViewController", "AnsMainViewController",
                               "QsmAllViewController", "EmsAllViewController", "AppPlazaViewController"}) {
      ViewUtil::registerScreenClass(screen, [](const std::string& nibName) {
        auto made = std::make_shared<StandInScreen>();
        made->nibName = nibName;
        return made;
      });
    }
    ViewUtil::registerNavigationController([](const pf::ObjectPtr& root) {
      auto navigation = std::make_shared<StandInNavigation>();
      navigation->root = root;
      return navigation;
    });
    service = std::make_unique<UserMobileAppService>(delegate);
    signInAs("U1");
  }
  void TearDown() override {
    ViewUtil::resetScreenClasses();
    RemoteServiceSandbox::TearDown();
  }

  static void signInAs(const std::string& userId) {
    auto user = std::make_shared<User>();
    user->userId = userId;
    CommonService().updateCurrentUser(user);
  }
  // The server answers this list of entries.
  void serverLists(const std::vector<std::string>& entries) {
    std::string body = "[";
    for (const auto& entry : entries) body += (body.size() > 1 ? "," : "") + entry;
    transport->answerAll(FakeTransport::ok(body + "]"));
  }
  static pf::Array storedRows(const std::string& userId) {
    return VelkDBHelper::instance()->queryForList(MobileApp::kClassName,
                                                  "select * from mobile_app where user_id = ? order by rowid",
                                                  {pf::Value(userId)});
  }

  std::unique_ptr<UserMobileAppService> service;
};

TEST_F(UserMobileAppServiceTest, ASecondSignInLeavesOnlyTheSecondListUnderFreshKeys) {
  serverLists({app("up_my_course", true, true, 1, false, 0), app("wb_user", true, true, 2, false, 0)});
  ASSERT_TRUE(service->saveAndUpdateUserMobileAppsWithUserID("U1"));
  EXPECT_EQ(sentParameters().at("platForm"), "\"IOS\"");
  std::set<std::string> firstKeys;
  for (const auto& row : storedRows("U1")) firstKeys.insert(*row.objectAs<MobileApp>()->sid);

  serverLists({app("qa_wenda", true, true, 1, false, 0), app("up_my_course", true, true, 2, false, 0)});
  ASSERT_TRUE(service->saveAndUpdateUserMobileAppsWithUserID("U1"));
  const pf::Array rows = storedRows("U1");
  std::vector<std::string> stored;
  for (const auto& row : rows) {
    const auto entry = row.objectAs<MobileApp>();
    stored.push_back(*entry->appCode);
    EXPECT_EQ(entry->userId, "U1");
    EXPECT_EQ(entry->sid->size(), 32u);
    EXPECT_FALSE(firstKeys.contains(*entry->sid));
  }
  EXPECT_EQ(stored, (std::vector<std::string>{"qa_wenda", "up_my_course"}));
}

TEST_F(UserMobileAppServiceTest, AnEmptyOrFailedListKeepsThePreviousMenu) {
  serverLists({app("up_my_course", true, true, 1, false, 0)});
  ASSERT_TRUE(service->saveAndUpdateUserMobileAppsWithUserID("U1"));
  serverLists({});
  EXPECT_FALSE(service->saveAndUpdateUserMobileAppsWithUserID("U1"));
  transport->answerAll(FakeTransport::failure(HttpRequestErrorCode::ConnectionFailure));
  EXPECT_FALSE(service->saveAndUpdateUserMobileAppsWithUserID("U1"));
  EXPECT_EQ(storedRows("U1").size(), 1u);
}

TEST_F(UserMobileAppServiceTest, AFailedInsertRollsBackTheDeletionAndKeepsThePreviousMenu) {
  serverLists({app("up_my_course", true, true, 1, false, 0)});
  ASSERT_TRUE(service->saveAndUpdateUserMobileAppsWithUserID("U1"));
  // Any new row of this user now fails to insert.
  ASSERT_TRUE(VelkDBHelper::instance()->executeUpdate(
      "CREATE TRIGGER refuse_menu BEFORE INSERT ON mobile_app BEGIN SELECT RAISE(ABORT, 'full'); END"));
  serverLists({app("wb_user", true, true, 1, false, 0), app("qa_wenda", true, true, 2, false, 0)});
  EXPECT_FALSE(service->saveAndUpdateUserMobileAppsWithUserID("U1"));
  const pf::Array rows = storedRows("U1");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows.front().objectAs<MobileApp>()->appCode, "up_my_course");
}

TEST_F(UserMobileAppServiceTest, SideMenuBySideOrderWithTheSquareEntryLastAndOnlyTheUsersRows) {
  serverLists({app("ems_my_exam", true, true, 3, false, 0), app("up_my_course", true, true, 1, false, 0),
               app("android-only", false, true, 2, true, 1),
               app("ext-app", true, false, 0, true, 2, false, "URL")});
  ASSERT_TRUE(service->saveAndUpdateUserMobileAppsWithUserID("U1"));
  serverLists({app("wb_user", true, true, 1, true, 1)});
  ASSERT_TRUE(service->saveAndUpdateUserMobileAppsWithUserID("U2"));

  const auto menu = service->getLeftMenuApps();
  EXPECT_EQ(codes(menu), (std::vector<std::string>{"up_my_course", "ems_my_exam", "square_app"}));
  EXPECT_EQ(menu.back()->appName, "应用广场");
  EXPECT_EQ(menu.back()->appType, "DEFAULT");
  // Offered on the other platform only: not in the square even though marked for it.
  EXPECT_EQ(codes(service->getSquareApps()), std::vector<std::string>{"ext-app"});
}

TEST_F(UserMobileAppServiceTest, WithoutSquareEntriesTheMenuHasNoSquareEntry) {
  serverLists({app("up_my_course", true, true, 1, false, 0), app("android-only", false, false, 0, true, 1)});
  ASSERT_TRUE(service->saveAndUpdateUserMobileAppsWithUserID("U1"));
  EXPECT_EQ(codes(service->getLeftMenuApps()), std::vector<std::string>{"up_my_course"});
  EXPECT_TRUE(service->getSquareApps().empty());
}

TEST_F(UserMobileAppServiceTest, OnlySquareEntriesGiveJustTheSquareEntryWhichOpensFirst) {
  serverLists({app("ext-b", true, false, 0, true, 2, false, "URL"),
               app("ext-a", true, false, 0, true, 1, false, "URL")});
  ASSERT_TRUE(service->saveAndUpdateUserMobileAppsWithUserID("U1"));
  EXPECT_EQ(codes(service->getLeftMenuApps()), std::vector<std::string>{"square_app"});
  EXPECT_EQ(codes(service->getSquareApps()), (std::vector<std::string>{"ext-a", "ext-b"}));
  EXPECT_EQ(nibOf(service->firstViewController()), "AppPlazaViewController");
}

TEST_F(UserMobileAppServiceTest, FirstScreenIsTheMarkedModuleElseTheFirstMenuEntryElseNone) {
  serverLists({app("up_my_course", true, true, 1, false, 0), app("qa_wenda", true, true, 2, false, 0, true)});
  ASSERT_TRUE(service->saveAndUpdateUserMobileAppsWithUserID("U1"));
  EXPECT_EQ(nibOf(service->firstViewController()), "AnsMainViewController");

  serverLists({app("wb_user", true, true, 1, false, 0), app("up_my_course", true, true, 2, false, 0)});
  ASSERT_TRUE(service->saveAndUpdateUserMobileAppsWithUserID("U1"));
  EXPECT_EQ(nibOf(service->firstViewController()), "BlgMainViewController");

  signInAs("nobody");
  EXPECT_EQ(service->firstViewController(), nullptr);
}

TEST_F(UserMobileAppServiceTest, AppCodesNameTheirRootScreensAndIcons) {
  struct Case {
    const char* code;
    const char* screen;
    bool navigated;
    const char* icon;
  };
  for (const Case& c : {Case{"up_my_course", "CmsMainViewController", false, "cms"},
                        Case{"wb_user", "BlgMainViewController", false, "blg"},
                        Case{"qa_wenda", "AnsMainViewController", false, "ans"},
                        Case{"qsm_user", "QsmAllViewController", true, "qsm"},
                        Case{"ems_my_exam", "EmsAllViewController", true, "ems"},
                        Case{"square_app", "AppPlazaViewController", false, "square"}}) {
    SCOPED_TRACE(c.code);
    const pf::ObjectPtr made = service->viewControllerWithAppCode(std::string(c.code));
    const auto navigation = std::dynamic_pointer_cast<StandInNavigation>(made);
    EXPECT_EQ(navigation != nullptr, c.navigated);
    EXPECT_EQ(nibOf(navigation ? navigation->root : made), c.screen);
    EXPECT_EQ(UserMobileAppService::normalImageWithAppCode(std::string(c.code)),
              std::string("CMN_NAVI_") + c.icon + "_n.png");
    EXPECT_EQ(UserMobileAppService::hightlightImageWithAppCode(std::string(c.code)),
              std::string("CMN_NAVI_") + c.icon + "_p.png");
  }
  EXPECT_EQ(service->viewControllerWithAppCode(std::string("ext-app")), nullptr);
  EXPECT_EQ(service->viewControllerWithAppCode(std::nullopt), nullptr);
  EXPECT_EQ(UserMobileAppService::normalImageWithAppCode(std::string("ext-app")), "CMN_NAVI_default_n.png");
  EXPECT_EQ(UserMobileAppService::hightlightImageWithAppCode(std::nullopt), "CMN_NAVI_default_p.png");
}

TEST_F(UserMobileAppServiceTest, FreshBadgeCountsFillOnlyBuiltInModules) {
  transport->setScript([](const FakeTransport::Request& request) {
    const std::string path = FakeTransport::methodPath(request);
    if (path == "/v1/lcms/courseinfo/myCourseReminder") return FakeTransport::ok("1");
    if (path == "/v1/wb/blog/reminder") return FakeTransport::ok("2");
    if (path == "/v1/qa/question/reminder") return FakeTransport::ok("3");
    if (path == "/v1/qsm/survey/reminder") return FakeTransport::ok("5");
    if (path == "/v1/ems/exam/myExamReminder") return FakeTransport::ok("6");
    if (path == "/v1/ems/exam/judgingExamReminder") return FakeTransport::ok("7");
    return FakeTransport::failure(HttpRequestErrorCode::ConnectionFailure);
  });
  std::vector<std::shared_ptr<MobileApp>> apps;
  for (const auto& [code, type] :
       std::vector<std::pair<std::string, std::string>>{{"up_my_course", "DEFAULT"},
                                                        {"wb_user", "DEFAULT"},
                                                        {"qa_wenda", "DEFAULT"},
                                                        {"qsm_user", "DEFAULT"},
                                                        {"ems_my_exam", "DEFAULT"},
                                                        {"square_app", "DEFAULT"},
                                                        {"up_my_course", "URL"},
                                                        {"other", "DEFAULT"}}) {
    auto entry = std::make_shared<MobileApp>();
    entry->appCode = code;
    entry->appType = type;
    entry->reminder = 9;
    apps.push_back(entry);
  }
  const auto counted = service->reminderService().getMobileAppsAddreminderWithApps(apps);
  std::vector<int> badges;
  for (const auto& entry : counted) badges.push_back(entry->reminder);
  EXPECT_EQ(badges, (std::vector<int>{1, 2, 3, 5, 6, 9, 9, 9}));
  EXPECT_EQ(service->reminderService().judgingExamReminder(), 7);
}

}  // namespace
