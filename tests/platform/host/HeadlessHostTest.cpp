#include "platform/host/HeadlessHost.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Image.h"
#include "platform/ui/CurrentContext.h"
#include "platform/ui/GradientLayer.h"
#include "platform/ui/Layer.h"
#include "platform/ui/ShapeLayer.h"
#include "platform/ui/TapGestureRecognizer.h"
#include "platform/ui/View.h"
#include "tests/platform/ui/UiTest.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using pf::Color;
using pf::Pixel;
using pf::Point;
using pf::Rect;
using pf::View;

// Channels within a tolerance: anti-aliasing and blending round differently between Cairo versions.
testing::AssertionResult near(Pixel actual, Pixel expected, int tolerance = 6) {
  const auto off = [&](int a, int b) { return std::abs(a - b) > tolerance; };
  if (off(actual.red, expected.red) || off(actual.green, expected.green) || off(actual.blue, expected.blue) ||
      off(actual.alpha, expected.alpha)) {
    return testing::AssertionFailure()
           << "pixel (" << int(actual.red) << ", " << int(actual.green) << ", " << int(actual.blue) << ", "
           << int(actual.alpha) << ") expected (" << int(expected.red) << ", " << int(expected.green) << ", "
           << int(expected.blue) << ", " << int(expected.alpha) << ")";
  }
  return testing::AssertionSuccess();
}

constexpr Pixel kWhite{255, 255, 255, 255};
constexpr Pixel kRed{255, 0, 0, 255};
constexpr Pixel kBlue{0, 0, 255, 255};
constexpr Pixel kGreen{0, 255, 0, 255};

std::shared_ptr<View> box(const Rect& frame, const Color& color) {
  auto view = std::make_shared<View>(frame);
  view->setBackgroundColor(color);
  return view;
}

// Draws a black cross through its bounds with drawRect, counting its calls.
class Cross : public View {
 public:
  using View::View;
  int draws = 0;
  void drawRect(const Rect& rect) override {
    ++draws;
    auto* context = pf::CurrentContext::get();
    context->setFillColor(Color::black());
    context->fillRect(Rect(rect.midX() - 2, rect.minY(), 4, rect.height()));
    context->fillRect(Rect(rect.minX(), rect.midY() - 2, rect.width(), 4));
  }
};

class HeadlessHostTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    window->setBackgroundColor(Color::white());
  }
  pf::HeadlessHost host;
};

TEST_F(HeadlessHostTest, SnapshotShowsTheTreeAtTheScreenScale) {
  auto rounded = box(Rect(20, 20, 100, 100), Color::red());
  rounded->layer()->setCornerRadius(20);
  auto clip = box(Rect(150, 20, 60, 60), Color::blue());
  clip->setClipsToBounds(true);
  clip->addSubview(box(Rect(30, 30, 60, 60), Color::green()));
  auto faded = box(Rect(20, 150, 60, 60), Color::blue());
  faded->setAlpha(0.5);
  auto hidden = box(Rect(150, 150, 60, 60), Color::green());
  hidden->setHidden(true);
  auto clear = box(Rect(230, 150, 60, 60), Color::green());
  clear->setAlpha(0);
  clear->addSubview(box(Rect(10, 10, 20, 20), Color::red()));
  auto turned = box(Rect(0, 0, 40, 40), Color::red());
  turned->setCenter({250, 300});
  turned->setTransform(pf::AffineTransform::makeRotation(M_PI / 4));
  auto card = box(Rect(240, 380, 60, 60), Color::white());
  card->layer()->setCornerRadius(10);
  card->layer()->setShadowOpacity(0.6);
  card->layer()->setShadowRadius(5);
  card->layer()->setShadowOffset({0, 4});
  auto framed = box(Rect(20, 300, 80, 80), Color::white());
  framed->layer()->setBorderWidth(6);
  framed->layer()->setBorderColor(Color::blue());
  auto cross = std::make_shared<Cross>(Rect(150, 380, 60, 60));
  for (auto& v :
       {rounded, clip, faded, hidden, clear, turned, framed, card, std::static_pointer_cast<View>(cross)})
    window->addSubview(v);

  // A picture to look at: MARLUNE_SNAPSHOT_DIR=build/test/snapshots.
  if (const char* folder = std::getenv("MARLUNE_SNAPSHOT_DIR"))
    host.writePng(std::string(folder) + "/view-tree.png");
  auto bitmap = host.render();
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->width(), 640);
  EXPECT_EQ(bitmap->height(), 960);

  EXPECT_TRUE(near(host.pixelAt({70, 70}), kRed));
  EXPECT_TRUE(near(host.pixelAt({22, 22}), kWhite)) << "rounded corner";
  EXPECT_TRUE(near(host.pixelAt({200, 70}), kGreen)) << "child inside the clip";
  EXPECT_TRUE(near(host.pixelAt({220, 70}), kWhite)) << "child cut off by the clip";
  EXPECT_TRUE(near(host.pixelAt({50, 180}), Pixel{127, 127, 255, 255}, 3))
      << "half-transparent blue on white";
  EXPECT_TRUE(near(host.pixelAt({180, 180}), kWhite)) << "hidden";
  EXPECT_TRUE(near(host.pixelAt({250, 170}), kWhite)) << "alpha 0, with its subviews";
  EXPECT_TRUE(near(host.pixelAt({250, 275}), kRed)) << "a corner of the turned square reaches up";
  EXPECT_TRUE(near(host.pixelAt({230, 282}), kWhite)) << "beside the turned corner";
  EXPECT_TRUE(near(host.pixelAt({22, 340}), kBlue)) << "border";
  EXPECT_TRUE(near(host.pixelAt({60, 340}), kWhite)) << "inside the border";
  EXPECT_TRUE(near(host.pixelAt({180, 385}), Pixel{0, 0, 0, 255})) << "drawRect content";
  EXPECT_TRUE(near(host.pixelAt({160, 390}), kWhite));
  EXPECT_TRUE(near(host.pixelAt({300, 470}), kWhite));

  host.render();
  EXPECT_EQ(cross->draws, 1) << "drawing is kept until the view asks again";
  cross->setNeedsDisplay();
  host.render();
  EXPECT_EQ(cross->draws, 2);
}

