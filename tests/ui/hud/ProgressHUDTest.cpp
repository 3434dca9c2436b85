#include "ui/hud/ProgressHUD.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <thread>

#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/Log.h"
#include "platform/host/HeadlessHost.h"
#include "platform/text/StringDrawing.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Device.h"
#include "platform/ui/Label.h"
#include "tests/platform/ui/UiTest.h"
#include "ui/hud/RoundProgressView.h"

namespace {

class HiddenJournal : public ProgressHUDDelegate {
 public:
  void hudWasHidden(ProgressHUD& hud) override {
    events.push_back("hidden at " + std::to_string(pf::Clock::now()) + (hud.superview() ? " in view" : " removed"));
  }
  std::vector<std::string> events;
};

class ProgressHUDTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    host = std::make_shared<pf::View>(pf::Rect{{0, 0}, {320, 480}});
    host->setBackgroundColor(pf::Color::white());
    window->addSubview(host);
    journal = std::make_shared<HiddenJournal>();
  }
  void TearDown() override {
    pf::Device::currentDevice().setOrientation(pf::Device::Orientation::Portrait);
    pf::Application::sharedApplication().setStatusBarOrientation(pf::Application::InterfaceOrientation::Portrait);
    UiTest::TearDown();
  }
  std::shared_ptr<ProgressHUD> addHud() {
    auto hud = ProgressHUD::initWithView(host);
    host->addSubview(hud);
    hud->setDelegate(journal);
    return hud;
  }
  static std::string hiddenAt(double time) { return "hidden at " + std::to_string(time) + " in view"; }

  std::shared_ptr<pf::View> host;
  std::shared_ptr<HiddenJournal> journal;
};

pf::Size textSize(const std::string& text, const pf::Font& font) {
  return pf::StringDrawing::sizeOfText(text, font);
}

TEST_F(ProgressHUDTest, TheBoxWrapsIndicatorAndTextsWithMarginAndPadding) {
  const auto label = pf::Font::boldSystemFont(16);
  const auto details = pf::Font::boldSystemFont(12);
  const pf::Size labelSize = textSize("正在加载...", *label);
  const pf::Size detailsSize = textSize("请稍候", *details);
  auto custom60x20 = std::make_shared<pf::View>(pf::Rect{{0, 0}, {60, 20}});
  const struct {
    std::string what;
    int mode;
    std::optional<std::string> text, detailsText;
    std::shared_ptr<pf::View> custom;
    bool square;
    pf::Size minSize;
    pf::Size box;
  } cases[] = {
      {"text only", 3, "正在加载...", {}, nullptr, false, {}, {labelSize.width + 40, labelSize.height + 40}},
      {"spinner", 0, {}, {}, nullptr, false, {}, {77, 77}},
      {"spinner and text", 0, "正在加载...", {}, nullptr, false, {},
       {std::max(37.0, labelSize.width) + 40, 37 + 4 + labelSize.height + 40}},
      {"text and details", 4, "正在加载...", "请稍候", nullptr, false, {},
       {std::max(labelSize.width, detailsSize.width) + 40, labelSize.height + 4 + detailsSize.height + 40}},
      {"square 100x60", 3, {}, {}, custom60x20, true, {}, {100, 100}},
      {"not square", 3, {}, {}, custom60x20, false, {}, {100, 60}},
      {"minimum size", 3, "正在加载...", {}, nullptr, false, {200, 150}, {200, 150}},
  };
  for (const auto& c : cases) {
    auto hud = addHud();
    hud->setMode(c.mode);
    hud->setCustomView(c.custom);
    hud->setLabelText(c.text);
    hud->setDetailsLabelText(c.detailsText);
    hud->setSquare(c.square);
    hud->setMinSize(c.minSize);
    hud->layoutIfNeeded();
    EXPECT_EQ(hud->size(), c.box) << c.what;
    const pf::Rect box = hud->boxRect();
    EXPECT_EQ(box.origin.x, std::round((320 - c.box.width) / 2)) << c.what;
    EXPECT_EQ(box.origin.y, std::round((480 - c.box.height) / 2)) << c.what;
    if (c.text) {
      EXPECT_EQ(hud->label()->frame().size, labelSize) << c.what;
    }
    hud->removeFromSuperview();
  }
}

