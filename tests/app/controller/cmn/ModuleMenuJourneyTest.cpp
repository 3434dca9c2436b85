// The module menu of a signed-in learner of the demo stand-in: which rows it shows, their badges,
// choosing a module, and launching or offering another application.

#include <gtest/gtest.h>

#include "app/controller/cmn/AppNavigatorViewController.h"
#include "app/controller/cmn/MainMenuCell.h"
#include "app/model/cmn/MobileApp.h"
#include "core/db/VelkDBHelper.h"
#include "platform/graphics/Image.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "tests/app/controller/lgn/ModuleStandIns.h"
#include "tests/app/controller/lgn/SignInJourneyTest.h"
#include "tools/devserver/demo/DemoPicture.h"

namespace {

class ModuleMenuJourneyTest : public SignInJourneyTest {
 protected:
  void signInAsLearner() {
    auto login = showLogin();
    fill(*login, "demo", "learner", "learner123");
    tapView(login->loginBtn.lock());
    ASSERT_TRUE(deck()) << "signed in";
  }
  std::shared_ptr<AppNavigatorViewController> menu() const {
    return std::dynamic_pointer_cast<AppNavigatorViewController>(deck()->leftController());
  }
  // A menu made now from the stored rows, loaded.
  static std::shared_ptr<AppNavigatorViewController> freshMenu() {
    auto fresh = std::dynamic_pointer_cast<AppNavigatorViewController>(
        ViewUtil::viewControllerFromNibOfClass(AppNavigatorViewController::kClassName));
    fresh->view();
    return fresh;
  }
  static std::vector<std::string> rowNames(const AppNavigatorViewController& shown) {
    std::vector<std::string> names;
    for (const auto& app : shown.resourceArr()) names.push_back(app->appName.value_or(""));
    return names;
  }
  void openMenu() {
    deck()->openLeftView(false);
    settle();
  }
  void tapRow(long row) {
    auto table = menu()->tableView;
    const pf::Rect rect = table->rectForRowAtIndexPath(pf::IndexPath::forRow(row, 0));
    const pf::Rect inWindow = table->convertRectToView(rect, nullptr);
    pf::HeadlessHost host(window);
    host.tap({inWindow.midX(), inWindow.midY()});
    settle();
  }
};

// Faults caught: a module without a screen in the menu (it would abort when chosen), the square entry
// out of place or shown without square entries, a deck left without a centre.
TEST_F(ModuleMenuJourneyTest, RowsLeaveOutUnknownModulesAndEndWithTheSquare) {
  signInAsLearner();
  EXPECT_EQ(rowNames(*menu()), std::vector<std::string>{"应用广场"});
  EXPECT_TRUE(deck()->centerController());
  EXPECT_TRUE(deck()->isSideOpen(DeckSideLeft)) << "with no module shown, the menu waits open";

  lgn_test::registerModuleStandIns();
  const std::vector<std::string> all{"我的课程", "我的考试", "问卷调查", "问答", "微博", "应用广场"};
  EXPECT_EQ(rowNames(*freshMenu()), all);
  VelkDBHelper::instance()->executeUpdate("update mobile_app set app_square = ?", {pf::Value(false)});
  EXPECT_EQ(rowNames(*freshMenu()), std::vector<std::string>(all.begin(), all.end() - 1));
}

// Faults caught: "100" where "99+" belongs, a badge for nothing or a negative count, a reused row
// keeping the last row's badge or pressed icon.
TEST_F(ModuleMenuJourneyTest, BadgesCountUpTo99AndHideAtZeroOrBelow) {
  struct Case {
    int reminder;
    std::optional<std::string> shown;
  } cases[] = {{1, "1"}, {99, "99"}, {100, "99+"}, {250, "99+"}, {0, std::nullopt}, {-1, std::nullopt}};
  auto cell = std::dynamic_pointer_cast<MainMenuCell>(ViewUtil::viewFromNibOfClass(MainMenuCell::kClassName));
  ASSERT_TRUE(cell);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reminder);
    MobileApp app;
    app.appName = "我的课程";
    app.appType = "DEFAULT";
    app.appCode = "up_my_course";
    app.reminder = c.reminder;
    cell->fill(app);
    EXPECT_EQ(cell->numImgView.lock()->isHidden(), !c.shown);
    EXPECT_EQ(cell->notifyNum.lock()->isHidden(), !c.shown);
    if (c.shown) EXPECT_EQ(cell->notifyNum.lock()->text(), c.shown);
    EXPECT_TRUE(cell->menuImgView.lock()->highlightedImage()) << "a module's icon has its pressed picture";
  }
  MobileApp other;
  other.appName = "企业邮箱";
  other.appType = "URL";
  cell->fill(other);
  EXPECT_FALSE(cell->menuImgView.lock()->highlightedImage()) << "nothing of the module row before";
  EXPECT_EQ(cell->contentLabel.lock()->text(), "企业邮箱");
}

