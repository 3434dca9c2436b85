#include "app/controller/cmn/BaseViewController.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/controller/lgn/LoginViewController.h"
#include "app/service/cmn/SystemLogRecordSevice.h"
#include "app/tour/ScreenInspector.h"
#include "core/open/OpenError.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "tests/app/controller/cmn/CmnScreenTest.h"
#include "ui/deck/PanelDeckController.h"
#include "ui/hud/ProgressHUD.h"

namespace {

class MenuAsker : public BaseViewDelegate {
 public:
  bool showAppNavigatorView() override {
    ++asked;
    return true;
  }
  int asked = 0;
};

class ServiceScreen : public BaseViewController {
 public:
  int servicesMade = 0;
  int rightPresses = 0;
  void initService() override { ++servicesMade; }
  void rightBtnPressed() override { ++rightPresses; }
};

pf::ErrorPtr errorWithRecord(const std::string& code, const std::string& cause) {
  return OpenError::errorWithDomain(kOpenErrorDomain, kOpenServerErrorCode,
                                    ErrorInfo::errorInfoWithErrorCode(code, cause, std::nullopt));
}

std::optional<std::string> boxText(pf::Window& window) {
  auto hud = ProgressHUD::HUDForView(window);
  if (!hud) return std::nullopt;
  return hud->detailsLabelText() ? hud->detailsLabelText() : hud->labelText();
}

class BaseViewControllerTest : public CmnScreenTest {
 protected:
  // [login, screen] as the root of the window, the screen showing.
  std::shared_ptr<ServiceScreen> pushedOverLogin() {
    login = std::make_shared<LoginViewController>();
    root = std::make_shared<pf::NavigationController>(login);
    window->setRootViewController(root);
    auto screen = std::make_shared<ServiceScreen>();
    root->pushViewController(screen, false);
    // The login screen hides the bar; the screens above it here show theirs.
    root->setNavigationBarHidden(false);
    runUntil(1);
    return screen;
  }
  std::shared_ptr<pf::Button> leftButton(BaseViewController& screen) {
    return std::dynamic_pointer_cast<pf::Button>(screen.navigationItem()->leftBarButtonItem()->customView());
  }
  std::shared_ptr<pf::Button> rightButton(BaseViewController& screen) {
    return std::dynamic_pointer_cast<pf::Button>(screen.navigationItem()->rightBarButtonItem()->customView());
  }

  std::shared_ptr<LoginViewController> login;
  std::shared_ptr<pf::NavigationController> root;
};

TEST_F(BaseViewControllerTest, LoadingLaysTheBackdropSetsABackButtonMakesServicesAndLogsTheScreen) {
  SystemLogRecordSevice::defaultLogServer().clearRecords();
  auto screen = std::make_shared<ServiceScreen>();
  screen->view();
  ASSERT_TRUE(screen->bgImageView);
  EXPECT_EQ(screen->view()->subviews().front(), screen->bgImageView) << "the backdrop is at the back";
  EXPECT_EQ(screen->bgImageView->frame(), pf::Rect(0, 0, 320, 480));
  EXPECT_NE(screen->bgImageView->image(), nullptr) << "CMN_BASE_bg.png is in the bundle";
  EXPECT_TRUE(screen->showBackBtn());
  auto back = leftButton(*screen);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->frame().size, (pf::Size{42, 31}));
  EXPECT_EQ(back->titleForState(pf::Control::kNormal), "返回");
  EXPECT_NE(back->backgroundImageForState(pf::Control::kHighlighted), nullptr);
  EXPECT_EQ(screen->servicesMade, 1);
  EXPECT_EQ(SystemLogRecordSevice::defaultLogServer().records().size(), 1u);
  screen->setShowBackBtn(false);
  EXPECT_EQ(leftButton(*screen)->titleForState(pf::Control::kNormal), std::nullopt) << "the menu button has no title";
}

TEST_F(BaseViewControllerTest, TheBackButtonPopsAndTheMenuButtonAsksTheDelegate) {
  auto screen = pushedOverLogin();
  leftButton(*screen)->sendActionsForControlEvents(pf::Control::kTouchUpInside);
  runUntil(2);
  EXPECT_EQ(root->viewControllers().size(), 1u);

  auto menu = std::make_shared<ServiceScreen>();
  auto asker = std::make_shared<MenuAsker>();
  menu->view();
  menu->setShowBackBtn(false);
  menu->baseDelegate = asker;
  leftButton(*menu)->sendActionsForControlEvents(pf::Control::kTouchUpInside);
  EXPECT_EQ(asker->asked, 1);
  asker.reset();
  // Neither a delegate nor a side panel: nothing happens.
  leftButton(*menu)->sendActionsForControlEvents(pf::Control::kTouchUpInside);
}

