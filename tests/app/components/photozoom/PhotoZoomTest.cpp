#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/components/photozoom/PhotoZoomManager.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/ImageContext.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Button.h"
#include "platform/ui/Device.h"
#include "platform/ui/Layer.h"
#include "platform/ui/GestureRecognizer.h"
#include "tests/app/components/ComponentSnapshots.h"
#include "tests/platform/ui/UiTest.h"
#include "tools/devserver/Answers.h"
#include "tools/devserver/DevServer.h"

namespace {

std::shared_ptr<pf::Image> pictureOf(pf::Size size, const pf::Color& colour) {
  auto canvas = pf::ImageContext::create(size);
  canvas->context().setFillColor(colour);
  canvas->context().fillRect({{0, 0}, size});
  return canvas->image();
}

class HostScreen : public pf::ViewController {
 public:
  unsigned supportedInterfaceOrientations() const override { return mask; }
  unsigned mask = kOrientationMaskPortrait;
};

class ZoomDelegate : public PhotoZoomDelegate {
 public:
  std::shared_ptr<const pf::Image> photoZoomManagerImageForView(PhotoZoomManager&, pf::View& view) override {
    auto image = dynamic_cast<pf::ImageView*>(&view);
    return image ? image->image() : nullptr;
  }
  std::shared_ptr<pf::ViewController> parentViewControllerForPhotoZoomManager(PhotoZoomManager&) override {
    return host.lock();
  }
  bool declaresPhotoZoomDelegate() const override { return declares; }
  std::optional<std::string> photoZoomManagerMediaURLForView(PhotoZoomManager&, pf::View& view) override {
    askedOnMain = askedOnMain && pf::RunLoop::current() == pf::RunLoop::main();
    // As the screens do: the answer depends on where the view is.
    framesAsked.push_back(view.frame());
    return url;
  }
  std::optional<std::string> photoZoomManagerTitleForView(PhotoZoomManager&, pf::View&) override { return title; }
  std::optional<pf::Rect> photoZoomManagerFinalFrameForView(PhotoZoomManager&, pf::View&) override { return finalFrame; }

  std::weak_ptr<pf::ViewController> host;
  bool declares = true;
  std::optional<std::string> url;
  std::optional<std::string> title;
  std::optional<pf::Rect> finalFrame;
  bool askedOnMain = true;
  std::vector<pf::Rect> framesAsked;
};

class PhotoZoomTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    PhotoZoomController::registerForInterfaceFiles();
    pf::Bundle::setMainBundlePath(MARLUNE_APP_RESOURCES);
    pf::Device::currentDevice().setOrientation(pf::Device::Orientation::Portrait);
    makeScreen();
  }
  void TearDown() override {
    manager.reset();
    screen.reset();
    pf::Bundle::setMainBundlePath("");
    UiTest::TearDown();
  }
  void makeScreen() {
    screen = std::make_shared<HostScreen>();
    window->setRootViewController(screen);
    screen->view()->setBackgroundColor(pf::Color::white());
    thumbnail = std::make_shared<pf::ImageView>(pf::Rect{20, 100, 80, 60});
    thumbnail->setImage(pictureOf({80, 60}, pf::Color::fromRgba(0.1, 0.5, 0.9)));
    screen->view()->addSubview(thumbnail);
    delegate->host = screen;
    manager = std::make_shared<PhotoZoomManager>();
    manager->setDelegate(delegate);
    manager->installOnView(thumbnail);
  }
  void open() {
    host.tap({60, 130});
    host.advance(0.8);
  }
  // Waits in real time for work of other threads handed to the main queue.
  bool waitFor(const std::function<bool()>& done) { return loop->runUntilTrue(done, 10); }

  std::shared_ptr<HostScreen> screen;
  std::shared_ptr<pf::ImageView> thumbnail;
  std::shared_ptr<ZoomDelegate> delegate = std::make_shared<ZoomDelegate>();
  std::shared_ptr<PhotoZoomManager> manager;
  pf::HeadlessHost host{window};
};

