#include <gtest/gtest.h>

#include <memory>

#include "platform/foundation/RunLoop.h"
#include "platform/ui/DisplayLink.h"
#include "platform/ui/MotionManager.h"
#include "tests/platform/ui/UiTest.h"

namespace {

class DisplayLinkTest : public UiTest {
 protected:
  void TearDown() override {
    pf::MotionManager::setSimulatedAttitude(std::nullopt);
    UiTest::TearDown();
  }
};

TEST_F(DisplayLinkTest, FiresEveryFrameInItsModeUntilInvalidated) {
  auto target = std::make_shared<int>(0);
  int frames = 0;
  auto link = pf::DisplayLink::make(target, [&](pf::DisplayLink& l) {
    ++frames;
    EXPECT_DOUBLE_EQ(l.timestamp(), pf::Clock::now());
  });
  link->addToRunLoop(loop, pf::RunLoop::kDefaultMode);
  runUntil(1.0);
  EXPECT_NEAR(frames, 60, 1);
  link->setPaused(true);
  runUntil(1.5);
  EXPECT_NEAR(frames, 60, 1);
  link->setPaused(false);
  link->invalidate();
  runUntil(2.0);
  EXPECT_NEAR(frames, 60, 1);
  EXPECT_FALSE(link->isValid());
}

TEST_F(DisplayLinkTest, HoldsItsTargetWeaklyAndEndsWhenItIsGone) {
  auto target = std::make_shared<int>(0);
  std::weak_ptr<int> watch = target;
  int frames = 0;
  std::weak_ptr<pf::DisplayLink> weakLink;
  {
    auto link = pf::DisplayLink::make(target, [&](pf::DisplayLink&) { ++frames; });
    link->addToRunLoop(loop, pf::RunLoop::kDefaultMode);
    weakLink = link;
  }
  runUntil(0.1);
  EXPECT_GT(frames, 0);
  target.reset();
  EXPECT_TRUE(watch.expired()) << "the link keeps no target alive";
  const int before = frames;
  runUntil(0.5);
  EXPECT_EQ(frames, before);
  EXPECT_TRUE(weakLink.expired()) << "the loop lets go of a link whose target has gone";
}

TEST_F(DisplayLinkTest, MotionManagerReadsTheSimulatedSensorOnlyWhileStarted) {
  pf::MotionManager manager;
  EXPECT_FALSE(manager.isDeviceMotionAvailable());
  manager.startDeviceMotionUpdatesUsingReferenceFrame(pf::MotionManager::kXArbitraryZVertical);
  EXPECT_FALSE(manager.isDeviceMotionActive()) << "no sensor, no updates";
  EXPECT_FALSE(manager.deviceMotion());

  pf::MotionManager::setSimulatedAttitude(pf::Quaternion{0.1, 0.2, 0.3, 0.9});
  EXPECT_TRUE(manager.isDeviceMotionAvailable());
  EXPECT_FALSE(manager.deviceMotion()) << "not started";
  manager.setDeviceMotionUpdateInterval(0.02);
  manager.startDeviceMotionUpdatesUsingReferenceFrame(pf::MotionManager::kXArbitraryZVertical);
  ASSERT_TRUE(manager.deviceMotion());
  EXPECT_DOUBLE_EQ(manager.deviceMotion()->attitude.quaternion.z, 0.3);
  EXPECT_DOUBLE_EQ(manager.deviceMotionUpdateInterval(), 0.02);
  manager.stopDeviceMotionUpdates();
  EXPECT_FALSE(manager.isDeviceMotionActive());
  EXPECT_FALSE(manager.deviceMotion());
}

}  // namespace
