#include "platform/foundation/DispatchQueue.h"

#include <algorithm>
#include <array>
#include <exception>
#include <future>
#include <thread>

#include "platform/foundation/Error.h"
#include "platform/foundation/Timer.h"

namespace pf {

namespace {

// The queues whose blocks the calling thread is running, innermost last.
thread_local std::vector<const DispatchQueue*> runningQueues;

// The loop that holds the timers of delayed blocks for queues other than the main queue.
std::shared_ptr<RunLoop> delayLoop() {
  static const std::shared_ptr<RunLoop> loop = [] {
    std::promise<std::shared_ptr<RunLoop>> made;
    auto future = made.get_future();
    std::thread([made = std::move(made)]() mutable {
      auto loop = RunLoop::current();
      made.set_value(loop);
      loop->run();
    }).detach();
    return future.get();
  }();
  return loop;
}

}  // namespace

struct DispatchQueue::Gate {
  std::mutex mutex;
  std::condition_variable changed;
  bool open = false;

  // Notifies under the lock: a waiter on the stack may destroy the gate as soon as it sees it open.
  void openUp() {
    std::lock_guard lock(mutex);
    open = true;
    changed.notify_all();
  }
  void wait() {
    std::unique_lock lock(mutex);
    changed.wait(lock, [this] { return open; });
  }
};

// Marks the calling thread as running a block of the queue.
class DispatchQueue::Running {
 public:
  explicit Running(const DispatchQueue* queue) { runningQueues.push_back(queue); }
  ~Running() { runningQueues.pop_back(); }
  Running(const Running&) = delete;
  Running& operator=(const Running&) = delete;
};

DispatchQueue::DispatchQueue(Kind kind, std::string label, Priority priority)
    : kind_(kind), label_(std::move(label)), priority_(priority) {}

std::shared_ptr<DispatchQueue> DispatchQueue::main() {
  static const std::shared_ptr<DispatchQueue> queue(new DispatchQueue(Kind::Main, "main", Priority::Default));
  return queue;
}

std::shared_ptr<DispatchQueue> DispatchQueue::global(Priority priority) {
  static const std::array<std::shared_ptr<DispatchQueue>, 4> queues = {
      std::shared_ptr<DispatchQueue>(new DispatchQueue(Kind::Global, "global.high", Priority::High)),
      std::shared_ptr<DispatchQueue>(new DispatchQueue(Kind::Global, "global.default", Priority::Default)),
      std::shared_ptr<DispatchQueue>(new DispatchQueue(Kind::Global, "global.low", Priority::Low)),
      std::shared_ptr<DispatchQueue>(
          new DispatchQueue(Kind::Global, "global.background", Priority::Background)),
  };
  return queues[static_cast<std::size_t>(priority)];
}

std::shared_ptr<DispatchQueue> DispatchQueue::makeSerial(std::string label) {
  return std::shared_ptr<DispatchQueue>(new DispatchQueue(Kind::Serial, std::move(label), Priority::Default));
}

std::shared_ptr<DispatchQueue> DispatchQueue::makeConcurrent(std::string label) {
  return std::shared_ptr<DispatchQueue>(
      new DispatchQueue(Kind::Concurrent, std::move(label), Priority::Default));
}

void DispatchQueue::once(std::once_flag& flag, const Block& block) {
  std::call_once(flag, block);
}

void DispatchQueue::async(Block block) {
  switch (kind_) {
    case Kind::Main:
      RunLoop::main()->post(
          [this, block = std::move(block)] {
            Running running(this);
            block();
          },
          RunLoop::kCommonModes);
      return;
    case Kind::Global:
      ThreadPool::shared().submit(priority_, [this, block = std::move(block)] {
        Running running(this);
        block();
      });
      return;
    case Kind::Serial:
    case Kind::Concurrent:
      enqueue(Item{std::move(block), false, nullptr, RunLoop::PendingWork()});
      return;
  }
}

void DispatchQueue::sync(const Block& block) {
  switch (kind_) {
    case Kind::Main:
      syncOnMain(block);
      return;
    case Kind::Global: {
      Running running(this);
      block();
      return;
    }
    case Kind::Serial:
    case Kind::Concurrent:
      syncPrivate(block, false);
      return;
  }
}

void DispatchQueue::barrierAsync(Block block) {
  if (kind_ != Kind::Concurrent) return async(std::move(block));
  enqueue(Item{std::move(block), true, nullptr, RunLoop::PendingWork()});
}

void DispatchQueue::barrierSync(const Block& block) {
  if (kind_ != Kind::Concurrent) return sync(block);
  syncPrivate(block, true);
}

void DispatchQueue::after(double delay, Block block) {
  if (kind_ == Kind::Main) {
    RunLoop::main()->performAfter(
        delay,
        [this, block = std::move(block)] {
          Running running(this);
          block();
        },
        RunLoop::kCommonModes);
    return;
  }
  delayLoop()->performAfter(
      delay, [self = shared_from_this(), block = std::move(block)] { self->async(block); },
      RunLoop::kCommonModes);
}

bool DispatchQueue::isCurrent() const {
  if (kind_ == Kind::Main) return RunLoop::isMainThread();
  return std::find(runningQueues.begin(), runningQueues.end(), this) != runningQueues.end();
}

void DispatchQueue::assertCurrent() const {
  if (!isCurrent()) throw ContractViolation("expected to run on queue '" + label_ + "'");
}

void DispatchQueue::enqueue(Item item) {
  std::vector<Item> startable;
  {
    std::lock_guard lock(mutex_);
    pending_.push_back(std::move(item));
    startable = takeStartable();
  }
  launch(std::move(startable));
}

std::vector<DispatchQueue::Item> DispatchQueue::takeStartable() {
  std::vector<Item> startable;
  while (!pending_.empty()) {
    const bool exclusive = isExclusive(pending_.front());
    if (exclusive ? running_ > 0 : exclusiveRunning_) break;
    ++running_;
    exclusiveRunning_ = exclusive;
    startable.push_back(std::move(pending_.front()));
    pending_.pop_front();
    if (exclusive) break;
  }
  return startable;
}

void DispatchQueue::launch(std::vector<Item> items) {
  for (auto& item : items) {
    if (item.gate) {
      item.gate->openUp();
      continue;
    }
    ThreadPool::shared().submit(priority_, [self = shared_from_this(), item = std::move(item)] {
      struct Release {
        DispatchQueue& queue;
        bool exclusive;
        ~Release() { queue.finished(exclusive); }
      } release{*self, self->isExclusive(item)};
      Running running(self.get());
      item.block();
    });
  }
}

void DispatchQueue::finished(bool exclusive) {
  std::vector<Item> startable;
  {
    std::lock_guard lock(mutex_);
    --running_;
    if (exclusive) exclusiveRunning_ = false;
    startable = takeStartable();
  }
  launch(std::move(startable));
}

bool DispatchQueue::isExclusive(const Item& item) const {
  return kind_ == Kind::Serial || item.barrier;
}

void DispatchQueue::syncOnMain(const Block& block) {
  if (RunLoop::isMainThread())
    throw ContractViolation("sync into the main queue from the main thread would deadlock");
  Gate done;
  std::exception_ptr error;
  RunLoop::main()->post(
      [&] {
        {
          Running running(this);
          try {
            block();
          } catch (...) {
            error = std::current_exception();
          }
        }
        done.openUp();
      },
      RunLoop::kCommonModes);
  done.wait();
  if (error) std::rethrow_exception(error);
}

void DispatchQueue::syncPrivate(const Block& block, bool barrier) {
  checkNotReentrant();
  Item item{nullptr, barrier, std::make_shared<Gate>(), std::nullopt};
  const auto gate = item.gate;
  const bool exclusive = isExclusive(item);
  enqueue(std::move(item));
  gate->wait();
  struct Release {
    DispatchQueue& queue;
    bool exclusive;
    ~Release() { queue.finished(exclusive); }
  } release{*this, exclusive};
  Running running(this);
  block();
}

void DispatchQueue::checkNotReentrant() const {
  if (isCurrent())
    throw ContractViolation("sync into queue '" + label_ + "' from one of its own blocks would deadlock");
}

}  // namespace pf