TEST_F(ProgressHUDTest, LongDetailsAreHeldToTheWidthAndTheRoomLeft) {
  auto hud = addHud();
  hud->setMode(4);
  std::string text;
  for (int i = 0; i < 200; ++i) text += "网络连接失败，请检查网络设置。";
  hud->setDetailsLabelText(text);
  hud->layoutIfNeeded();
  const pf::Rect details = hud->detailsLabel()->frame();
  EXPECT_LE(details.size.width, 320 - 4 * 20);
  EXPECT_GT(details.size.height, 100);
  EXPECT_LE(details.size.height, 480 - 4 - 4 * 20);
}

TEST_F(ProgressHUDTest, AMinimumShowTimeHoldsAnEarlyHide) {
  auto hud = addHud();
  hud->setMinShowTime(2);
  hud->show(false);
  EXPECT_EQ(hud->alpha(), 1);
  runUntil(0.5);
  hud->hide(false);
  runUntil(1.9);
  EXPECT_EQ(hud->alpha(), 1);
  EXPECT_TRUE(journal->events.empty());
  runUntil(2.1);
  EXPECT_EQ(hud->alpha(), 0);
  EXPECT_EQ(journal->events, std::vector<std::string>{hiddenAt(2)});
}

TEST_F(ProgressHUDTest, AGraceTimeShowsOnlyWhileATaskRuns) {
  auto idle = addHud();
  idle->setGraceTime(1);
  idle->show(true);
  runUntil(3);
  EXPECT_EQ(idle->alpha(), 0);

  auto busy = addHud();
  busy->setGraceTime(1);
  busy->setTaskInProgress(true);
  busy->show(false);
  runUntil(3.9);
  EXPECT_EQ(busy->alpha(), 0);
  runUntil(4.1);
  EXPECT_EQ(busy->alpha(), 1);
}

TEST_F(ProgressHUDTest, AHideCancelsAGraceShowStillWaiting) {
  auto hud = addHud();
  hud->setGraceTime(1);
  hud->setTaskInProgress(true);
  hud->show(false);
  runUntil(0.5);
  hud->hide(false);
  EXPECT_EQ(journal->events, std::vector<std::string>{hiddenAt(0.5)});
  runUntil(3);
  EXPECT_EQ(hud->alpha(), 0);  // the quick task never flashed the box
}

TEST_F(ProgressHUDTest, AHideBeforeAnyShowFinishesAtOnce) {
  auto hud = addHud();
  int completions = 0;
  hud->setCompletionBlock([&completions] { ++completions; });
  hud->setRemoveFromSuperViewOnHide(true);
  hud->hide(true);
  EXPECT_EQ(hud->alpha(), 0);
  EXPECT_EQ(journal->events, std::vector<std::string>{hiddenAt(0)});
  EXPECT_EQ(completions, 1);
  EXPECT_EQ(hud->superview(), nullptr);
  hud->hide(false);
  EXPECT_EQ(completions, 1);  // the block runs once
}

TEST_F(ProgressHUDTest, AnAnimatedHideFadesThenTellsTheDelegateThenTheBlockThenLeaves) {
  auto hud = addHud();
  std::vector<std::string> order;
  hud->setCompletionBlock([&] {
    order.push_back("completion");
    EXPECT_NE(hud->superview(), nullptr);
  });
  hud->setRemoveFromSuperViewOnHide(true);
  hud->show(true);
  runUntil(1);
  hud->hide(true);
  EXPECT_NEAR(hud->alpha(), 0.02, 1e-9);
  runUntil(1.29);
  EXPECT_TRUE(journal->events.empty());
  runUntil(1.31);
  EXPECT_EQ(journal->events, std::vector<std::string>{hiddenAt(1.3)});
  EXPECT_EQ(order, std::vector<std::string>{"completion"});
  EXPECT_EQ(hud->superview(), nullptr);
  EXPECT_EQ(hud->alpha(), 0);
}

