#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/components/meter/BasicShapes.h"
#include "app/components/meter/ShapeMeterView.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Appearance.h"
#include "platform/ui/BasicAnimation.h"
#include "platform/ui/DisplayLink.h"
#include "platform/ui/GradientLayer.h"
#include "platform/ui/MotionManager.h"
#include "platform/ui/Nib.h"
#include "tests/app/components/ComponentSnapshots.h"
#include "tests/platform/ui/UiTest.h"
#include "tests/support/TemporaryFolder.h"

namespace {

constexpr float kPi = 3.14159265358979f;
const pf::Color kGold = pf::Color::fromRgba(1.0, 199 / 255.0, 87 / 255.0, 1);

class ShapeMeterViewTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    ShapeMeterView::registerForInterfaceFiles();
  }
  void TearDown() override {
    pf::Appearance::reset();
    pf::MotionManager::setSimulatedAttitude(std::nullopt);
    UiTest::TearDown();
  }
  // The course row's star meter: lightGray track through the appearance proxy, five stars, gold fill.
  static std::shared_ptr<ShapeMeterView> starMeter(const pf::Rect& frame) {
    pf::Appearance::of<ShapeMeterView>().set(&ShapeMeterView::setTrackTintColor, pf::Color::lightGray());
    auto meter = std::make_shared<ShapeMeterView>(frame);
    meter->setMeterType(2);
    meter->setShape(BasicShapes::stars(5, meter->frame()));
    meter->setProgressTintColor(kGold);
    return meter;
  }
  static double location(const ShapeMeterView& meter) { return meter.gradientLayer()->locations().at(0); }
};

TEST_F(ShapeMeterViewTest, StarRowEdgeSitsOnTheStarsOwnExtent) {
  auto meter = starMeter({12, 30, 100, 20});
  struct Case {
    float progress;
    double edge;
  };
  for (const Case& c : {Case{0.7f, 0.6980424}, Case{0, 0.004894}, Case{1, 0.995106}}) {
    meter->setProgress(c.progress);
    EXPECT_NEAR(location(*meter), c.edge, 1e-6) << c.progress;
    EXPECT_EQ(meter->gradientLayer()->locations()[1], location(*meter));
    EXPECT_FLOAT_EQ(meter->progress(), c.progress) << "progress keeps the clamped value, not the edge";
  }
}

TEST_F(ShapeMeterViewTest, DrawsGoldUpToTheEdgeLightGreyAfterAndNothingBetweenStars) {
  for (auto profile : {pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet}) {
    pf::Screen::configure(profile);
    window = std::make_shared<pf::Window>();
    window->makeKeyAndVisible();
    window->setBackgroundColor(pf::Color::white());
    auto meter = starMeter({40, 100, 100, 20});
    window->addSubview(meter);
    EXPECT_EQ(meter->trackTintColor(), pf::Color::lightGray()) << "the appearance proxy's track colour";
    meter->setProgress(3.5f / 5);
    pf::HeadlessHost host(window);
    host.render();
    keepSnapshot(host, profile == pf::Screen::Profile::Phone ? "meter_star_row_phone.png" : "meter_star_row_tablet.png");
    const double mid = 100 + 10;
    EXPECT_TRUE(pixelNear(host.pixelAt({40 + 65, mid}), 255, 199, 87)) << "filled part of the fourth star";
    EXPECT_TRUE(pixelNear(host.pixelAt({40 + 75, mid}), 170, 170, 170)) << "track part of the fourth star";
    EXPECT_TRUE(pixelNear(host.pixelAt({40 + 60, mid}), 255, 255, 255)) << "between stars nothing shows";
    EXPECT_TRUE(pixelNear(host.pixelAt({40 + 10, mid}), 255, 199, 87)) << "first star filled";
    EXPECT_TRUE(pixelNear(host.pixelAt({40 + 90, mid}), 170, 170, 170)) << "last star empty";
  }
}

