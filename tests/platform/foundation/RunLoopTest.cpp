#include "platform/foundation/RunLoop.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/foundation/Error.h"
#include "platform/foundation/MainLoopTest.h"
#include "platform/foundation/Timer.h"
#include "platform/foundation/Value.h"

namespace {

using pf::Clock;
using pf::RunLoop;
using pf::Timer;
using testing::ElementsAre;
using testing::Pair;
using namespace std::chrono_literals;

using RunLoopTest = MainLoopTest;

TEST_F(RunLoopTest, TimersFireOnVirtualTimeWithoutWaiting) {
  std::vector<double> oneShot;
  std::vector<double> ticks;
  loop->addTimer(Timer::make(30, false, [&](Timer&) { oneShot.push_back(Clock::now()); }));
  loop->addTimer(Timer::make(1, true, [&](Timer&) { ticks.push_back(Clock::now()); }));
  const auto started = std::chrono::steady_clock::now();

  EXPECT_EQ(loop->runUntil(30.5), RunLoop::Result::TimedOut);

  EXPECT_THAT(oneShot, ElementsAre(30.0));
  ASSERT_EQ(ticks.size(), 30u);
  EXPECT_EQ(ticks.front(), 1.0);
  EXPECT_EQ(ticks.back(), 30.0);
  EXPECT_EQ(Clock::now(), 30.5);
  EXPECT_EQ(pf::Date::now().seconds, pf::VirtualClock::kDefaultWallOrigin + 30.5);
  EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
}

TEST_F(RunLoopTest, RepeatingTimerThatFellBehindFiresOnceAndKeepsItsPhase) {
  int ticks = 0;
  auto timer = Timer::make(1, true, [&](Timer&) { ++ticks; });
  loop->addTimer(timer);
  clock->advance(10.5);

  EXPECT_EQ(loop->runOnce(0), RunLoop::Result::Handled);
  EXPECT_EQ(loop->runOnce(0), RunLoop::Result::TimedOut);

  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(timer->fireDate(), 11.0);
}

TEST_F(RunLoopTest, InvalidatedTimersAndCancelledPerformsNeverRun) {
  int ticks = 0;
  std::vector<std::string> performed;
  loop->addTimer(Timer::make(1, true, [&](Timer& timer) {
    if (++ticks == 3) timer.invalidate();
  }));
  auto cancelledElsewhere = loop->performAfter(2, [&] { performed.push_back("cancelled elsewhere"); });
  std::thread([cancelledElsewhere] { cancelledElsewhere->invalidate(); }).join();
  auto cancelledEarlier = loop->performAfter(5, [&] { performed.push_back("cancelled earlier"); });
  loop->performAfter(4, [&] { cancelledEarlier->invalidate(); });
  loop->performAfter(6, [&] { performed.push_back("kept"); });

  loop->runUntil(10);

  EXPECT_EQ(ticks, 3);
  EXPECT_THAT(performed, ElementsAre("kept"));
  EXPECT_FALSE(cancelledEarlier->isValid());
}

TEST_F(RunLoopTest, StopEndsOnlyTheInnermostRun) {
  std::vector<std::pair<std::string, double>> events;
  int ticks = 0;
  loop->addTimer(Timer::make(1, true, [&](Timer&) { ++ticks; }));
  loop->performAfter(1.5, [&] {
    events.emplace_back("modal shown", Clock::now());
    loop->performAfter(2, [&] {
      events.emplace_back("button tapped after ticks", ticks);
      loop->stop();
    });
    loop->run();
    events.emplace_back("modal returned", Clock::now());
  });
  loop->performAfter(6.5, [&] {
    events.emplace_back("outer stopped", Clock::now());
    loop->stop();
  });

  loop->run();

  EXPECT_THAT(events, ElementsAre(Pair("modal shown", 1.5), Pair("button tapped after ticks", 3),
                                  Pair("modal returned", 3.5), Pair("outer stopped", 6.5)));
  EXPECT_EQ(ticks, 6);
  EXPECT_FALSE(loop->isRunning());
}

TEST_F(RunLoopTest, TasksAndTimersFireOnlyInRunsOfTheirMode) {
  const std::string privateMode = "PrivateMode";
  const std::string trackingMode = "TrackingMode";
  loop->addCommonMode(trackingMode);
  std::vector<std::string> ran;
  loop->post([&] { ran.push_back("common task"); });
  loop->post([&] { ran.push_back("private task"); }, privateMode);
  loop->post([&] { ran.push_back("default task"); }, RunLoop::kDefaultMode);
  loop->addTimer(Timer::make(1, false, [&](Timer&) { ran.push_back("default timer"); }));

  struct Case {
    std::string mode;
    double until;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      {trackingMode, 2, {"common task"}},
      {privateMode, 3, {"private task"}},
      {RunLoop::kDefaultMode, 4, {"default timer", "default task"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    ran.clear();
    loop->runUntil(c.until, c.mode);
    EXPECT_THAT(ran, testing::UnorderedElementsAreArray(c.expected));
  }
}

TEST_F(RunLoopTest, WorkPostedFromAnotherThreadWakesTheWaitingLoop) {
  std::atomic<bool> done = false;
  std::thread::id ranOn;
  std::thread poster([&] {
    std::this_thread::sleep_for(10ms);
    loop->post([&] {
      ranOn = std::this_thread::get_id();
      done = true;
    });
  });

  EXPECT_TRUE(loop->runUntilTrue([&] { return done.load(); }, 30));
  poster.join();

  EXPECT_EQ(ranOn, std::this_thread::get_id());
  EXPECT_EQ(Clock::now(), 0.0);
}

TEST_F(RunLoopTest, VirtualTimeHoldsStillWhileWorkIsUnderWay) {
  double postedAt = -1;
  double firedAt = -1;
  loop->performAfter(10, [&] { firedAt = Clock::now(); });
  std::optional<RunLoop::PendingWork> work(std::in_place);
  std::thread worker([&] {
    std::this_thread::sleep_for(10ms);
    loop->post([&] { postedAt = Clock::now(); });
    work.reset();
  });

  EXPECT_TRUE(loop->runUntilTrue([&] { return firedAt >= 0; }, 60));
  worker.join();

  EXPECT_EQ(postedAt, 0.0);
  EXPECT_EQ(firedAt, 10.0);
}

TEST_F(RunLoopTest, OtherLoopsFireWhenTheClockIsMovedForThem) {
  std::atomic<double> firedAt = -1;
  std::atomic<bool> waiting = false;
  std::thread background([&] {
    auto own = RunLoop::current();
    own->performAfter(5, [&] {
      firedAt = Clock::now();
      own->stop();
    });
    own->post([&] { waiting = true; });
    own->run();
  });
  while (!waiting) std::this_thread::yield();
  std::this_thread::sleep_for(10ms);  // time for a wrong jump to show

  EXPECT_EQ(Clock::now(), 0.0);
  clock->advance(5);
  background.join();
  EXPECT_EQ(firedAt, 5.0);
}

TEST_F(RunLoopTest, ALoopRunsOnlyOnItsOwnThreadAndTimersOnOneLoop) {
  auto timer = Timer::make(1, false, [](Timer&) {});
  loop->addTimer(timer);
  std::thread([&] {
    EXPECT_THROW(loop->run(), pf::ContractViolation);
    EXPECT_THROW(RunLoop::current()->addTimer(timer), pf::ContractViolation);
    EXPECT_FALSE(RunLoop::isMainThread());
  }).join();
  EXPECT_TRUE(RunLoop::isMainThread());
}

}  // namespace
