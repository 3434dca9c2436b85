#include "core/reachability/Reachability.h"

#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include "platform/foundation/Error.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "tests/core/reachability/ManualProviderFixture.h"

namespace reachability_flags_test {

constexpr pf::ReachabilityFlags t = pf::kReachabilityFlagsTransientConnection;
constexpr pf::ReachabilityFlags R = pf::kReachabilityFlagsReachable;
constexpr pf::ReachabilityFlags c = pf::kReachabilityFlagsConnectionRequired;
constexpr pf::ReachabilityFlags C = pf::kReachabilityFlagsConnectionOnTraffic;
constexpr pf::ReachabilityFlags i = pf::kReachabilityFlagsInterventionRequired;
constexpr pf::ReachabilityFlags D = pf::kReachabilityFlagsConnectionOnDemand;
constexpr pf::ReachabilityFlags l = pf::kReachabilityFlagsIsLocalAddress;
constexpr pf::ReachabilityFlags d = pf::kReachabilityFlagsIsDirect;
constexpr pf::ReachabilityFlags W = pf::kReachabilityFlagsIsWWAN;

sockaddr_in address(const char* text) {
  sockaddr_in result{};
  result.sin_family = AF_INET;
  inet_pton(AF_INET, text, &result.sin_addr);
  return result;
}

using ReachabilityTest = ManualProviderFixture;

TEST_F(ReachabilityTest, StatusFollowsTheFlagsInOrder) {
  struct Case {
    const char* what;
    std::shared_ptr<Reachability> (*make)();
    pf::ReachabilityFlags flags;
    NetworkStatus status;
  };
  auto internet = &Reachability::reachabilityForInternetConnection;
  auto localWiFi = &Reachability::reachabilityForLocalWiFi;
  const Case cases[] = {
      {"1. not reachable", internet, W | d, NetworkStatus::NotReachable},
      {"2. local Wi-Fi direct", localWiFi, R | d, NetworkStatus::ReachableViaWiFi},
      {"2. local Wi-Fi not direct", localWiFi, R | W | t, NetworkStatus::NotReachable},
      {"3. WWAN even when a connection is required", internet, R | c | W, NetworkStatus::ReachableViaWWAN},
      {"5. required and transient", internet, R | c | t, NetworkStatus::NotReachable},
      {"6. nothing but reachable, local and direct", internet, R | l | d, NetworkStatus::ReachableViaWiFi},
      {"6. transient", internet, R | t | i, NetworkStatus::ReachableViaWiFi},
      {"6. required on traffic", internet, R | c | C, NetworkStatus::ReachableViaWiFi},
      {"7. on traffic alone", internet, R | C, NetworkStatus::NotReachable},
      {"7. on demand alone", internet, R | D, NetworkStatus::NotReachable},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    provider_->setFlags(k.flags);
    std::shared_ptr<Reachability> reachability = k.make();
    EXPECT_EQ(reachability->networkStatusForFlags(k.flags), k.status);
    EXPECT_EQ(reachability->currentReachabilityStatus(), k.status);
    EXPECT_EQ(reachability->isReachable(), k.status != NetworkStatus::NotReachable);
    EXPECT_EQ(reachability->isReachableViaWWAN(), k.status == NetworkStatus::ReachableViaWWAN);
    EXPECT_EQ(reachability->isReachableViaWiFi(), k.status == NetworkStatus::ReachableViaWiFi);
  }
}

TEST_F(ReachabilityTest, TestsLogTheFlagsOnce) {
  provider_->setFlags(R | c | C);
  std::shared_ptr<Reachability> reachability = Reachability::reachabilityForInternetConnection();
  pf::Log::Capture capture;
  EXPECT_EQ(reachability->currentReachabilityStatus(), NetworkStatus::ReachableViaWiFi);
  EXPECT_TRUE(reachability->isReachable());
  EXPECT_TRUE(capture.lines().empty());

  EXPECT_TRUE(reachability->isConnectionOnDemand());
  EXPECT_TRUE(reachability->connectionRequired());
  EXPECT_FALSE(reachability->isInterventionRequired());
  EXPECT_EQ(reachability->reachabilityFlags(), R | c | C);
  const char* names[] = {"isConnectionOnDemand", "isConnectionRequired", "isInterventionRequired",
                         "reachabilityFlags"};
  std::vector<std::string> lines = capture.lines();
  ASSERT_EQ(lines.size(), std::size(names));
  for (size_t n = 0; n < lines.size(); ++n) {
    std::regex line(std::string(names[n]) + R"( \(\d+\) \n\tReachability Flags: -R c--C---)");
    EXPECT_TRUE(std::regex_match(lines[n], line)) << lines[n];
  }
}

TEST_F(ReachabilityTest, UnreadableFlagsAreNotReachableAndNotLogged) {
  provider_->setFlags(std::nullopt);
  std::shared_ptr<Reachability> reachability = Reachability::reachabilityWithHostName("example.org");
  pf::Log::Capture capture;
  EXPECT_EQ(reachability->currentReachabilityStatus(), NetworkStatus::NotReachable);
  EXPECT_FALSE(reachability->isReachable());
  EXPECT_FALSE(reachability->isReachableViaWiFi());
  EXPECT_FALSE(reachability->isConnectionRequired());
  EXPECT_EQ(reachability->reachabilityFlags(), 0u);
  EXPECT_TRUE(capture.lines().empty());
}

TEST(ReachabilityFlagsTextTest, PutsOneLetterPerBit) {
  EXPECT_EQ(Reachability::flagsText(R | d), "Reachability Flags: -R ------d");
  EXPECT_EQ(Reachability::flagsText(0), "Reachability Flags: -- -------");
  EXPECT_EQ(Reachability::flagsText(W | R | c | t | i | C | D | l | d), "Reachability Flags: WR ctiCDld");
  EXPECT_EQ(Reachability::flagsText(W | t), "Reachability Flags: W- -t-----");
}

TEST_F(ReachabilityTest, KeysNameTheTargetAndDecideEquality) {
  provider_->setFlags(R | d);
  EXPECT_EQ(Reachability::reachabilityForInternetConnection()->key(), "InternetConnection");
  EXPECT_EQ(Reachability::reachabilityForLocalWiFi()->key(), "LocalWiFiConnection");
  EXPECT_EQ(Reachability::reachabilityWithHostName("example.org")->key(), "example.org");
  EXPECT_EQ(Reachability::reachabilityWithAddress(address("192.0.2.7"))->key(), "192.0.2.7");
  EXPECT_EQ(Reachability::makeAddressKey(address("10.20.30.40").sin_addr.s_addr), "10.20.30.40");
  EXPECT_EQ(Reachability::reachabilityWithHostName(""), nullptr);
  sockaddr_in ipv6{};
  ipv6.sin_family = AF_INET6;
  EXPECT_EQ(Reachability::reachabilityWithAddress(ipv6), nullptr);

  EXPECT_EQ(*Reachability::reachabilityForInternetConnection(),
            *Reachability::reachabilityForInternetConnection());
  EXPECT_EQ(*Reachability::reachabilityWithHostName("192.0.2.7"),
            *Reachability::reachabilityWithAddress(address("192.0.2.7")));
  EXPECT_FALSE(*Reachability::reachabilityWithHostName("a.example") ==
               *Reachability::reachabilityWithHostName("b.example"));

  std::shared_ptr<Reachability> internet = Reachability::reachabilityForInternetConnection();
  EXPECT_EQ(internet->description(), "InternetConnection\n\tReachability Flags: -R ------d");
  EXPECT_EQ(internet->valueForKey("key"), pf::Value("InternetConnection"));
  EXPECT_THROW(internet->valueForKey("reachabilityRef"), pf::ContractViolation);
}

TEST(ReachabilityWithoutReferenceTest, OperationsNameThemselves) {
  Reachability reachability(nullptr);
  struct Case {
    std::function<void()> call;
    const char* message;
  };
  const Case cases[] = {
      {[&] { reachability.currentReachabilityStatus(); },
       "currentReachabilityStatus called with NULL reachabilityRef"},
      {[&] { reachability.isReachable(); }, "isReachable called with NULL reachabilityRef"},
      {[&] { reachability.connectionRequired(); }, "isConnectionRequired called with NULL reachabilityRef"},
      {[&] { reachability.isConnectionOnDemand(); },
       "isConnectionIsOnDemand called with NULL reachabilityRef"},
      {[&] { reachability.isInterventionRequired(); },
       "isInterventionRequired called with NULL reachabilityRef"},
      {[&] { reachability.isReachableViaWWAN(); }, "isReachableViaWWAN called with NULL reachabilityRef"},
      {[&] { reachability.isReachableViaWiFi(); }, "isReachableViaWiFi called with NULL reachabilityRef"},
      {[&] { reachability.reachabilityFlags(); }, "reachabilityFlags called with NULL reachabilityRef"},
      {[&] { reachability.description(); }, "-description called with NULL reachabilityRef"},
  };
  for (const Case& k : cases) {
    try {
      k.call();
      ADD_FAILURE() << "no exception for " << k.message;
    } catch (const pf::ContractViolation& e) {
      EXPECT_STREQ(e.what(), k.message);
    }
  }
  EXPECT_FALSE(reachability.startNotifier());
  reachability.stopNotifier();
}

TEST_F(ReachabilityTest, NotifierPostsTheChangeOnItsLoop) {
  provider_->setFlags(R | d);
  std::shared_ptr<Reachability> reachability = Reachability::reachabilityForInternetConnection();
  std::vector<std::shared_ptr<Reachability>> posted;
  std::vector<std::thread::id> threads;
  pf::NotificationCenter::Observation observation = pf::NotificationCenter::defaultCenter().addObserver(
      kReachabilityChangedNotification, reachability.get(), [&](const pf::Notification& notification) {
        posted.push_back(notification.objectAs<Reachability>());
        threads.push_back(std::this_thread::get_id());
      });
  ASSERT_TRUE(reachability->startNotifier());

  provider_->setFlags(R | W | t);
  std::thread([this] { provider_->fireChange(); }).join();
  drain();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0], reachability);
  EXPECT_EQ(threads[0], std::this_thread::get_id());
  EXPECT_EQ(posted[0]->currentReachabilityStatus(), NetworkStatus::ReachableViaWWAN);

  reachability->stopNotifier();
  EXPECT_FALSE(provider_->watching());
  provider_->setFlags(0);
  provider_->fireChange();
  drain();
  EXPECT_EQ(posted.size(), 1u);
}

TEST_F(ReachabilityTest, ReleaseStopsTheNotifier) {
  std::shared_ptr<Reachability> reachability = Reachability::reachabilityWithHostName("example.org");
  ASSERT_TRUE(reachability->startNotifier());
  EXPECT_TRUE(provider_->watching());
  provider_->setFlags(R);
  provider_->fireChange();
  reachability.reset();
  EXPECT_FALSE(provider_->watching());
  drain();
  // Owned elsewhere than by a shared_ptr, an object cannot be the notification's object.
  Reachability unshared(pf::NetworkReachability::withHostName("example.org"));
  EXPECT_FALSE(unshared.startNotifier());
}

}  // namespace reachability_flags_test