// The passed title and image only pick the variant; the icon-and-text one always reads "分类".
// A menu button without a delegate opens (and then closes) the side panel of the deck it lives in.
TEST_F(BaseViewControllerTest, TheMenuButtonTogglesTheDeckWithoutADelegate) {
  auto screen = std::make_shared<ServiceScreen>();
  auto deck = PanelDeckController::create(std::make_shared<pf::NavigationController>(screen),
                                          std::make_shared<pf::ViewController>());
  window->setRootViewController(deck);
  runUntil(1);
  screen->setShowBackBtn(false);
  leftButton(*screen)->sendActionsForControlEvents(pf::Control::kTouchUpInside);
  runUntil(2);
  EXPECT_TRUE(deck->isSideOpen(DeckSideLeft));
  leftButton(*screen)->sendActionsForControlEvents(pf::Control::kTouchUpInside);
  runUntil(3);
  EXPECT_FALSE(deck->isAnySideOpen());
}

TEST_F(BaseViewControllerTest, TheRightButtonTakesItsSizeAndLookFromWhatIsPassed) {
  struct Case {
    std::optional<std::string> title, image;
    double width;
    std::optional<std::string> shownTitle;
    size_t extraViews;
  };
  const Case cases[] = {
      {std::nullopt, std::nullopt, 31, std::nullopt, 0},
      {"编辑", std::nullopt, 42, "编辑", 0},
      {"排序", "STG_MAIN_sync.png", 55, std::nullopt, 2},
  };
  for (const auto& c : cases) {
    auto screen = std::make_shared<ServiceScreen>();
    screen->view();
    screen->setRightBtnWithBgImageN("CMN_BASE_btn_n.png", "CMN_BASE_btn_p.png", c.title, c.image);
    auto button = rightButton(*screen);
    EXPECT_EQ(button->frame().size, (pf::Size{c.width, 31})) << c.title.value_or("(none)");
    EXPECT_EQ(button->titleForState(pf::Control::kNormal), c.shownTitle);
    if (c.extraViews) {
      auto icon = std::dynamic_pointer_cast<pf::ImageView>(button->subviews().at(button->subviews().size() - 2));
      auto label = std::dynamic_pointer_cast<pf::Label>(button->subviews().back());
      ASSERT_TRUE(icon && label);
      EXPECT_EQ(icon->frame(), pf::Rect(9, 10, 13, 12));
      EXPECT_EQ(icon->image(), pf::Image::named("CMN_BASE_sort.png", 2));
      EXPECT_EQ(label->text(), "分类");
      EXPECT_EQ(label->frame(), pf::Rect(22, 10, 25, 12));
    }
    button->sendActionsForControlEvents(pf::Control::kTouchUpInside);
    EXPECT_EQ(screen->rightPresses, 1);
  }
}

TEST_F(BaseViewControllerTest, AnErrorShowsItsFirstCauseAndOneWithoutRecordsShowsNothing) {
  auto screen = pushedOverLogin();
  screen->onError(pf::Error::make("NSURLErrorDomain", -1, {}), "/v1/lcms/courseinfo/loadCourseInfoList");
  EXPECT_EQ(ProgressHUD::HUDForView(*window), nullptr);
  screen->onError(errorWithRecord("error.networkStatusError", "网络不给力"), "/v1/x/y/z");
  EXPECT_EQ(boxText(*window), "网络不给力");
  runUntil(5);
  EXPECT_EQ(ProgressHUD::HUDForView(*window), nullptr) << "the box hides itself and leaves the window";
  EXPECT_EQ(root->viewControllers().size(), 2u);
}

// The session-expiry road: a box, then, once it hid, back to [login] with automatic sign-in stopped.
TEST_F(BaseViewControllerTest, AnExpiredSessionShowsTheBoxThenReturnsToLogin) {
  auto screen = pushedOverLogin();
  EXPECT_TRUE(screen->handleSessionError(errorWithRecord("open.session.expired", "会话过期")));
  EXPECT_EQ(boxText(*window), "登录信息失效，请重新登录!");
  EXPECT_EQ(root->viewControllers().size(), 2u) << "nothing moves before the box hides";
  runUntil(2.4);
  EXPECT_EQ(root->viewControllers().size(), 2u);
  runUntil(4);
  ASSERT_EQ(root->viewControllers().size(), 1u);
  EXPECT_TRUE(login->isLogout);
}

