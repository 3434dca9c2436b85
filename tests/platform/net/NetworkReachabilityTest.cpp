#include "platform/net/NetworkReachability.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/net/ManualReachabilityProvider.h"

namespace pf {
namespace {

constexpr ReachabilityFlags kWifiFlags = kReachabilityFlagsReachable | kReachabilityFlagsIsDirect;

class NetworkReachabilityTest : public testing::Test {
 protected:
  void SetUp() override {
    loop_->clear();
    reachability_->setCallback([this](ReachabilityFlags flags) {
      seen_.push_back(flags);
      threads_.push_back(std::this_thread::get_id());
    });
  }
  void TearDown() override { loop_->clear(); }

  // Runs the loop until it has nothing left to do.
  void drain() {
    while (loop_->runOnce(0.02) == RunLoop::Result::Handled) {
    }
  }

  std::shared_ptr<RunLoop> loop_ = RunLoop::current();
  std::shared_ptr<ManualReachabilityProvider> provider_ = std::make_shared<ManualReachabilityProvider>();
  std::unique_ptr<NetworkReachability> reachability_ =
      std::make_unique<NetworkReachability>(ReachabilityTarget::hostName("example.org"), provider_);
  std::vector<ReachabilityFlags> seen_;
  std::vector<std::thread::id> threads_;
};

TEST_F(NetworkReachabilityTest, DeliversChangedFlagsOnTheScheduledLoop) {
  ASSERT_TRUE(reachability_->scheduleWithRunLoop(loop_, RunLoop::kDefaultMode));
  provider_->fireChange();  // nothing changed
  drain();
  EXPECT_TRUE(seen_.empty());

  provider_->setFlags(kWifiFlags);
  std::thread watcher([this] {
    for (int i = 0; i < 3; ++i) provider_->fireChange();  // one burst, one delivery
  });
  watcher.join();
  drain();
  EXPECT_EQ(seen_, std::vector<ReachabilityFlags>{kWifiFlags});
  EXPECT_EQ(threads_, std::vector<std::thread::id>{std::this_thread::get_id()});

  provider_->setFlags(std::nullopt);  // unreadable reads as not reachable
  provider_->fireChange();
  drain();
  EXPECT_EQ(seen_, (std::vector<ReachabilityFlags>{kWifiFlags, 0}));
}

TEST_F(NetworkReachabilityTest, UnschedulesOnlyWhereScheduled) {
  ASSERT_TRUE(reachability_->scheduleWithRunLoop(loop_, RunLoop::kDefaultMode));
  EXPECT_TRUE(reachability_->scheduleWithRunLoop(loop_, RunLoop::kDefaultMode));
  EXPECT_FALSE(reachability_->scheduleWithRunLoop(loop_, RunLoop::kCommonModes));
  EXPECT_TRUE(provider_->watching());
  EXPECT_FALSE(reachability_->unscheduleFromRunLoop(loop_, RunLoop::kCommonModes));
  // A change already posted is dropped once unscheduled.
  provider_->setFlags(kWifiFlags);
  provider_->fireChange();
  EXPECT_TRUE(reachability_->unscheduleFromRunLoop(loop_, RunLoop::kDefaultMode));
  EXPECT_FALSE(provider_->watching());
  drain();
  EXPECT_TRUE(seen_.empty());
  EXPECT_FALSE(reachability_->unscheduleFromRunLoop(loop_, RunLoop::kDefaultMode));
}

TEST_F(NetworkReachabilityTest, DestructionStopsWatching) {
  ASSERT_TRUE(reachability_->scheduleWithRunLoop(loop_, RunLoop::kDefaultMode));
  provider_->setFlags(kWifiFlags);
  provider_->fireChange();
  reachability_.reset();
  EXPECT_FALSE(provider_->watching());
  drain();
  EXPECT_TRUE(seen_.empty());
}

TEST_F(NetworkReachabilityTest, DeliversOnALoopOfAnotherThread) {
  std::shared_ptr<RunLoop> other;
  std::thread::id otherId;
  std::thread thread([&] {
    other = RunLoop::current();
    otherId = std::this_thread::get_id();
    ASSERT_TRUE(reachability_->scheduleWithRunLoop(other, RunLoop::kDefaultMode));
    provider_->setFlags(kWifiFlags);
    provider_->fireChange();
    other->runUntilTrue([&] { return !seen_.empty(); }, 5);
    EXPECT_TRUE(reachability_->unscheduleFromRunLoop(other, RunLoop::kDefaultMode));
  });
  thread.join();
  EXPECT_EQ(seen_, std::vector<ReachabilityFlags>{kWifiFlags});
  EXPECT_EQ(threads_, std::vector<std::thread::id>{otherId});
}

TEST(NetworkReachabilityFactoryTest, NamesTheTarget) {
  EXPECT_EQ(NetworkReachability::withHostName(""), nullptr);
  EXPECT_EQ(NetworkReachability::withHostName("example.org")->target().text(), "example.org");
  EXPECT_EQ(NetworkReachability::withAddress(IpAddress::v4({169, 254, 0, 0}))->target().text(),
            "169.254.0.0");
}

}  // namespace
}  // namespace pf