TEST_F(ProgressHUDTest, AShowCancelsTheHidesStillPendingSoAReusedOverlayStays) {
  auto hud = addHud();
  hud->show(true);
  hud->hide(true, 1.5);
  runUntil(1);
  hud->show(true);  // the screen reuses its overlay
  hud->hide(true, 1.5);
  runUntil(2.4);
  EXPECT_EQ(hud->alpha(), 1);
  EXPECT_TRUE(journal->events.empty());
  runUntil(2.85);
  EXPECT_EQ(journal->events, std::vector<std::string>{hiddenAt(2.8)});

  // A show during the fade out keeps the overlay up too.
  hud->show(false);
  hud->hide(true);
  runUntil(2.9);
  hud->show(false);
  runUntil(4);
  EXPECT_EQ(hud->alpha(), 1);
  EXPECT_EQ(journal->events.size(), 1u);
}

TEST_F(ProgressHUDTest, ModesSwapTheIndicatorAndTheRingSurvivesAPieMode) {
  auto hud = addHud();
  ASSERT_TRUE(std::dynamic_pointer_cast<pf::ActivityIndicatorView>(hud->indicator()));
  EXPECT_TRUE(std::static_pointer_cast<pf::ActivityIndicatorView>(hud->indicator())->isAnimating());
  hud->setMode(2);
  auto ring = std::dynamic_pointer_cast<RoundProgressView>(hud->indicator());
  ASSERT_TRUE(ring);
  EXPECT_TRUE(ring->isAnnular());
  hud->setMode(1);
  EXPECT_EQ(hud->indicator(), ring);
  EXPECT_TRUE(ring->isAnnular());
  hud->setProgress(0.25f);
  EXPECT_FLOAT_EQ(ring->progress(), 0.25f);
  hud->setMode(0);
  EXPECT_TRUE(std::dynamic_pointer_cast<pf::ActivityIndicatorView>(hud->indicator()));
  EXPECT_EQ(ring->superview(), nullptr);
  hud->setMode(4);
  EXPECT_EQ(hud->indicator(), nullptr);
  auto custom = std::make_shared<pf::View>(pf::Rect{{0, 0}, {10, 10}});
  hud->setCustomView(custom);
  hud->setMode(3);
  EXPECT_EQ(hud->indicator(), custom);
  EXPECT_EQ(custom->superview(), hud);
}

TEST_F(ProgressHUDTest, ClassHelpersFindAndHideOnlyTheTopmostOverlay) {
  EXPECT_FALSE(ProgressHUD::hideHUDForView(*host, false));
  EXPECT_EQ(ProgressHUD::HUDForView(*host), nullptr);
  auto lower = ProgressHUD::showHUDAddedTo(host, false);
  auto upper = ProgressHUD::showHUDAddedTo(host, false);
  host->addSubview(std::make_shared<pf::View>());
  EXPECT_EQ(ProgressHUD::HUDForView(*host), upper);
  EXPECT_EQ(ProgressHUD::allHUDsForView(*host), (std::vector<std::shared_ptr<ProgressHUD>>{lower, upper}));
  EXPECT_TRUE(ProgressHUD::hideHUDForView(*host, false));
  EXPECT_EQ(upper->superview(), nullptr);
  EXPECT_EQ(lower->superview(), host);
  EXPECT_EQ(lower->alpha(), 1);
  EXPECT_EQ(ProgressHUD::hideAllHUDsForView(*host, false), 1u);
  EXPECT_EQ(lower->superview(), nullptr);

  pf::Log::Capture log;
  auto orphan = ProgressHUD::initWithView(nullptr);
  EXPECT_TRUE(log.contains("View must not be nil."));
  EXPECT_EQ(orphan->frame(), pf::Rect());
}

