#include "platform/net/ReachabilityProvider.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/net/ManualReachabilityProvider.h"
#include "platform/net/SystemReachabilityProvider.h"

namespace pf {
namespace {

TEST(ManualReachabilityProviderTest, AnswersPerTargetOrForAll) {
  ManualReachabilityProvider provider;
  EXPECT_EQ(provider.flagsFor(ReachabilityTarget::hostName("example.org")), 0u);
  provider.setFlags(kReachabilityFlagsReachable);
  provider.setFlags("169.254.0.0", std::nullopt);
  EXPECT_EQ(provider.flagsFor(ReachabilityTarget::hostName("example.org")), kReachabilityFlagsReachable);
  EXPECT_EQ(provider.flagsFor(ReachabilityTarget::address(IpAddress::v4({169, 254, 0, 0}))), std::nullopt);
}

TEST(ReachabilityProviderTest, WatchesWhileHandlersAreAdded) {
  ManualReachabilityProvider provider;
  int calls = 0;
  std::optional<ReachabilityProvider::HandlerId> first = provider.addChangeHandler([&] { ++calls; });
  std::optional<ReachabilityProvider::HandlerId> second = provider.addChangeHandler([&] { calls += 10; });
  ASSERT_TRUE(first && second);
  EXPECT_TRUE(provider.watching());
  provider.fireChange();
  EXPECT_EQ(calls, 11);
  provider.removeChangeHandler(*first);
  EXPECT_TRUE(provider.watching());
  provider.fireChange();
  EXPECT_EQ(calls, 21);
  provider.removeChangeHandler(*second);
  EXPECT_FALSE(provider.watching());
  provider.fireChange();
  EXPECT_EQ(calls, 21);
}

TEST(ReachabilityProviderTest, RemovedHandlerNeverRunsAgain) {
  ManualReachabilityProvider provider;
  std::atomic<bool> removed = false;
  std::atomic<bool> ranAfterRemoval = false;
  std::atomic<bool> stop = false;
  std::atomic<int> ran = 0;
  std::atomic<long> fired = 0;
  std::optional<ReachabilityProvider::HandlerId> id = provider.addChangeHandler([&] {
    ++ran;
    if (removed) ranAfterRemoval = true;
  });
  ASSERT_TRUE(id);
  std::thread firing([&] {
    while (!stop) {
      provider.fireChange();
      ++fired;
    }
  });
  // Removed while changes are being delivered, then watched over many more of them.
  while (ran < 10) std::this_thread::yield();
  provider.removeChangeHandler(*id);
  removed = true;
  const long firedAtRemoval = fired;
  while (fired < firedAtRemoval + 1000) std::this_thread::yield();
  stop = true;
  firing.join();
  EXPECT_FALSE(ranAfterRemoval);
}

TEST(ReachabilityProviderTest, InstallReplacesTheSharedProvider) {
  auto manual = std::make_shared<ManualReachabilityProvider>();
  std::shared_ptr<ReachabilityProvider> previous = ReachabilityProvider::install(manual);
  EXPECT_EQ(ReachabilityProvider::shared(), manual);
  EXPECT_EQ(ReachabilityProvider::install(previous), manual);
  EXPECT_TRUE(std::dynamic_pointer_cast<SystemReachabilityProvider>(ReachabilityProvider::shared()));
}

// The routing socket may be closed to a sandbox; when it opens, the watcher starts and stops cleanly.
TEST(SystemReachabilityProviderTest, StartsAndStopsTheWatcher) {
  SystemReachabilityProvider provider;
  for (int round = 0; round < 3; ++round) {
    std::optional<ReachabilityProvider::HandlerId> id = provider.addChangeHandler([] {});
    if (!id) GTEST_SKIP() << "no routing socket here";
    provider.removeChangeHandler(*id);
  }
  EXPECT_TRUE(provider.flagsFor(ReachabilityTarget::hostName("127.0.0.1")).has_value());
}

}  // namespace
}  // namespace pf
