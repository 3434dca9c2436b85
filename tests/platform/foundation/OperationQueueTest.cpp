#include "platform/foundation/OperationQueue.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/Error.h"

namespace {

using pf::Operation;
using pf::OperationQueue;
using testing::ElementsAre;
using namespace std::chrono_literals;

// Waits (in real time, bounded) for something another thread will make true.
bool eventually(const std::function<bool()>& condition) {
  const auto giveUp = std::chrono::steady_clock::now() + 10s;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > giveUp) return false;
    std::this_thread::yield();
  }
  return true;
}

// Blocks in main() until the gate opens, noting whether it was cancelled meanwhile.
class GatedOperation : public Operation {
 public:
  explicit GatedOperation(std::shared_future<void> gate) : gate_(std::move(gate)) {}
  void main() override {
    started = true;
    gate_.wait();
    sawCancel = isCancelled();
  }
  std::atomic<bool> started = false;
  std::atomic<bool> sawCancel = false;

 private:
  std::shared_future<void> gate_;
};

// Stays executing after main() until someone calls finish().
class TransferOperation : public Operation {
 public:
  bool isAsynchronous() const override { return true; }
  void main() override { mainReturned = true; }
  using Operation::finish;
  std::atomic<bool> mainReturned = false;
};

TEST(OperationQueueTest, NeverRunsMoreThanItsWidth) {
  auto queue = std::make_shared<OperationQueue>();
  queue->setMaxConcurrentOperationCount(2);
  std::promise<void> open;
  std::shared_future<void> gate = open.get_future().share();
  std::atomic<int> running = 0;
  std::atomic<int> started = 0;
  std::atomic<int> peak = 0;
  for (int i = 0; i < 8; ++i) {
    queue->addOperationWithBlock([&, gate] {
      const int now = ++running;
      ++started;
      int seen = peak;
      while (now > seen && !peak.compare_exchange_weak(seen, now)) {
      }
      gate.wait();
      --running;
    });
  }

  ASSERT_TRUE(eventually([&] { return started == 2; }));
  EXPECT_EQ(queue->operationCount(), 8u);
  open.set_value();
  queue->waitUntilAllOperationsAreFinished();

  EXPECT_EQ(started, 8);
  EXPECT_EQ(peak, 2);
  EXPECT_EQ(queue->operationCount(), 0u);
}

TEST(OperationQueueTest, SuspendedQueueStartsNothingNew) {
  auto queue = std::make_shared<OperationQueue>();
  queue->setMaxConcurrentOperationCount(1);
  std::promise<void> open;
  auto running = std::make_shared<GatedOperation>(open.get_future().share());
  queue->addOperation(running);
  ASSERT_TRUE(eventually([&] { return running->started.load(); }));

  queue->setSuspended(true);
  std::atomic<int> ran = 0;
  auto waiting = std::make_shared<Operation>([&] { ++ran; });
  queue->addOperation(waiting);
  open.set_value();
  running->waitUntilFinished();

  EXPECT_TRUE(queue->isSuspended());
  EXPECT_FALSE(waiting->isExecuting() || waiting->isFinished());
  EXPECT_EQ(ran, 0);

  queue->setSuspended(false);
  queue->waitUntilAllOperationsAreFinished();
  EXPECT_EQ(ran, 1);
}

TEST(OperationQueueTest, CancelAllStopsWaitingOperationsAndTellsTheRunningOne) {
  auto queue = std::make_shared<OperationQueue>();
  queue->setMaxConcurrentOperationCount(1);
  std::promise<void> open;
  auto first = std::make_shared<GatedOperation>(open.get_future().share());
  std::atomic<int> ran = 0;
  std::atomic<int> completions = 0;
  std::vector<std::shared_ptr<Operation>> all = {first};
  for (int i = 0; i < 4; ++i) all.push_back(std::make_shared<Operation>([&] { ++ran; }));
  for (auto& operation : all) {
    operation->setCompletionBlock([&] { ++completions; });
    queue->addOperation(operation);
  }
  ASSERT_TRUE(eventually([&] { return first->started.load(); }));

  queue->cancelAllOperations();
  open.set_value();
  queue->waitUntilAllOperationsAreFinished();

  EXPECT_TRUE(first->sawCancel);
  EXPECT_EQ(ran, 0);
  EXPECT_EQ(completions, 5);
  for (auto& operation : all) EXPECT_TRUE(operation->isFinished() && operation->isCancelled());
}

TEST(OperationQueueTest, AsynchronousOperationHoldsItsPlaceUntilItFinishes) {
  auto queue = std::make_shared<OperationQueue>();
  queue->setMaxConcurrentOperationCount(1);
  auto transfer = std::make_shared<TransferOperation>();
  std::atomic<bool> nextRan = false;
  auto next = std::make_shared<Operation>([&] { nextRan = true; });
  queue->addOperation(transfer);
  queue->addOperation(next);
  ASSERT_TRUE(eventually([&] { return transfer->mainReturned.load(); }));

  EXPECT_TRUE(transfer->isExecuting());
  EXPECT_FALSE(next->isExecuting() || next->isFinished());

  std::thread([&] { transfer->finish(); }).join();
  queue->waitUntilAllOperationsAreFinished();
  EXPECT_TRUE(transfer->isFinished());
  EXPECT_TRUE(nextRan);
}

TEST(OperationQueueTest, DependenciesDecideTheOrder) {
  auto queue = std::make_shared<OperationQueue>();
  queue->setSuspended(true);
  std::mutex mutex;
  std::vector<std::string> order;
  auto record = [&](const char* name) {
    return std::make_shared<Operation>([&, name] {
      std::lock_guard lock(mutex);
      order.push_back(name);
    });
  };
  auto older = record("older");
  auto newer = record("newer");
  older->addDependency(newer);
  queue->addOperation(older);
  queue->addOperation(newer);

  queue->setSuspended(false);
  queue->waitUntilAllOperationsAreFinished();

  EXPECT_THAT(order, ElementsAre("newer", "older"));
}

TEST(OperationQueueTest, AnOperationJoinsOneQueueAndStartsOnce) {
  auto queue = std::make_shared<OperationQueue>();
  auto other = std::make_shared<OperationQueue>();
  auto operation = std::make_shared<Operation>([] {});
  queue->addOperation(operation);
  EXPECT_THROW(queue->addOperation(operation), pf::ContractViolation);
  EXPECT_THROW(other->addOperation(operation), pf::ContractViolation);
  queue->waitUntilAllOperationsAreFinished();
  EXPECT_THROW(operation->start(), pf::ContractViolation);
  EXPECT_THROW(other->addOperation(nullptr), pf::ContractViolation);
}

}  // namespace
