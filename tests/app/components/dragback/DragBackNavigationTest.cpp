#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "app/components/dragback/DragBackNavigationController.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Gradient.h"
#include "platform/graphics/ImageContext.h"
#include "platform/graphics/PngCodec.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/TouchInjector.h"
#include "tests/platform/ui/UiTest.h"
#include "tests/support/TemporaryFolder.h"

namespace {

// The left-edge shade as the picture tools draw it, at both scales, in a bundle of its own.
void writeShadeFixture(const std::string& folder) {
  for (double scale : {1.0, 2.0}) {
    auto canvas = pf::ImageContext::create({10, 480}, false, scale);
    for (int i = 0; i < 10; ++i) {
      canvas->context().setFillColor(pf::Color::fromWhite(0, 0.05 * i));
      canvas->context().fillRect(pf::Rect(i, 0, 1, 480));
    }
    auto bytes = pf::PngCodec::encode(*canvas->image()->bitmap());
    std::ofstream(folder + (scale == 1 ? "/leftside_shadow_bg.png" : "/leftside_shadow_bg@2x.png"),
                  std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes->data()), static_cast<std::streamsize>(bytes->size()));
  }
}

class DragBackNavigationTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    pf::View::setAnimationsEnabled(true);
    writeShadeFixture(bundle.path());
    pf::Bundle::setMainBundlePath(bundle.path());
    root = page(pf::Color::fromRgba(0, 0.6, 0));
    navigation = std::make_shared<DragBackNavigationController>(root);
    window->setRootViewController(navigation);
    drain();
  }
  void TearDown() override {
    window->setRootViewController(nullptr);
    pf::Bundle::setMainBundlePath("");
    UiTest::TearDown();
  }
  static std::shared_ptr<pf::ViewController> page(pf::Color color) {
    auto controller = std::make_shared<pf::ViewController>();
    controller->view()->setBackgroundColor(color);
    return controller;
  }
  void settle() { runUntil(pf::Clock::now() + 1); }
  void pushSecond() {
    navigation->pushViewController(page(pf::Color::white()), false);
    settle();
  }
  // Presses at x 20, moves by each distance in turn, and lifts unless told not to.
  void dragBy(std::initializer_list<double> distances, bool lift = true) {
    fingers = std::make_unique<pf::TouchInjector>(window);
    fingers->press(0, {20, 300});
    for (double d : distances) {
      runUntil(pf::Clock::now() + 0.02);
      fingers->move(0, {20 + d, 300});
    }
    if (!lift) return;
    runUntil(pf::Clock::now() + 0.02);
    fingers->lift(0);
  }
  double screenX() const { return navigation->view()->frame().origin.x; }

  pf_test::TemporaryFolder bundle;
  std::shared_ptr<pf::ViewController> root;
  std::shared_ptr<DragBackNavigationController> navigation;
  std::unique_ptr<pf::TouchInjector> fingers;
};

// Catches a drag that starts at the threshold itself, or a release at the pop threshold that pops.
TEST_F(DragBackNavigationTest, ThresholdsStartPastTenAndPopPastFifty) {
  pushSecond();
  dragBy({10}, false);
  EXPECT_FALSE(navigation->isMoving());
  EXPECT_EQ(screenX(), 0);
  runUntil(pf::Clock::now() + 0.02);
  fingers->move(0, {30.5, 300});
  EXPECT_TRUE(navigation->isMoving());
  EXPECT_EQ(screenX(), 10.5);
  runUntil(pf::Clock::now() + 0.02);
  fingers->move(0, {70, 300});
  fingers->lift(0);
  settle();
  EXPECT_EQ(navigation->viewControllers().size(), 2u);
  EXPECT_EQ(screenX(), 0);
  EXPECT_FALSE(navigation->isMoving());

  pf::Log::Capture log;
  dragBy({30, 51});
  EXPECT_EQ(navigation->viewControllers().size(), 2u);  // only once the slide ends
  runUntil(pf::Clock::now() + DragBackNavigationController::kSlideDuration + 0.05);
  EXPECT_EQ(navigation->viewControllers().size(), 1u);
  EXPECT_TRUE(navigation->screenShotsList().empty());
  EXPECT_EQ(screenX(), 0);
  EXPECT_TRUE(log.contains("Show the pop vc"));
}