TEST_F(ShapeMeterViewTest, ProgressIsClampedAndAnimatesOnlyWhenAsked) {
  auto meter = std::make_shared<ShapeMeterView>(pf::Rect{0, 0, 100, 20});
  struct Case {
    float start;
    std::function<void(ShapeMeterView&)> change;
    float want;
  };
  const Case cases[] = {
      {0, [](ShapeMeterView& m) { m.setProgress(-0.3f); }, 0},
      {0, [](ShapeMeterView& m) { m.setProgress(1.7f); }, 1},
      {0.9f, [](ShapeMeterView& m) { m.add(0.2f); }, 1},
      {0.2f, [](ShapeMeterView& m) { m.minus(0.5f); }, 0},
  };
  for (const auto& c : cases) {
    meter->setProgress(c.start);
    c.change(*meter);
    EXPECT_FLOAT_EQ(meter->progress(), c.want);
    EXPECT_FLOAT_EQ(location(*meter), c.want) << "without a mask the edge is the progress";
  }
  EXPECT_FALSE(meter->gradientLayer()->animationForKey("animateLocations"));
  meter->setProgress(0.4f, true);
  auto animation = std::dynamic_pointer_cast<const pf::BasicAnimation>(
      meter->gradientLayer()->animationForKey("animateLocations"));
  ASSERT_TRUE(animation);
  EXPECT_DOUBLE_EQ(animation->duration, 0.5);
  EXPECT_FLOAT_EQ(location(*meter), 0.4f) << "the model holds the new edge at once";

  meter->setShape(pf::Path::withRect({10, 5, 0, 10}));
  meter->setProgress(0.3f);
  EXPECT_FLOAT_EQ(location(*meter), 0.3f) << "a shape without area counts as none";
  auto empty = std::make_shared<ShapeMeterView>(pf::Rect{0, 0, 0, 0}, BasicShapes::stars(5, {0, 0, 100, 20}));
  empty->setProgress(0.5f);
  EXPECT_FALSE(std::isnan(location(*empty))) << "a meter of no size never gives NaN";
}

TEST_F(ShapeMeterViewTest, OrientationAnglesAndTheirReadBack) {
  auto meter = std::make_shared<ShapeMeterView>(pf::Rect{0, 0, 100, 20});
  EXPECT_EQ(meter->meterType(), 1);
  EXPECT_EQ(meter->gradientLayer()->startPoint(), pf::Point(0.5, 1));
  EXPECT_EQ(meter->gradientLayer()->endPoint(), pf::Point(0.5, 0));
  struct Case {
    float angle;
    pf::Point start, end;
    float readBack;
  };
  const Case cases[] = {
      {0, {0, 0.5}, {1, 0.5}, 0},
      {kPi / 2, {0.5, 1}, {0.5, 0}, kPi / 2},
      {kPi / 4, {0, 1}, {1, 0}, kPi / 4},
      {3 * kPi / 4, {1, 1}, {0, 0}, 3 * kPi / 4},
      {-kPi / 4, {1, 1}, {0, 0}, 3 * kPi / 4},
      {kPi, {1, 0.5}, {0, 0.5}, 0},
      {2 * kPi + kPi / 4, {0, 1}, {1, 0}, kPi / 4},
  };
  for (const auto& c : cases) {
    meter->setGradientOrientationAngle(c.angle);
    const auto s = meter->gradientLayer()->startPoint();
    const auto e = meter->gradientLayer()->endPoint();
    EXPECT_NEAR(s.x, c.start.x, 1e-5) << c.angle;
    EXPECT_NEAR(s.y, c.start.y, 1e-5) << c.angle;
    EXPECT_NEAR(e.x, c.end.x, 1e-5) << c.angle;
    EXPECT_NEAR(e.y, c.end.y, 1e-5) << c.angle;
    EXPECT_NEAR(meter->gradientOrientationAngle(), c.readBack, 1e-5) << c.angle;
  }
  meter->setMeterType(2);
  meter->setGradientOrientationAngle(kPi / 4);
  meter->setMeterType(2);
  EXPECT_NEAR(meter->gradientLayer()->startPoint().y, 1, 1e-6) << "the same type does not restore its angle";
  meter->setMeterType(3);
  EXPECT_EQ(meter->meterType(), 3);
  EXPECT_NEAR(meter->gradientLayer()->startPoint().y, 1, 1e-6) << "an unknown type keeps the direction";
}

TEST_F(ShapeMeterViewTest, VerticalMeterFillsTheShapeFromItsBottom) {
  auto meter = std::make_shared<ShapeMeterView>(pf::Rect{0, 0, 20, 100}, pf::Path::withRect({0, 20, 20, 60}));
  meter->setProgress(0.5f);
  EXPECT_NEAR(location(*meter), (0.5 * 60 + 100 - 80) / 100.0, 1e-6);
}

