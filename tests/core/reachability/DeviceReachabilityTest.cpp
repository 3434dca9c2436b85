#include "core/reachability/DeviceReachability.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/reachability/Reachability.h"
#include "platform/foundation/Log.h"
#include "tests/core/reachability/ManualProviderFixture.h"

namespace {

using testing::ElementsAre;
using testing::StartsWith;

constexpr pf::ReachabilityFlags t = pf::kReachabilityFlagsTransientConnection;
constexpr pf::ReachabilityFlags R = pf::kReachabilityFlagsReachable;
constexpr pf::ReachabilityFlags c = pf::kReachabilityFlagsConnectionRequired;
constexpr pf::ReachabilityFlags d = pf::kReachabilityFlagsIsDirect;
constexpr pf::ReachabilityFlags W = pf::kReachabilityFlagsIsWWAN;
constexpr char kLinkLocal[] = "169.254.0.0";

using DeviceReachabilityTest = ManualProviderFixture;

TEST_F(DeviceReachabilityTest, AnswersFromTheLinkLocalFlags) {
  struct Case {
    const char* what;
    std::optional<pf::ReachabilityFlags> flags;
    bool available, wwan, wlan;
  };
  const Case cases[] = {
      {"Wi-Fi", R | d, true, false, true},
      {"mobile network", R | W | t, true, true, false},
      {"mobile network to be brought up", R | c | W, false, false, false},
      {"nothing", 0, false, false, false},
      {"unreadable", std::nullopt, false, false, false},
  };
  provider_->setFlags(R);  // every other target: the link-local one alone decides
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    provider_->setFlags(kLinkLocal, k.flags);
    EXPECT_EQ(DeviceReachability::networkAvailable(), k.available);
    EXPECT_EQ(DeviceReachability::activeWWAN(), k.wwan);
    EXPECT_EQ(DeviceReachability::activeWLAN(), k.wlan);
  }
}

TEST_F(DeviceReachabilityTest, LogsWhatThePingsRead) {
  provider_->setFlags(kLinkLocal, std::nullopt);
  {
    pf::Log::Capture capture;
    EXPECT_EQ(DeviceReachability::pingReachabilityInternal(), 0u);
    EXPECT_THAT(capture.lines(), ElementsAre("Error. Could not recover network reachability flags"));
  }
  provider_->setFlags(kLinkLocal, R | d);
  pf::Log::Capture capture;
  EXPECT_TRUE(DeviceReachability::activeWLAN());
  EXPECT_THAT(capture.lines(), ElementsAre(StartsWith("isReachableViaWiFi (")));
  EXPECT_TRUE(capture.contains(" \n\tReachability Flags: -R ------d"));
}

TEST_F(DeviceReachabilityTest, InternetStaysReachableViaWWANWhenAConnectionIsRequired) {
  provider_->setFlags(R | c | W);
  EXPECT_FALSE(DeviceReachability::networkAvailable());
  EXPECT_EQ(Reachability::reachabilityForInternetConnection()->currentReachabilityStatus(),
            NetworkStatus::ReachableViaWWAN);
}

class CountingWatcher : public ReachabilityWatcher {
 public:
  void reachabilityChanged() override { ++changes; }
  int changes = 0;
};

TEST_F(DeviceReachabilityTest, WatcherHearsChangesUntilUnscheduled) {
  pf::Log::Capture capture;
  EXPECT_FALSE(DeviceReachability::scheduleReachabilityWatcher(nullptr));
  auto watcher = std::make_shared<CountingWatcher>();
  ASSERT_TRUE(DeviceReachability::scheduleReachabilityWatcher(watcher));
  provider_->setFlags(R | d);
  provider_->fireChange();
  drain();
  EXPECT_EQ(watcher->changes, 1);

  DeviceReachability::unscheduleReachabilityWatcher();
  EXPECT_FALSE(provider_->watching());
  DeviceReachability::unscheduleReachabilityWatcher();
  EXPECT_THAT(capture.lines(),
              ElementsAre("Watcher must conform to ReachabilityWatcher protocol. Cannot continue.",
                          "Unscheduled reachability", "Error: Could not unschedule reachability"));
}

}  // namespace