// Catches a picture that does not grow and brighten with the drag, and travel beyond the clamp.
TEST_F(DragBackNavigationTest, ThePictureBehindGrowsAndBrightensWithTheDrag) {
  pushSecond();
  struct Case {
    double d;
    double x;
    double scale;
    double mask;
  };
  for (const Case& c : {Case{160, 160, 0.975, 0.2}, Case{400, 320, 1.0, 0.0}, Case{-40, 0, 0.95, 0.4}}) {
    SCOPED_TRACE(c.d);
    dragBy({30, c.d}, false);
    EXPECT_EQ(screenX(), c.x);
    ASSERT_TRUE(navigation->lastScreenShotView());
    EXPECT_DOUBLE_EQ(navigation->lastScreenShotView()->transform().a, c.scale);
    EXPECT_DOUBLE_EQ(navigation->blackMask()->alpha(), c.mask);
    fingers->cancelAll();
    settle();
    EXPECT_EQ(screenX(), 0);
    EXPECT_EQ(navigation->viewControllers().size(), 2u);
  }
}

// Catches a drag-back on the root screen or while switched off.
TEST_F(DragBackNavigationTest, NothingMovesWithOneScreenOrWhenSwitchedOff) {
  dragBy({30, 100});
  settle();
  EXPECT_FALSE(navigation->backgroundView());
  pushSecond();
  navigation->setCanDragBack(false);
  dragBy({30, 100});
  settle();
  EXPECT_EQ(navigation->viewControllers().size(), 2u);
  EXPECT_FALSE(navigation->backgroundView());
}

// Catches pictures left over (or missing) when the stack changes by the back button, pop-to-root,
// a refused push or a new stack: the picture shown behind would be another screen's.
TEST_F(DragBackNavigationTest, ThePicturesFollowEveryChangeOfTheStack) {
  auto second = page(pf::Color::white());
  navigation->pushViewController(second, false);
  navigation->pushViewController(second, false);  // refused: already on the stack
  EXPECT_EQ(navigation->screenShotsList().size(), 1u);
  settle();
  pf::HeadlessHost host;
  host.tap({30, 20 + 22});  // the back button
  settle();
  EXPECT_EQ(navigation->viewControllers().size(), 1u);
  EXPECT_TRUE(navigation->screenShotsList().empty());
  EXPECT_FALSE(navigation->popViewControllerAnimated(false));
  EXPECT_TRUE(navigation->screenShotsList().empty());
  for (int i = 0; i < 3; ++i) navigation->pushViewController(page(pf::Color::white()), false);
  EXPECT_EQ(navigation->screenShotsList().size(), 3u);
  navigation->popToRootViewControllerAnimated(false);
  EXPECT_TRUE(navigation->screenShotsList().empty());
  navigation->setViewControllers({root, page(pf::Color::white()), page(pf::Color::white())}, false);
  EXPECT_EQ(navigation->screenShotsList().size(), 2u);
  navigation->setViewControllers({root}, false);
  EXPECT_TRUE(navigation->screenShotsList().empty());
}

// Catches a picture taken after the push (the new screen) or at the wrong scale, and a shade that
// does not show beside the sliding screen.
TEST_F(DragBackNavigationTest, SnapshotHalfwayShowsTheScreenBelowDimmedBehindAShade) {
  pushSecond();
  ASSERT_EQ(navigation->screenShotsList().size(), 1u);
  const auto& picture = navigation->screenShotsList().front();
  EXPECT_EQ(picture->scale(), 2);
  EXPECT_EQ(picture->size().width, 320);
  dragBy({30, 160}, false);
  pf::HeadlessHost host;
  host.render();
  if (const char* folder = std::getenv("MARLUNE_SNAPSHOT_DIR")) host.writePng(std::string(folder) + "/dragback-160.png");
  const pf::Pixel below = host.pixelAt({80, 300});  // the green root, dimmed by 0.2 black
  EXPECT_EQ(below.red, 0);
  EXPECT_NEAR(below.green, 0.6 * 0.8 * 255, 3);
  const pf::Pixel top = host.pixelAt({240, 300});  // the white second screen
  EXPECT_EQ(top.red, 255);
  const pf::Pixel shade = host.pixelAt({159, 300});  // darkest just left of the screen
  EXPECT_LT(shade.green, below.green);
  fingers->cancelAll();
}

}  // namespace