TEST_F(HeadlessHostTest, ShadowsFallByTheirOffsetAndOpacity) {
  auto card = box(Rect(100, 100, 100, 100), Color::white());
  card->layer()->setShadowOpacity(1);
  card->layer()->setShadowRadius(0);
  card->layer()->setShadowOffset({10, 10});
  card->layer()->setShadowColor(Color::black());
  window->setBackgroundColor(Color::fromWhite(0.5));
  window->addSubview(card);

  host.render();

  EXPECT_TRUE(near(host.pixelAt({150, 150}), kWhite));
  EXPECT_TRUE(near(host.pixelAt({205, 150}), Pixel{0, 0, 0, 255})) << "shadow to the right";
  EXPECT_TRUE(near(host.pixelAt({150, 205}), Pixel{0, 0, 0, 255})) << "shadow below";
  EXPECT_TRUE(near(host.pixelAt({95, 150}), Pixel{128, 128, 128, 255})) << "none to the left";

  card->layer()->setShadowPath(std::make_shared<pf::Path>(pf::Path::withRect(Rect(0, 0, 100, 100))));
  card->layer()->setShadowOpacity(0.5);
  host.render();
  EXPECT_TRUE(near(host.pixelAt({205, 150}), Pixel{64, 64, 64, 255}, 8)) << "half-opaque shadow of the path";
}

// A shadow path is cast from the outline: no offscreen picture in any frame, the blur run once for
// the settled outline, and none for a full-window layer, whose shadow falls off the screen.
TEST_F(HeadlessHostTest, ShadowPathsAreCastWithoutOffscreenPictures) {
  auto shadowed = [](const Rect& frame, double radius) {
    auto view = box(frame, Color::white());
    view->layer()->setShadowPath(std::make_shared<pf::Path>(pf::Path::withRect(view->bounds())));
    view->layer()->setShadowOpacity(1);
    view->layer()->setShadowRadius(radius);
    view->layer()->setShadowColor(Color::black());
    return view;
  };
  window->addSubview(shadowed(window->bounds(), 10));
  window->addSubview(shadowed(Rect(100, 100, 100, 100), 4));

  const std::uint64_t blurs = pf::GraphicsContext::shadowBlurCount();
  const std::uint64_t passes = pf::GraphicsContext::offscreenPassCount();
  host.render();
  EXPECT_EQ(pf::GraphicsContext::shadowBlurCount() - blurs, 1u) << "the card's shadow only";
  host.render();
  EXPECT_EQ(pf::GraphicsContext::shadowBlurCount() - blurs, 1u) << "blurred again for the same outline";
  EXPECT_EQ(pf::GraphicsContext::offscreenPassCount(), passes);
  EXPECT_TRUE(near(host.pixelAt({150, 150}), kWhite));
  EXPECT_LT(host.pixelAt({201, 150}).red, 240) << "the card's shadow beside it";
  EXPECT_TRUE(near(host.pixelAt({230, 150}), kWhite)) << "past the blur";
}

// Frames are drawn into the last frame's bitmap unless a caller still holds it: a kept frame must
// not change under the caller when the window is drawn again.
TEST_F(HeadlessHostTest, AFrameHeldByTheCallerIsNotDrawnOver) {
  auto card = box(Rect(100, 100, 100, 100), Color::red());
  window->addSubview(card);
  const pf::Bitmap* dropped = host.render().get();
  EXPECT_EQ(host.render().get(), dropped) << "a dropped frame's bitmap is drawn into again";

  const auto kept = host.render();
  card->setBackgroundColor(Color::blue());
  const auto next = host.render();
  EXPECT_NE(next.get(), kept.get());
  EXPECT_TRUE(near(kept->pixel(300, 300), kRed)) << "the kept frame";
  EXPECT_TRUE(near(next->pixel(300, 300), kBlue));
  EXPECT_TRUE(near(host.pixelAt({150, 150}), kBlue));
}