TEST_F(PhotoZoomTest, OpensInPointEightSecondsAndTheBackButtonClosesOntoTheThumbnail) {
  for (const bool tablet : {false, true}) {
    SCOPED_TRACE(tablet ? "tablet" : "phone");
    pf::Screen::configure(tablet ? pf::Screen::Profile::Tablet : pf::Screen::Profile::Phone);
    window = std::make_shared<pf::Window>();
    window->makeKeyAndVisible();
    pf::HeadlessHost screenHost(window);
    makeScreen();
    delegate->title = "第一章 插图";
    manager->installOnView(thumbnail);
    EXPECT_EQ(thumbnail->gestureRecognizers().size(), 1u) << "installed once however often";
    screenHost.tap({60, 130});
    auto focus = manager->focusViewController;
    ASSERT_TRUE(focus);
    EXPECT_TRUE(manager->isZooming);
    EXPECT_TRUE(thumbnail->isHidden());
    EXPECT_EQ(screen->childViewControllers().size(), 1u);
    screenHost.advance(0.5);
    EXPECT_TRUE(manager->isZooming) << "settling after the overshoot";
    screenHost.advance(0.31);
    EXPECT_FALSE(manager->isZooming);
    ASSERT_TRUE(focus->scrollView);
    EXPECT_TRUE(focus->mainImageView->isHidden());
    EXPECT_TRUE(focus->isObservingOrientation());
    EXPECT_EQ(focus->titleLabel->text(), "第一章 插图");
    EXPECT_EQ(focus->mainImageView->frame(), focus->contentView->bounds());
    screenHost.render();
    keepSnapshot(screenHost, tablet ? "photozoom_open_tablet.png" : "photozoom_open_phone.png");
    const pf::Rect screenBounds = pf::Screen::mainScreen().bounds();
    EXPECT_TRUE(pixelNear(screenHost.pixelAt({screenBounds.midX(), screenBounds.midY()}), 25, 128, 230))
        << "the picture fills the middle";
    auto back = std::dynamic_pointer_cast<pf::Button>(focus->accessoryView);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->titleForState(pf::Control::kNormal), "返回");
    const pf::Rect backFrame = back->frame();
    EXPECT_NEAR(backFrame.maxX(), screenBounds.maxX() - 10, 1);
    EXPECT_NEAR(backFrame.minY(), 10, 1);
    const pf::Rect onScreen = back->convertRectToView(back->bounds(), nullptr);
    screenHost.tap({onScreen.midX(), onScreen.midY()});
    screenHost.advance(0.5);
    EXPECT_TRUE(manager->focusViewController) << "still settling onto the thumbnail";
    screenHost.advance(0.31);
    EXPECT_FALSE(manager->focusViewController);
    EXPECT_FALSE(thumbnail->isHidden());
    EXPECT_TRUE(screen->childViewControllers().empty());
    EXPECT_FALSE(focus->view()->superview()) << "nothing of the screen is left behind";
    EXPECT_FALSE(focus->isObservingOrientation());
    std::weak_ptr<PhotoZoomController> gone = focus;
    focus.reset();
    EXPECT_TRUE(gone.expired());
  }
}

TEST_F(PhotoZoomTest, ClosingIsRefusedWhileOpeningUnlessAllowed) {
  host.tap({60, 130});
  host.advance(0.2);
  manager->handleDefocusGesture();
  host.advance(1.0);
  EXPECT_TRUE(manager->focusViewController) << "refused while opening";
  manager->handleDefocusGesture();
  host.advance(0.8);
  EXPECT_FALSE(manager->focusViewController);

  manager->gestureDisabledDuringZooming = false;
  host.tap({60, 130});
  host.advance(0.2);
  manager->handleDefocusGesture();
  host.advance(1.5);
  EXPECT_FALSE(manager->focusViewController) << "accepted when allowed";
  EXPECT_FALSE(thumbnail->isHidden());
}

TEST_F(PhotoZoomTest, WithoutElasticityOneAnimationEachWay) {
  manager->elasticAnimation = false;
  host.tap({60, 130});
  host.advance(0.51);
  ASSERT_TRUE(manager->focusViewController);
  EXPECT_FALSE(manager->isZooming);
  EXPECT_TRUE(manager->focusViewController->scrollView);
  manager->handleDefocusGesture();
  host.advance(0.51);
  EXPECT_FALSE(manager->focusViewController);
}

TEST_F(PhotoZoomTest, TapToCloseHasNoBackButton) {
  manager->isDefocusingWithTap = true;
  open();
  ASSERT_TRUE(manager->focusViewController);
  EXPECT_FALSE(manager->focusViewController->accessoryView);
  host.tap({300, 460});
  host.advance(0.81);
  EXPECT_FALSE(manager->focusViewController);
}

TEST_F(PhotoZoomTest, AnUndeclaredDelegateGetsNoOptionalCalls) {
  delegate->declares = false;
  delegate->title = "caption";
  delegate->finalFrame = pf::Rect{0, 0, 100, 100};
  delegate->url = "http://127.0.0.1:1/never.png";
  pf::Log::Capture log;
  manager->elasticAnimation = false;
  host.tap({60, 130});
  auto focus = manager->focusViewController;
  ASSERT_TRUE(focus);
  EXPECT_EQ(focus->titleLabel->text(), "");
  host.advance(0.2);
  focus->scrollView.reset();
  host.advance(0.4);
  EXPECT_EQ(focus->mainImageView->frame(), pf::Screen::mainScreen().bounds()) << "the screen, not the answered frame";
  EXPECT_FALSE(log.contains("Unable to load image")) << "no load started";
}