// Two expiries within the box's time run the return twice; the second finds [login] and does nothing.
// The screen may close meanwhile: the box's block keeps it until it runs.
TEST_F(BaseViewControllerTest, TwoExpiriesPopOnceAndAClosedScreenStillReturns) {
  auto screen = pushedOverLogin();
  auto second = std::make_shared<ServiceScreen>();
  root->pushViewController(second, false);
  runUntil(1.5);
  std::weak_ptr<ServiceScreen> gone = second;
  second->onError(errorWithRecord("open.session.expired", ""), "/v1/a/b/c");
  screen->onError(errorWithRecord("open.session.expired", ""), "/v1/a/b/c");
  root->popViewControllerAnimated(false);
  second.reset();
  EXPECT_FALSE(gone.expired()) << "kept by the box's block";
  runUntil(5);
  EXPECT_EQ(root->viewControllers().size(), 1u);
  EXPECT_TRUE(gone.expired()) << "let go once the block ran";
  EXPECT_FALSE(screen->handleSessionError(errorWithRecord("error.other", "x")));
  EXPECT_FALSE(screen->handleSessionError(pf::Error::make("OpenErrorDomain", 1, {})));
}

TEST_F(BaseViewControllerTest, TheTitleIsABoldWhiteLabelInTheBar) {
  auto screen = pushedOverLogin();
  screen->setNavgationItemTitle("课程中心");
  auto title = std::dynamic_pointer_cast<pf::Label>(screen->navigationItem()->titleView());
  ASSERT_TRUE(title);
  EXPECT_EQ(title->frame(), pf::Rect(55, 0, 90, 44));
  EXPECT_EQ(title->text(), "课程中心");
  EXPECT_EQ(title->textColor(), pf::Color::white());
  EXPECT_EQ(title->font()->pointSize(), 21);
}

// Fault caught: a five-character title ("发表新微博") lost its last character in the 90-point label.
TEST_F(BaseViewControllerTest, ALongerTitleWidensAboutTheSameCentreInsteadOfBeingCut) {
  auto screen = pushedOverLogin();
  screen->setNavgationItemTitle("发表新微博");
  auto title = std::dynamic_pointer_cast<pf::Label>(screen->navigationItem()->titleView());
  ASSERT_TRUE(title);
  EXPECT_EQ(ScreenInspector::cutText(*title), std::nullopt);
  EXPECT_GT(title->frame().width(), 90);
  EXPECT_DOUBLE_EQ(title->frame().midX(), 100) << "centred where the usual title is";
}

// Every bar is a MyNavigationBar; with navName set it paints that picture, before that the platform's.
TEST_F(BaseViewControllerTest, NavNameShowsOnEveryBarDrawnAfterItIsSet) {
  pushedOverLogin();
  auto bar = std::dynamic_pointer_cast<MyNavigationBar>(root->navigationBar());
  ASSERT_TRUE(bar) << "the process-wide bar maker made the bar";
  pf::HeadlessHost host;
  host.render();
  const pf::Pixel plain = host.pixelAt({300, 30});
  MyNavigationBar::setNavName("BLG_BASE_nav_bg.png");
  auto later = std::make_shared<pf::NavigationController>(std::make_shared<ServiceScreen>());
  window->setRootViewController(later);
  runUntil(2);
  host.render();
  const pf::Pixel painted = host.pixelAt({300, 30});
  EXPECT_NE(painted, plain);
  // The micro-blog bar picture is a dark slate blue.
  EXPECT_LT(painted.red, 90);
  EXPECT_LT(painted.green, 100);
  EXPECT_GT(painted.blue, painted.red);
}

TEST_F(BaseViewControllerTest, SnapshotOfABaseScreen) {
  auto screen = pushedOverLogin();
  screen->setNavgationItemTitle("基础");
  pf::HeadlessHost host;
  host.render();
  // Backdrop below the bar: a light grey-blue, not the window's black.
  const pf::Pixel backdrop = host.pixelAt({160, 300});
  EXPECT_GT(backdrop.red, 200);
  EXPECT_GT(backdrop.blue, 200);
  // The back button's picture at the left of the bar: a deep blue.
  const pf::Pixel back = host.pixelAt({30, 20 + 22});
  EXPECT_GT(back.blue, back.red);
  EXPECT_LT(back.red, 120);
  if (const char* folder = std::getenv("MARLUNE_SNAPSHOT_DIR")) host.writePng(std::string(folder) + "/base-screen.png");
}

}  // namespace