TEST_F(ProgressHUDTest, ABlockRunsOffTheMainThreadAndItsCompletionOnItAfterTheHide) {
  auto hud = addHud();
  hud->setRemoveFromSuperViewOnHide(true);
  std::atomic<bool> blockOnMain{true};
  bool completionOnMain = false;
  std::vector<std::string> order;
  std::atomic<bool> release{false};
  hud->showAnimated(
      true,
      [&] {
        blockOnMain = pf::RunLoop::isMainThread();
        while (!release) std::this_thread::yield();
      },
      [&] {
        completionOnMain = pf::RunLoop::isMainThread();
        order.push_back(journal->events.empty() ? "completion before delegate" : "completion after delegate");
      });
  EXPECT_TRUE(hud->taskInProgress());
  runUntil(0.5);
  EXPECT_EQ(hud->alpha(), 1);
  release = true;
  ASSERT_TRUE(loop->runUntilTrue([&] { return !order.empty(); }, 10));
  EXPECT_FALSE(blockOnMain);
  EXPECT_TRUE(completionOnMain);
  EXPECT_EQ(order, std::vector<std::string>{"completion after delegate"});
  EXPECT_FALSE(hud->taskInProgress());
  EXPECT_EQ(hud->superview(), nullptr);
}

TEST_F(ProgressHUDTest, AThreadTaskHoldsItsTargetUntilItEnds) {
  auto hud = addHud();
  auto target = std::make_shared<int>(7);
  std::weak_ptr<int> weakTarget = target;
  std::atomic<bool> ranOffMain{false};
  hud->showWhileExecuting([&ranOffMain] { ranOffMain = !pf::RunLoop::isMainThread(); }, std::move(target), nullptr,
                          false);
  ASSERT_TRUE(loop->runUntilTrue([&] { return !journal->events.empty(); }, 10));
  EXPECT_TRUE(ranOffMain);
  EXPECT_TRUE(weakTarget.expired());
  EXPECT_EQ(hud->alpha(), 0);
}

TEST_F(ProgressHUDTest, SettersFromAnotherThreadReachTheViewsOnTheMainThread) {
  auto hud = addHud();
  std::thread([hud] {
    hud->setLabelText("上传中");
    hud->setMode(2);
    hud->setProgress(0.5f);
  }).join();
  EXPECT_EQ(hud->labelText(), "上传中");
  drain();
  EXPECT_EQ(hud->label()->text(), "上传中");
  auto ring = std::dynamic_pointer_cast<RoundProgressView>(hud->indicator());
  ASSERT_TRUE(ring);
  EXPECT_FLOAT_EQ(ring->progress(), 0.5f);
}

TEST_F(ProgressHUDTest, ACallersQuarterTurnSurvivesShowHideAndRotation) {
  const auto quarter = pf::AffineTransform::makeRotation(std::numbers::pi / 2);
  for (int type : {0, 1, 2}) {
    auto hud = addHud();
    hud->setAnimationType(type);
    hud->setTransform(quarter);  // a player in landscape
    hud->show(true);
    runUntil(pf::Clock::now() + 0.5);
    EXPECT_EQ(hud->transform(), quarter) << type;
    hud->layoutIfNeeded();
    EXPECT_EQ(hud->bounds().size, (pf::Size{480, 320})) << type;
    EXPECT_EQ(hud->center(), (pf::Point{160, 240})) << type;

    pf::Device::currentDevice().beginGeneratingDeviceOrientationNotifications();
    pf::Device::currentDevice().setOrientation(pf::Device::Orientation::LandscapeLeft);
    pf::Device::currentDevice().setOrientation(pf::Device::Orientation::Portrait);
    pf::Device::currentDevice().endGeneratingDeviceOrientationNotifications();
    EXPECT_EQ(hud->transform(), quarter) << type;
    hud->hide(true);
    EXPECT_DOUBLE_EQ(hud->transform().b, quarter.b * (type == 0 ? 1 : type == 1 ? 0.5 : 1.5)) << type;
    runUntil(pf::Clock::now() + 0.5);
    hud->show(false);
    EXPECT_EQ(hud->transform(), quarter) << type;
    hud->removeFromSuperview();
  }
}