// Faults caught: a chosen module that does not become the centre, a menu left open over it.
TEST_F(ModuleMenuJourneyTest, AChosenModuleBecomesTheCentreAndTheMenuCloses) {
  lgn_test::registerModuleStandIns();
  signInAsLearner();
  EXPECT_EQ(deck()->centerController()->title(), "CmsMainViewController") << "the first module";
  openMenu();
  tapRow(1);
  auto centre = std::dynamic_pointer_cast<pf::NavigationController>(deck()->centerController());
  ASSERT_TRUE(centre) << "exams come in their own navigation controller";
  EXPECT_EQ(centre->viewControllers().front()->title(), "EmsAllViewController");
  EXPECT_TRUE(deck()->isSideClosed(DeckSideLeft));
}

// Faults caught: no launch through a registered scheme, a store page for the wrong id, or a store
// page after "取消".
TEST_F(ModuleMenuJourneyTest, AnotherApplicationOpensOrOffersItsStorePage) {
  lgn_test::registerModuleStandIns();
  signInAsLearner();
  VelkDBHelper::instance()->executeUpdate(
      "update mobile_app set left_menu = ?, left_menu_order = 0 where app_code = 'corp_mail'", {pf::Value(true)});
  deck()->setLeftController(freshMenu());
  openMenu();
  ASSERT_EQ(menu()->resourceArr().front()->appName, "企业邮箱");
  std::vector<std::string> opened;
  auto& application = pf::Application::sharedApplication();
  const auto record = [&](const std::string& url) {
    opened.push_back(url);
    return true;
  };
  application.registerUrlHandler("marlunemail", record);
  tapRow(0);
  EXPECT_EQ(opened, std::vector<std::string>{"marlunemail://:open"});
  EXPECT_TRUE(pf::AlertView::visibleAlerts().empty());

  application.removeUrlHandlers();
  application.registerUrlHandler("itms-apps", record);
  for (long button : {0L, 1L}) {
    SCOPED_TRACE(button);
    opened.clear();
    tapRow(0);
    auto alerts = pf::AlertView::visibleAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts.front()->message(), "您未安装该应用，是否下载安装？");
    EXPECT_EQ(alerts.front()->buttonTitleAtIndex(button), button == 1 ? "确定" : "取消");
    alerts.front()->dismissWithClickedButtonIndex(button, false);
    settle();
    const std::vector<std::string> store{
        "itms-apps://store.marlune.com/WebObjects/MZStore.woa/wa/viewSoftware?id=100200300"};
    EXPECT_EQ(opened, button == 1 ? store : std::vector<std::string>{});
  }
}

// Faults caught: the photo address of the profile not used, the placeholder left in place of the
// downloaded photo.
TEST_F(ModuleMenuJourneyTest, TheLearnersPhotoComesFromTheServer) {
  lgn_test::registerModuleStandIns();
  signInAsLearner();
  const auto user = CommonService().getCurrentUser();
  ASSERT_TRUE(user && user->faceUrl);
  EXPECT_EQ(*user->faceUrl, server->url("/media/lgn/face/U0001.png"));
  openMenu();
  const auto placeholder = pf::Image::named("CMN_NAVI_avatar.png", pf::Screen::mainScreen().scale());
  loop->runUntilTrue([&] { return menu()->userPic->image() != placeholder; }, 10);
  settle();
  pf::HeadlessHost host(window);
  host.render();
  const pf::Rect photo = menu()->userPic->convertRectToView(menu()->userPic->bounds(), nullptr);
  const pf::Pixel shown = host.pixelAt({photo.midX(), photo.midY()});
  const auto expected = devserver::DemoPicture::colour("face-U0001");
  EXPECT_NEAR(shown.red, expected[0], 3);
  EXPECT_NEAR(shown.green, expected[1], 3);
  EXPECT_NEAR(shown.blue, expected[2], 3);
}

// The menu open over the first module, on the phone: the dark menu at the left with its rows, the
// module's light strip at the right.
TEST_F(ModuleMenuJourneyTest, SnapshotOfTheMenuOverTheFirstModule) {
  lgn_test::registerModuleStandIns();
  signInAsLearner();
  openMenu();
  pf::HeadlessHost host(window);
  host.render();
  writeSnapshot(host, "menu-phone.png");
  const pf::Pixel menuBackground = host.pixelAt({150, 440});
  EXPECT_LT(menuBackground.red, 80);
  EXPECT_LT(menuBackground.green, 80);
  const pf::Pixel strip = host.pixelAt({300, 300});
  EXPECT_GT(strip.red, 180) << "the module's backdrop beside the menu";
  // The first row's icon: the blue course picture.
  const pf::Rect icon = menu()->tableView->cellForRowAtIndexPath(pf::IndexPath::forRow(0, 0))
                            ->convertRectToView(pf::Rect(20, 15, 30, 30), nullptr);
  const pf::Pixel courseIcon = host.pixelAt({icon.minX() + 4, icon.midY()});
  EXPECT_GT(courseIcon.blue, courseIcon.red + 40);
}

}  // namespace
