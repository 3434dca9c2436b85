#include "ui/extension/ProgressHUDKivExtension.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/host/HeadlessHost.h"
#include "platform/text/StringDrawing.h"
#include "platform/ui/Label.h"
#include "tests/platform/ui/UiTest.h"
#include "ui/hud/ProgressHUD.h"

namespace {

class ToastJournal : public ProgressHUDDelegate {
 public:
  void hudWasHidden(ProgressHUD& hud) override {
    hiddenAt.push_back(pf::Clock::now());
    inViewWhenTold = hud.superview() != nullptr;
  }
  std::vector<double> hiddenAt;
  bool inViewWhenTold = false;
};

struct ToastProfile {
  pf::Screen::Profile profile;
  double fontSize;
};

class ToastTest : public UiTest, public testing::WithParamInterface<ToastProfile> {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    pf::Screen::configure(GetParam().profile);
    window = std::make_shared<pf::Window>();
    window->makeKeyAndVisible();
    journal = std::make_shared<ToastJournal>();
  }
  std::shared_ptr<ToastJournal> journal;
};

TEST_P(ToastTest, ATextBoxInTheIdiomsFontHidesAfterOneAndAHalfSecondsThenRunsItsBlockAndLeaves) {
  std::vector<std::string> events;
  std::shared_ptr<ProgressHUD> toast;
  toast = ProgressHUDKivExtension::showAndDismissOnView(window, "登录信息失效，请重新登录!", [&] {
    events.push_back(std::string("completion at ") + std::to_string(pf::Clock::now()) +
                     (toast->superview() ? " in view" : " removed"));
  });
  EXPECT_EQ(toast->superview(), window);
  EXPECT_EQ(toast->mode(), ProgressHUD::kText);
  EXPECT_EQ(toast->indicator(), nullptr);
  EXPECT_EQ(toast->detailsLabelText(), "登录信息失效，请重新登录!");
  EXPECT_EQ(toast->detailsLabelFont()->pointSize(), GetParam().fontSize);
  EXPECT_FALSE(toast->detailsLabelFont()->isBold());
  EXPECT_EQ(toast->margin(), 5);
  toast->layoutIfNeeded();
  const pf::Size text = pf::StringDrawing::sizeOfText("登录信息失效，请重新登录!", *toast->detailsLabelFont());
  EXPECT_EQ(toast->size(), (pf::Size{text.width + 10, text.height + 10}));

  runUntil(1.49);
  EXPECT_EQ(toast->alpha(), 1);
  runUntil(1.51);
  EXPECT_LT(toast->alpha(), 0.1);
  EXPECT_TRUE(events.empty());
  runUntil(1.9);
  EXPECT_EQ(events, std::vector<std::string>{"completion at " + std::to_string(1.8) + " in view"});
  EXPECT_EQ(toast->superview(), nullptr);
}

TEST_P(ToastTest, AMessageOnAShownOverlayTellsItsDelegateAfterTheHide) {
  auto hud = ProgressHUD::showHUDAddedTo(window, true);
  hud->setDelegate(journal);
  ProgressHUDKivExtension::showAndDismissWithMessage(*hud, "网络连接失败");
  EXPECT_EQ(hud->indicator(), nullptr);  // the spinner gave way to the text
  EXPECT_EQ(hud->detailsLabel()->text(), "网络连接失败");
  EXPECT_EQ(hud->detailsLabel()->font()->pointSize(), GetParam().fontSize);
  runUntil(3);
  EXPECT_EQ(journal->hiddenAt.size(), 1u);
  EXPECT_NEAR(journal->hiddenAt[0], 1.8, 1e-6);
  EXPECT_TRUE(journal->inViewWhenTold);
  EXPECT_EQ(hud->superview(), nullptr);
}

TEST_P(ToastTest, AMessageOnAnOverlayNeverShownStaysInvisibleYetHidesAndLeaves) {
  auto hud = ProgressHUD::initWithView(window);
  window->addSubview(hud);
  hud->setDelegate(journal);
  ProgressHUDKivExtension::showAndDismissWithMessage(*hud, "提交成功");
  for (double t : {0.5, 1.0, 1.49}) {
    runUntil(t);
    EXPECT_EQ(hud->alpha(), 0) << t;
  }
  runUntil(2);
  EXPECT_EQ(journal->hiddenAt, std::vector<double>{1.5});
  EXPECT_EQ(hud->superview(), nullptr);
}

TEST_P(ToastTest, AReshownToastIsNotHiddenByTheEarlierTimer) {
  auto hud = ProgressHUD::initWithView(window);
  window->addSubview(hud);
  hud->setDelegate(journal);
  hud->show(true);
  ProgressHUDKivExtension::showAndDismissWithMessage(*hud, "已关注");
  runUntil(1);
  hud->show(true);  // the Q&A screens keep their overlay and reuse it
  ProgressHUDKivExtension::showAndDismissWithMessage(*hud, "已取消关注");
  runUntil(2.4);
  EXPECT_EQ(hud->alpha(), 1);
  EXPECT_TRUE(journal->hiddenAt.empty());
  runUntil(3);
  EXPECT_EQ(journal->hiddenAt.size(), 1u);
  EXPECT_NEAR(journal->hiddenAt[0], 2.8, 1e-6);
}

TEST_P(ToastTest, SnapshotOfADarkBoxWithWhiteText) {
  auto page = std::make_shared<pf::View>(window->bounds());
  page->setBackgroundColor(pf::Color::white());
  window->addSubview(page);
  auto toast = ProgressHUDKivExtension::showAndDismissOnView(page, "您的账号已在其他设备登录", {});
  pf::HeadlessHost screen(window);
  screen.advance(0.5);
  ASSERT_TRUE(screen.render());
  if (const char* folder = std::getenv("MARLUNE_SNAPSHOT_DIR")) {
    screen.writePng(std::string(folder) + (GetParam().profile == pf::Screen::Profile::Phone ? "/toast.png" : "/toast-tablet.png"));
  }
  const pf::Rect box = toast->convertRectToView(toast->boxRect(), nullptr);
  EXPECT_EQ(screen.pixelAt({box.origin.x - 3, box.midY()}), (pf::Pixel{255, 255, 255, 255}));
  EXPECT_NEAR(screen.pixelAt({box.origin.x + 2, box.midY()}).red, 51, 3);  // inside the margin of 5
  const pf::Rect text = toast->detailsLabel()->convertRectToView(toast->detailsLabel()->bounds(), nullptr);
  EXPECT_NEAR(text.origin.x - box.origin.x, 5, 0.5);
  int white = 0;
  for (double x = text.origin.x; x < text.maxX(); x += 1) white += screen.pixelAt({x, text.midY()}).red > 200;
  EXPECT_GT(white, 10);
  screen.advance(1.5);
  EXPECT_EQ(toast->superview(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Profiles, ToastTest,
                         testing::Values(ToastProfile{pf::Screen::Profile::Phone, 18},
                                         ToastProfile{pf::Screen::Profile::Tablet, 30}),
                         [](const testing::TestParamInfo<ToastProfile>& info) {
                           return info.param.profile == pf::Screen::Profile::Phone ? "Phone" : "Tablet";
                         });

}  // namespace
