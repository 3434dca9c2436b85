#include "platform/foundation/DispatchQueue.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/Error.h"
#include "platform/foundation/MainLoopTest.h"
#include "platform/foundation/ThreadDictionary.h"

namespace {

using pf::Clock;
using pf::DispatchQueue;
using testing::ElementsAre;
using testing::HasSubstr;
using namespace std::chrono_literals;

using DispatchQueueTest = MainLoopTest;

TEST_F(DispatchQueueTest, MainQueueRunsBlocksFromOtherThreadsOnTheMainThread) {
  const auto mainThread = std::this_thread::get_id();
  std::thread::id asyncRanOn;
  std::thread::id syncRanOn;
  bool wasCurrent = false;
  std::atomic<int> done = 0;
  DispatchQueue::global()->async([&] {
    DispatchQueue::main()->async([&] {
      asyncRanOn = std::this_thread::get_id();
      wasCurrent = DispatchQueue::main()->isCurrent();
      ++done;
    });
  });
  DispatchQueue::global(DispatchQueue::Priority::Low)->async([&] {
    DispatchQueue::main()->sync([&] { syncRanOn = std::this_thread::get_id(); });
    ++done;
  });

  ASSERT_TRUE(loop->runUntilTrue([&] { return done == 2; }, 30));

  EXPECT_EQ(asyncRanOn, mainThread);
  EXPECT_EQ(syncRanOn, mainThread);
  EXPECT_TRUE(wasCurrent);
}

TEST_F(DispatchQueueTest, GlobalQueuesOfEveryPriorityRunBlocksOffTheMainThread) {
  using Priority = DispatchQueue::Priority;
  std::atomic<int> offMain = 0;
  for (auto priority : {Priority::High, Priority::Default, Priority::Low, Priority::Background}) {
    auto queue = DispatchQueue::global(priority);
    queue->async([&offMain, queue] {
      if (!DispatchQueue::main()->isCurrent() && queue->isCurrent()) ++offMain;
    });
  }
  EXPECT_TRUE(loop->runUntilTrue([&] { return offMain == 4; }, 30));
}

TEST_F(DispatchQueueTest, SerialQueueRunsBlocksOneAtATimeInOrder) {
  auto queue = DispatchQueue::makeSerial("test.serial");
  std::vector<int> order;
  std::vector<int> expected;
  std::atomic<int> inside = 0;
  std::atomic<bool> overlapped = false;
  for (int i = 0; i < 500; ++i) {
    expected.push_back(i);
    queue->async([&, i] {
      if (inside++ > 0) overlapped = true;
      order.push_back(i);
      --inside;
    });
  }
  queue->sync([] {});

  EXPECT_FALSE(overlapped);
  EXPECT_EQ(order, expected);
}

TEST_F(DispatchQueueTest, SyncRunsOnTheCallersThreadAfterEarlierBlocks) {
  auto queue = DispatchQueue::makeSerial("test.sync");
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::vector<std::string> order;
  queue->async([&, released] {
    released.wait();
    order.push_back("first");
  });
  queue->async([&] { order.push_back("second"); });
  pf::threadDictionary()["caller"] = "test thread";
  std::thread releaser([&] {
    std::this_thread::sleep_for(10ms);
    release.set_value();
  });

  std::thread::id ranOn;
  pf::Value seen;
  queue->sync([&] {
    order.push_back("sync");
    ranOn = std::this_thread::get_id();
    seen = pf::threadDictionary()["caller"];
  });
  queue->async([&] { order.push_back("after"); });
  queue->sync([] {});
  releaser.join();
  pf::threadDictionary().erase("caller");

  EXPECT_THAT(order, ElementsAre("first", "second", "sync", "after"));
  EXPECT_EQ(ranOn, std::this_thread::get_id());
  EXPECT_EQ(seen, pf::Value("test thread"));
}

TEST_F(DispatchQueueTest, SyncThatWouldDeadlockThrowsInstead) {
  auto a = DispatchQueue::makeSerial("test.a");
  auto b = DispatchQueue::makeSerial("test.b");
  auto shared = DispatchQueue::makeConcurrent("test.shared");
  struct Case {
    const char* name;
    std::function<void()> attempt;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"into its own serial queue", [&] { a->sync([&] { a->sync([] {}); }); }, "test.a"},
      {"back through another queue", [&] { a->sync([&] { b->sync([&] { a->sync([] {}); }); }); }, "test.a"},
      {"from a barrier into its queue", [&] { shared->barrierSync([&] { shared->sync([] {}); }); },
       "test.shared"},
      {"into the main queue from the main thread", [] { DispatchQueue::main()->sync([] {}); }, "main queue"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      c.attempt();
      ADD_FAILURE() << "no exception";
    } catch (const pf::ContractViolation& e) {
      EXPECT_THAT(e.what(), HasSubstr(c.message));
    }
  }