TEST_F(HeadlessHostTest, ShapeGradientAndMaskLayersDraw) {
  auto shape = pf::ShapeLayer::make();
  shape->setFrame(Rect(0, 0, 100, 100));
  shape->setPath(std::make_shared<pf::Path>(pf::Path::withRect(Rect(10, 50, 80, 0))));
  shape->setFillColor(std::nullopt);
  shape->setStrokeColor(Color::blue());
  shape->setLineWidth(10);
  shape->setStrokeEnd(0.25);
  auto gradient = pf::GradientLayer::make();
  gradient->setFrame(Rect(100, 0, 100, 100));
  gradient->setColors({Color::red(), Color::blue()});
  gradient->setStartPoint({0, 0.5});
  gradient->setEndPoint({1, 0.5});
  auto masked = box(Rect(0, 200, 100, 100), Color::green());
  auto mask = pf::ShapeLayer::make();
  mask->setPath(std::make_shared<pf::Path>(pf::Path::withOval(Rect(0, 0, 100, 100))));
  masked->layer()->setMask(mask);
  window->layer()->addSublayer(shape);
  window->layer()->addSublayer(gradient);
  window->addSubview(masked);

  host.render();

  EXPECT_TRUE(near(host.pixelAt({20, 50}), kBlue)) << "stroke within its first quarter";
  EXPECT_TRUE(near(host.pixelAt({70, 50}), kWhite)) << "past strokeEnd";
  EXPECT_TRUE(near(host.pixelAt({102, 50}), kRed, 12));
  EXPECT_TRUE(near(host.pixelAt({197, 50}), kBlue, 12));
  EXPECT_TRUE(near(host.pixelAt({50, 250}), kGreen));
  EXPECT_TRUE(near(host.pixelAt({3, 203}), kWhite)) << "outside the oval mask";
}

TEST_F(HeadlessHostTest, RenderingShowsTheAnimationInBetween) {
  auto moving = box(Rect(0, 0, 40, 40), Color::red());
  window->addSubview(moving);
  View::animateWithDuration(1.0, 0, View::kAnimationCurveLinear,
                            [&] { moving->setFrame(Rect(200, 0, 40, 40)); });

  clock->advance(0.5);
  host.render();
  EXPECT_TRUE(near(host.pixelAt({120, 20}), kRed));
  EXPECT_TRUE(near(host.pixelAt({20, 20}), kWhite));
  host.advance(1);
  host.render();
  EXPECT_TRUE(near(host.pixelAt({220, 20}), kRed));

  View::transitionWithView(moving, 1.0, 0, [&] { moving->setBackgroundColor(Color::blue()); });
  clock->advance(0.5);
  host.render();
  EXPECT_TRUE(near(host.pixelAt({220, 20}), Pixel{127, 127, 255, 255}, 3)) << "the new look fades in";
  host.advance(1);
  host.render();
  EXPECT_TRUE(near(host.pixelAt({220, 20}), kBlue));
}

TEST_F(HeadlessHostTest, ScriptedInputReachesRecognisersAndTextInput) {
  auto target = box(Rect(0, 0, 100, 100), Color::red());
  window->addSubview(target);
  auto tapper = std::make_shared<pf::TapGestureRecognizer>();
  std::vector<Point> taps;
  tapper->addTarget([&](pf::GestureRecognizer& r) { taps.push_back(r.locationInView(target.get())); });
  target->addGestureRecognizer(tapper);

  host.tap({30, 40});
  EXPECT_THAT(taps, testing::ElementsAre(Point{30, 40}));

  struct Field : View, pf::TextInput {
    std::string text;
    bool canBecomeFirstResponder() const override { return true; }
    bool hasText() const override { return !text.empty(); }
    void insertText(const std::string& typed) override { text += typed; }
    void deleteBackward() override {
      while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) text.pop_back();
      if (!text.empty()) text.pop_back();
    }
  };
  auto field = std::make_shared<Field>();
  window->addSubview(field);
  EXPECT_FALSE(host.typeText("x")) << "nobody takes text yet";
  ASSERT_TRUE(field->becomeFirstResponder());
  host.typeText("学习ok");
  host.pressBackspace();
  host.pressReturn();
  EXPECT_EQ(field->text, "学习o\n");
}

TEST_F(HeadlessHostTest, WritesAPngThatReadsBack) {
  window->addSubview(box(Rect(10, 10, 50, 50), Color::red()));
  pf_test::TemporaryFolder folder;
  const std::string path = folder.path() + "/window.png";

  ASSERT_TRUE(host.writePng(path));

  auto image = pf::Image::withContentsOfFile(path);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->bitmap()->width(), 640);
  EXPECT_EQ(image->bitmap()->pixel(60, 60), kRed);
  EXPECT_FALSE(host.writePng(folder.path() + "/missing/window.png"));
}

}  // namespace
