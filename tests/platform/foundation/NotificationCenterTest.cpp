#include "platform/foundation/NotificationCenter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using pf::Notification;
using pf::NotificationCenter;
using testing::ElementsAre;

TEST(NotificationCenterTest, DeliversByNameAndObject) {
  NotificationCenter center;
  auto sender = std::make_shared<int>(1);
  auto other = std::make_shared<int>(2);
  struct Case {
    const char* observedName;
    const void* observedObject;
    const char* postedName;
    std::shared_ptr<void> postedObject;
    bool delivered;
  };
  const std::vector<Case> cases = {
      {"Changed", nullptr, "Changed", nullptr, true},
      {"Changed", nullptr, "Changed", sender, true},
      {"Changed", nullptr, "Moved", sender, false},
      {"Changed", sender.get(), "Changed", sender, true},
      {"Changed", sender.get(), "Changed", other, false},
      {"Changed", sender.get(), "Changed", nullptr, false},
      {"", nullptr, "Moved", other, true},
      {"", sender.get(), "Moved", sender, true},
      {"", sender.get(), "Moved", other, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.observedName) + " -> " + c.postedName);
    std::vector<Notification> received;
    auto observation = center.addObserver(c.observedName, c.observedObject,
                                          [&](const Notification& n) { received.push_back(n); });
    center.post(c.postedName, c.postedObject, {{"count", 7}});
    ASSERT_EQ(received.size(), c.delivered ? 1u : 0u);
    if (c.delivered) {
      EXPECT_EQ(received[0].name, c.postedName);
      EXPECT_EQ(received[0].object, c.postedObject);
      EXPECT_EQ(received[0].userInfo.at("count"), pf::Value(7));
    }
  }
}

TEST(NotificationCenterTest, ObserversMayRemoveThemselvesAndOthersDuringDelivery) {
  NotificationCenter center;
  std::vector<std::string> calls;
  NotificationCenter::Observation first;
  NotificationCenter::Observation second;
  NotificationCenter::Observation third;
  first = center.addObserver("Tick", nullptr, [&](const Notification&) {
    calls.push_back("first");
    second.remove();
    first.remove();
  });
  second = center.addObserver("Tick", nullptr, [&](const Notification&) { calls.push_back("second"); });
  third = center.addObserver("Tick", nullptr, [&](const Notification&) { calls.push_back("third"); });

  center.post("Tick");
  center.post("Tick");

  EXPECT_THAT(calls, ElementsAre("first", "third", "third"));
  EXPECT_FALSE(first.isActive());
  EXPECT_TRUE(third.isActive());
}

TEST(NotificationCenterTest, TheObservationDecidesHowLongAnObserverListens) {
  auto center = std::make_unique<NotificationCenter>();
  int calls = 0;
  {
    auto dropped = center->addObserver("Tick", nullptr, [&](const Notification&) { ++calls; });
  }
  auto moved = center->addObserver("Tick", nullptr, [&](const Notification&) { ++calls; });
  NotificationCenter::Observation kept = std::move(moved);
  center->post("Tick");
  EXPECT_EQ(calls, 1);

  center.reset();
  kept.remove();
  EXPECT_FALSE(kept.isActive());
}

TEST(NotificationCenterTest, ThreadsPostAndObserveConcurrently) {
  NotificationCenter center;
  constexpr int kThreads = 4;
  constexpr int kPosts = 200;
  std::vector<int> tags(kThreads);
  std::vector<int> received(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      auto own = std::shared_ptr<void>(std::shared_ptr<void>(), &tags[t]);
      auto observation =
          center.addObserver("Work", &tags[t], [&received, t](const Notification&) { ++received[t]; });
      for (int i = 0; i < kPosts; ++i) {
        center.post("Work", own);
        auto passing = center.addObserver("Work", nullptr, [](const Notification&) {});
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_THAT(received, testing::Each(kPosts));
}

}  // namespace