  std::atomic<bool> caughtOnPool = false;
  a->async([&] {
    try {
      a->sync([] {});
    } catch (const pf::ContractViolation&) {
      caughtOnPool = true;
    }
  });
  bool serialStillWorks = false;
  bool concurrentStillWorks = false;
  a->sync([&] { serialStillWorks = true; });
  shared->barrierSync([&] { concurrentStillWorks = true; });
  EXPECT_TRUE(caughtOnPool);
  EXPECT_TRUE(serialStillWorks);
  EXPECT_TRUE(concurrentStillWorks);
}

TEST_F(DispatchQueueTest, BarrierBlocksRunAloneOnAConcurrentQueue) {
  auto queue = DispatchQueue::makeConcurrent("test.barrier");
  std::atomic<int> readers = 0;
  std::atomic<bool> inBarrier = false;
  std::atomic<bool> overlapped = false;
  std::vector<int> writes;
  for (int i = 0; i < 60; ++i) {
    if (i % 10 == 0) {
      queue->barrierAsync([&, i] {
        inBarrier = true;
        if (readers > 0) overlapped = true;
        writes.push_back(i);
        inBarrier = false;
      });
    } else {
      queue->async([&] {
        ++readers;
        if (inBarrier) overlapped = true;
        std::this_thread::yield();
        --readers;
      });
    }
  }
  queue->barrierSync([] {});

  EXPECT_FALSE(overlapped);
  EXPECT_THAT(writes, ElementsAre(0, 10, 20, 30, 40, 50));
}

TEST_F(DispatchQueueTest, DelayedBlocksRunOnVirtualTime) {
  double mainAt = -1;
  std::atomic<double> serialAt = -1;
  std::atomic<bool> ranOnQueue = false;
  std::atomic<bool> done = false;
  auto queue = DispatchQueue::makeSerial("test.after");
  DispatchQueue::main()->after(2, [&] { mainAt = Clock::now(); });
  queue->after(5, [&] {
    serialAt = Clock::now();
    ranOnQueue = queue->isCurrent();
    done = true;
  });

  ASSERT_TRUE(loop->runUntilTrue([&] { return done.load(); }, 60));

  EXPECT_EQ(mainAt, 2.0);
  EXPECT_EQ(serialAt, 5.0);
  EXPECT_TRUE(ranOnQueue);
}

TEST_F(DispatchQueueTest, QueuesKnowWhenTheyAreCurrent) {
  auto queue = DispatchQueue::makeSerial("test.current");
  EXPECT_FALSE(queue->isCurrent());
  EXPECT_TRUE(DispatchQueue::main()->isCurrent());
  try {
    queue->assertCurrent();
    ADD_FAILURE() << "no exception";
  } catch (const pf::ContractViolation& e) {
    EXPECT_THAT(e.what(), HasSubstr("test.current"));
  }
  queue->sync([&] {
    EXPECT_NO_THROW(queue->assertCurrent());
    EXPECT_FALSE(DispatchQueue::global()->isCurrent());
  });
  std::atomic<bool> mainCurrentOnPool = true;
  queue->async([&] { mainCurrentOnPool = DispatchQueue::main()->isCurrent(); });
  queue->sync([] {});
  EXPECT_FALSE(mainCurrentOnPool);
}

}  // namespace