TEST_F(PhotoZoomTest, NoPictureOrNoHostOpensNothing) {
  thumbnail->setImage(nullptr);
  host.tap({60, 130});
  EXPECT_FALSE(manager->focusViewController);
  thumbnail->setImage(pictureOf({8, 8}, pf::Color::red()));
  delegate->host.reset();
  host.tap({60, 130});
  host.advance(1);
  EXPECT_FALSE(manager->focusViewController);
  EXPECT_FALSE(thumbnail->isHidden());
}

TEST_F(PhotoZoomTest, FullPictureReplacesTheThumbnail) {
  const auto png = pictureOf({2000, 1500}, pf::Color::fromRgba(0.9, 0.3, 0.1))->pngData();
  ASSERT_TRUE(png);
  const std::string bytes(png->begin(), png->end());
  devserver::DevServer server;
  server.route("/blog/large.png", devserver::answers::text(200, bytes, {{"Content-Type", "image/png"}}));
  ASSERT_TRUE(server.start());

  delegate->url = server.url("/blog/large.png");
  host.tap({60, 130});
  auto focus = manager->focusViewController;
  ASSERT_TRUE(focus);
  EXPECT_TRUE(waitFor([&] { return focus->mainImageView->image()->size().width == 2000; }));
  host.advance(0.81);
  ASSERT_TRUE(focus->scrollView);
  EXPECT_NEAR(focus->scrollView->zoomScale(), 0.16, 1e-6);
  EXPECT_TRUE(delegate->askedOnMain);
}

// Faults caught: a full picture that arrives after the zoomable view was installed reaching only the
// hidden main image view, so the open screen keeps the blurred thumbnail.
TEST_F(PhotoZoomTest, AFullPictureArrivingAfterTheZoomViewShowsInIt) {
  const auto png = pictureOf({2000, 1500}, pf::Color::fromRgba(0.9, 0.3, 0.1))->pngData();
  ASSERT_TRUE(png);
  const std::string bytes(png->begin(), png->end());
  std::atomic<bool> released{false};
  devserver::DevServer server;
  // The stalled answer ends before the server does, however the test ends.
  const std::shared_ptr<void> release(nullptr, [&released](void*) { released = true; });
  server.route("/blog/late.png", [&released, bytes](devserver::Exchange& exchange) {
    while (!released) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    exchange.respond(200, bytes, {{"Content-Type", "image/png"}});
  });
  ASSERT_TRUE(server.start());

  delegate->url = server.url("/blog/late.png");
  host.tap({60, 130});
  auto focus = manager->focusViewController;
  ASSERT_TRUE(focus);
  // The virtual clock stands still while the read is in flight, so the end of the opening (which
  // installs the zoom view) is played here, as a slow server lets it happen on a device.
  manager->installZoomView();
  ASSERT_TRUE(focus->scrollView);
  ASSERT_TRUE(focus->scrollView->zoomImageView);
  EXPECT_TRUE(focus->mainImageView->isHidden());
  EXPECT_EQ(focus->scrollView->zoomImageView->image()->size().width, 80);
  released = true;
  EXPECT_TRUE(waitFor([&] {
    auto shown = focus->scrollView->zoomImageView->image();
    return shown && shown->size().width == 2000;
  })) << "the late picture reaches the view that shows";
  EXPECT_NEAR(focus->scrollView->zoomScale(), 0.16, 1e-6) << "and is fitted like an early one";
}

TEST_F(PhotoZoomTest, AnUnreachablePictureIsLoggedAndTheThumbnailStays) {
  pf::Log::Capture log;
  delegate->url = "http://127.0.0.1:1/blog/missing.png";
  open();
  ASSERT_TRUE(manager->focusViewController);
  EXPECT_TRUE(waitFor([&] { return log.contains("Warning: Unable to load image at http://127.0.0.1:1/blog/missing.png."); }));
  EXPECT_EQ(manager->focusViewController->scrollView->zoomImageView->image()->size().width, 80);
}

