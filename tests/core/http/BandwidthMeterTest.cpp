#include "core/http/BandwidthMeter.h"

#include <gtest/gtest.h>

#include "platform/foundation/VirtualClock.h"

namespace {

class BandwidthMeterTest : public testing::Test {
 protected:
  void SetUp() override { pf::Clock::install(clock); }
  void TearDown() override { pf::Clock::install(nullptr); }

  std::shared_ptr<pf::VirtualClock> clock = std::make_shared<pf::VirtualClock>();
  BandwidthMeter meter;
};

TEST_F(BandwidthMeterTest, ALimitThrottlesAlwaysOrOnlyWhileOnTheMobileNetwork) {
  EXPECT_FALSE(meter.isBandwidthThrottled());
  meter.setMaxBandwidthPerSecond(1000);
  EXPECT_TRUE(meter.isBandwidthThrottled());
  meter.setWWANOnly(true, BandwidthMeter::kWWANLimit);
  EXPECT_FALSE(meter.isBandwidthThrottled());
  meter.setThrottledNow(true);
  EXPECT_TRUE(meter.isBandwidthThrottled());
  meter.setWWANOnly(false, 0);
  EXPECT_FALSE(meter.isBandwidthThrottled());
}

TEST_F(BandwidthMeterTest, ASecondUsedUpHoldsStreamsBackAndShrinksReads) {
  meter.setMaxBandwidthPerSecond(1000);
  meter.measureBandwidthUsage();  // opens the first window
  meter.incrementBandwidthUsedInLastSecond(200);
  EXPECT_EQ(meter.throttledReadSize(16384), 200u);  // a quarter of what is left
  EXPECT_FALSE(meter.throttleResumeDate());
  meter.incrementBandwidthUsedInLastSecond(2800);
  EXPECT_EQ(meter.throttledReadSize(16384), 1u);
  // 2000 bytes over the limit: two more seconds after the window ends.
  const std::optional<double> resume = meter.throttleResumeDate();
  ASSERT_TRUE(resume);
  EXPECT_DOUBLE_EQ(*resume, clock->wall() + 1 + 2);
  EXPECT_EQ(meter.maxUploadReadLength(), 0u);
}

TEST_F(BandwidthMeterTest, AveragesTheRecentWindows) {
  for (unsigned long bytes : {100ul, 300ul}) {
    meter.incrementBandwidthUsedInLastSecond(bytes);
    meter.recordBandwidthUsage();
    clock->advance(0.5);
  }
  EXPECT_EQ(meter.averageBandwidthUsedPerSecond(), 200u);
  clock->advance(10);  // idle seconds push the old windows out
  meter.incrementBandwidthUsedInLastSecond(50);
  meter.recordBandwidthUsage();
  EXPECT_EQ(meter.averageBandwidthUsedPerSecond(), 50u);
}

}  // namespace