TEST_F(ShapeMeterViewTest, MaskAndColoursFollowTheirSetters) {
  auto meter = std::make_shared<ShapeMeterView>(pf::Rect{0, 0, 100, 20}, BasicShapes::stars(5, {0, 0, 100, 20}));
  EXPECT_TRUE(meter->gradientLayer()->mask());
  EXPECT_NEAR(meter->shapeBounds().minX(), 0.4894, 1e-4);
  meter->setShape(std::nullopt);
  EXPECT_FALSE(meter->gradientLayer()->mask());
  EXPECT_TRUE(meter->shapeBounds().isNull());
  EXPECT_EQ(meter->gradientLayer()->colors(), (std::vector<pf::Color>{pf::Color::blue(), pf::Color::green()}));
  meter->setTrackTintColor(std::nullopt);
  EXPECT_EQ(meter->gradientLayer()->colors(), (std::vector<pf::Color>{pf::Color::blue()}));
  meter->setProgressTintColor(std::nullopt);
  EXPECT_TRUE(meter->gradientLayer()->colors().empty());
}

TEST_F(ShapeMeterViewTest, AppearanceColourReachesAMeterLoadedFromAnInterfaceFile) {
  pf_test::TemporaryFolder folder;
  std::ofstream(folder.file("StarRow.nib"))
      << "<interface><object class=\"View\" id=\"row\" frame=\"0 0 320 44\">"
         "<object class=\"ShapeMeterView\" id=\"stars\" frame=\"10 12 100 20\" meterType=\"2\"/>"
         "</object></interface>";
  pf::Appearance::of<ShapeMeterView>().set(&ShapeMeterView::setTrackTintColor, pf::Color::lightGray());
  auto objects = pf::Nib::nibWithPath(folder.file("StarRow.nib"))->instantiateWithOwner(nullptr);
  ASSERT_EQ(objects.size(), 1u);
  auto row = std::dynamic_pointer_cast<pf::View>(objects[0]);
  auto meter = std::dynamic_pointer_cast<ShapeMeterView>(row->subviews().at(0));
  ASSERT_TRUE(meter);
  EXPECT_EQ(meter->meterType(), 2);
  EXPECT_EQ(meter->trackTintColor(), pf::Color::green()) << "its own default until it is shown";
  window->addSubview(row);
  EXPECT_EQ(meter->trackTintColor(), pf::Color::lightGray());
  EXPECT_EQ(meter->gradientLayer()->colors().at(1), pf::Color::lightGray());
  EXPECT_EQ(meter->gradientLayer()->contentsScale(), 2);
}

TEST_F(ShapeMeterViewTest, GravityTurnsTheFillAndAReleasedMeterIsFreed) {
  pf::MotionManager::setSimulatedAttitude(pf::Quaternion{0, 0.3, 0, 0.95});
  auto meter = std::make_shared<ShapeMeterView>(pf::Rect{0, 0, 100, 20});
  meter->setMeterType(2);
  meter->startGravity();
  const auto link = meter->motionDisplayLink();
  const auto manager = meter->motionManager();
  meter->startGravity();
  EXPECT_EQ(meter->motionDisplayLink(), link) << "one link however often it starts";
  EXPECT_EQ(meter->motionManager(), manager);
  EXPECT_TRUE(manager->isDeviceMotionActive());
  EXPECT_DOUBLE_EQ(manager->deviceMotionUpdateInterval(), 0.02);
  runUntil(0.5);
  EXPECT_NE(meter->motionLastYaw(), 0);
  EXPECT_GT(std::fabs(meter->currentYaw()), 0.01) << "the fill turned";
  meter->stopGravity();
  meter->stopGravity();
  EXPECT_FALSE(meter->isGravityActive());
  EXPECT_EQ(meter->motionLastYaw(), 0);
  EXPECT_EQ(meter->gradientLayer()->startPoint(), pf::Point(0, 0.5)) << "back to the type's direction";

  meter->startGravity();
  std::weak_ptr<ShapeMeterView> watch = meter;
  std::weak_ptr<pf::DisplayLink> weakLink = meter->motionDisplayLink();
  meter.reset();
  EXPECT_TRUE(watch.expired()) << "a running link keeps no meter alive";
  runUntil(1.0);
  EXPECT_TRUE(weakLink.expired());
}

}  // namespace