// Fault caught: the delegate asked for the picture's address off the main thread while the screen moves
// its views (ThreadSanitizer sees the view's frame read there and written here).
TEST_F(PhotoZoomTest, ConcurrencyFullPictureLoadsWhileScreensOpenAndClose) {
  devserver::DevServer server;
  const auto png = pictureOf({300, 200}, pf::Color::green())->pngData();
  server.route("/p.png", devserver::answers::text(200, std::string(png->begin(), png->end())));
  ASSERT_TRUE(server.start());
  delegate->url = server.url("/p.png");
  std::vector<pf::Rect> framesTapped;
  for (int i = 0; i < 6; ++i) {
    thumbnail->setFrame({20.0 + i, 100, 80, 60});
    framesTapped.push_back(thumbnail->frame());
    host.tap({60, 130});
    host.advance(i % 2 ? 0.81 : 0.1);
    manager->gestureDisabledDuringZooming = false;
    manager->handleDefocusGesture();
    host.advance(0.81);
  }
  loop->runUntilTrue([] { return false; }, 0.5);
  EXPECT_FALSE(manager->focusViewController);
  EXPECT_TRUE(delegate->askedOnMain) << "the delegate is asked on the main thread";
  EXPECT_EQ(delegate->framesAsked, framesTapped) << "asked about the view where it was tapped";
}

TEST_F(PhotoZoomTest, ZoomScalesFitLargePicturesAndKeepSmallOnesAtTheirSize) {
  struct Case {
    pf::Size bounds, picture;
    double minimum, maximum;
  };
  const Case cases[] = {
      {{320, 480}, {2000, 1500}, 0.16, 1},
      {{320, 480}, {100, 80}, 1, 1},
      {{480, 320}, {400, 350}, 320.0 / 350, 320.0 / 350},
      {{0, 0}, {400, 350}, 1, 1},
      {{320, 480}, {0, 0}, 1, 1},
  };
  for (const auto& c : cases) {
    auto view = std::make_shared<ZoomingImageScrollView>(pf::Rect{{0, 0}, c.bounds});
    view->displayImage(pictureOf({std::max(1.0, c.picture.width), std::max(1.0, c.picture.height)}, pf::Color::red()));
    view->configureForImageSize(c.picture);
    EXPECT_NEAR(view->minimumZoomScale(), c.minimum, 1e-6) << c.picture.width;
    EXPECT_NEAR(view->maximumZoomScale(), c.maximum, 1e-6) << c.picture.width;
    EXPECT_NEAR(view->zoomScale(), c.minimum, 1e-6);
  }
  auto small = std::make_shared<ZoomingImageScrollView>(pf::Rect{0, 0, 320, 480});
  window->addSubview(small);
  small->displayImage(pictureOf({100, 80}, pf::Color::red()));
  small->layoutIfNeeded();
  EXPECT_EQ(small->zoomImageView->frame(), pf::Rect(110, 200, 100, 80)) << "centred at its own size";
}

TEST_F(PhotoZoomTest, ResizingKeepsTheZoomOrTheFullView) {
  auto view = std::make_shared<ZoomingImageScrollView>(pf::Rect{0, 0, 320, 480});
  window->addSubview(view);
  view->displayImage(pictureOf({2000, 1500}, pf::Color::red()));
  view->setFrame({0, 0, 480, 320});
  EXPECT_NEAR(view->zoomScale(), 320.0 / 1500, 1e-6) << "fully zoomed out stays so";
  view->setZoomScale(0.5);
  view->setContentOffset({300, 200});
  const pf::Point centre = view->convertPointToView({240, 160}, view->zoomImageView.get());
  view->setFrame({0, 0, 320, 480});
  EXPECT_NEAR(view->zoomScale(), 0.5, 1e-6);
  (void)centre;
}

TEST_F(PhotoZoomTest, ContentTurnsWithTheDeviceWhereTheHostDoesNot) {
  open();
  auto focus = manager->focusViewController;
  ASSERT_TRUE(focus);
  struct Turn {
    pf::Device::Orientation to;
    double duration;
    bool rotated;
  };
  const Turn turns[] = {
      {pf::Device::Orientation::PortraitUpsideDown, 0.8, true},
      {pf::Device::Orientation::LandscapeLeft, 0.4, true},
      {pf::Device::Orientation::LandscapeRight, 0.8, true},
      {pf::Device::Orientation::Portrait, 0.4, false},
  };
  for (const auto& turn : turns) {
    pf::Device::currentDevice().setOrientation(turn.to);
    auto animation = focus->contentView->layer()->animationForKey("transform");
    ASSERT_TRUE(animation) << static_cast<int>(turn.to);
    EXPECT_DOUBLE_EQ(animation->duration, turn.duration);
    EXPECT_EQ(focus->contentView->transform().isIdentity(), !turn.rotated);
    host.advance(1);
  }
  pf::Device::currentDevice().setOrientation(pf::Device::Orientation::FaceUp);
  EXPECT_EQ(focus->previousOrientation, 1) << "face up changes nothing";
  screen->mask = pf::ViewController::kOrientationMaskAll;
  pf::Device::currentDevice().setOrientation(pf::Device::Orientation::LandscapeLeft);
  EXPECT_TRUE(focus->contentView->transform().isIdentity()) << "the host turns itself";
}

}  // namespace
