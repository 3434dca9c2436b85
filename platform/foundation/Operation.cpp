#include "platform/foundation/Operation.h"

#include <algorithm>

#include "platform/foundation/Error.h"
#include "platform/foundation/OperationQueue.h"

namespace pf {

Operation::Operation(std::function<void()> block) : block_(std::move(block)) {}

void Operation::start() {
  {
    std::lock_guard lock(mutex_);
    if (state_ != State::Waiting) throw ContractViolation("an operation can be started only once");
    if (!cancelled_) state_ = State::Executing;
  }
  if (cancelled_) return finish();
  try {
    main();
  } catch (...) {
    finish();
    throw;
  }
  if (!isAsynchronous()) finish();
}

void Operation::main() {
  if (block_) block_();
}

void Operation::cancel() {
  cancelled_ = true;
}

bool Operation::isExecuting() const {
  std::lock_guard lock(mutex_);
  return state_ == State::Executing;
}

bool Operation::isFinished() const {
  std::lock_guard lock(mutex_);
  return state_ == State::Finished;
}

bool Operation::isReady() const {
  const auto waitingOn = dependencies();
  return std::all_of(waitingOn.begin(), waitingOn.end(),
                     [](const auto& other) { return other->isFinished(); });
}

void Operation::setCompletionBlock(std::function<void()> block) {
  std::lock_guard lock(mutex_);
  completion_ = std::move(block);
}

void Operation::addDependency(const std::shared_ptr<Operation>& other) {
  if (!other || other.get() == this)
    throw ContractViolation("an operation cannot depend on itself or on nothing");
  {
    std::lock_guard lock(mutex_);
    dependencies_.push_back(other);
  }
  std::lock_guard lock(other->mutex_);
  other->dependents_.push_back(weak_from_this());
}

std::vector<std::shared_ptr<Operation>> Operation::dependencies() const {
  std::lock_guard lock(mutex_);
  return dependencies_;
}

void Operation::waitUntilFinished() {
  std::unique_lock lock(mutex_);
  done_.wait(lock, [this] { return announced_; });
}

void Operation::finish() {
  std::function<void()> completion;
  {
    std::lock_guard lock(mutex_);
    if (state_ == State::Finished) return;
    state_ = State::Finished;
    completion = std::move(completion_);
  }
  struct Announce {
    Operation& operation;
    ~Announce() { operation.announceFinished(); }
  } announce{*this};
  if (completion) completion();
}

bool Operation::enqueue(const std::shared_ptr<OperationQueue>& queue) {
  std::lock_guard lock(mutex_);
  if (enqueued_ || state_ != State::Waiting) return false;
  enqueued_ = true;
  queue_ = queue;
  return true;
}

void Operation::announceFinished() {
  std::vector<std::weak_ptr<Operation>> dependents;
  std::shared_ptr<OperationQueue> queue;
  {
    std::lock_guard lock(mutex_);
    announced_ = true;
    dependents = dependents_;
    queue = queue_.lock();
    done_.notify_all();
  }
  if (queue) queue->operationFinished(this);
  for (const auto& weak : dependents) {
    auto dependent = weak.lock();
    if (!dependent) continue;
    std::shared_ptr<OperationQueue> theirs;
    {
      std::lock_guard lock(dependent->mutex_);
      theirs = dependent->queue_.lock();
    }
    if (theirs) theirs->startReady();
  }
}

}  // namespace pf