TEST_F(ProgressHUDTest, OnAWindowTheOverlayTurnsWithTheStatusBar) {
  pf::Application::sharedApplication().setStatusBarOrientation(pf::Application::InterfaceOrientation::LandscapeLeft);
  auto hud = ProgressHUD::showHUDAddedTo(window, false);
  EXPECT_EQ(hud->transform(), pf::AffineTransform::makeRotation(-std::numbers::pi / 2));
  EXPECT_EQ(hud->bounds().size, (pf::Size{480, 320}));

  pf::Application::sharedApplication().setStatusBarOrientation(pf::Application::InterfaceOrientation::PortraitUpsideDown);
  pf::Device::currentDevice().beginGeneratingDeviceOrientationNotifications();
  pf::Device::currentDevice().setOrientation(pf::Device::Orientation::PortraitUpsideDown);
  pf::Device::currentDevice().endGeneratingDeviceOrientationNotifications();
  EXPECT_EQ(hud->transform(), pf::AffineTransform::makeRotation(std::numbers::pi));
  EXPECT_EQ(hud->bounds().size, (pf::Size{320, 480}));
}

TEST_F(ProgressHUDTest, SnapshotOfTheSpinnerBox) {
  auto hud = ProgressHUD::showHUDAddedTo(host, false);
  hud->setLabelText("正在清除缓存...");
  pf::HeadlessHost screen(window);
  screen.advance(0.2);
  ASSERT_TRUE(screen.render());
  if (const char* folder = std::getenv("MARLUNE_SNAPSHOT_DIR")) {
    screen.writePng(std::string(folder) + "/hud-spinner.png");
  }
  const pf::Rect box = hud->convertRectToView(hud->boxRect(), nullptr);
  // Outside the box the host shows through; inside, black at 0.8 over white.
  EXPECT_EQ(screen.pixelAt({box.origin.x - 5, box.midY()}), (pf::Pixel{255, 255, 255, 255}));
  const pf::Pixel inside = screen.pixelAt({box.origin.x + 12, box.maxY() - 12});
  EXPECT_NEAR(inside.red, 51, 3);
  EXPECT_EQ(inside.red, inside.blue);
  // The corner is rounded: its very corner pixel stays light.
  EXPECT_GT(screen.pixelAt({box.origin.x + 0.5, box.origin.y + 0.5}).red, 150);
  // The spinner's spokes are light on the dark box.
  const pf::Rect spinner = hud->indicator()->convertRectToView(hud->indicator()->bounds(), nullptr);
  int light = 0;
  for (double y = spinner.origin.y; y < spinner.maxY(); y += 1) {
    for (double x = spinner.origin.x; x < spinner.maxX(); x += 1) light += screen.pixelAt({x, y}).red > 150;
  }
  EXPECT_GT(light, 20);
  // The label's text is white on the box.
  const pf::Rect label = hud->label()->convertRectToView(hud->label()->bounds(), nullptr);
  int white = 0;
  for (double x = label.origin.x; x < label.maxX(); x += 1) white += screen.pixelAt({x, label.midY()}).red > 200;
  EXPECT_GT(white, 3);
}

TEST_F(ProgressHUDTest, ARingOverADimmedBackground) {
  auto hud = ProgressHUD::showHUDAddedTo(host, false);
  hud->setMode(ProgressHUD::kAnnularDeterminate);
  hud->setProgress(0.25f);
  hud->setDimBackground(true);
  hud->setLabelText("正在下载 25%");
  pf::HeadlessHost screen(window);
  ASSERT_TRUE(screen.render());
  if (const char* folder = std::getenv("MARLUNE_SNAPSHOT_DIR")) {
    screen.writePng(std::string(folder) + "/hud-ring.png");
  }
  // The dimming darkens towards the edges, the middle stays light.
  const pf::Rect box = hud->convertRectToView(hud->boxRect(), nullptr);
  EXPECT_LT(screen.pixelAt({3, 3}).red, 120);
  EXPECT_GT(screen.pixelAt({box.midX(), box.origin.y - 3}).red, 200);
  // The ring: its first quarter (top to right) in full white, the rest faint.
  const pf::Rect ring = hud->indicator()->convertRectToView(hud->indicator()->bounds(), nullptr);
  const double radius = (ring.size.width - 5) / 2;
  const pf::Pixel done = screen.pixelAt({ring.midX() + radius * 0.7071, ring.midY() - radius * 0.7071});
  const pf::Pixel left = screen.pixelAt({ring.midX() - radius * 0.7071, ring.midY() + radius * 0.7071});
  EXPECT_GT(done.red, 200);
  EXPECT_LT(left.red, 100);
}

}  // namespace
