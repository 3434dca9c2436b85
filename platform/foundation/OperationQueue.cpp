#include "platform/foundation/OperationQueue.h"

#include <algorithm>

#include "platform/foundation/Error.h"
#include "platform/foundation/ThreadPool.h"

namespace pf {

void OperationQueue::addOperation(const std::shared_ptr<Operation>& operation) {
  if (!operation) throw ContractViolation("cannot add a null operation to a queue");
  if (!operation->enqueue(shared_from_this()))
    throw ContractViolation("operation is already in a queue, running or finished");
  {
    std::lock_guard lock(mutex_);
    entries_.push_back(Entry{operation});
  }
  startReady();
}

void OperationQueue::addOperationWithBlock(std::function<void()> block) {
  addOperation(std::make_shared<Operation>(std::move(block)));
}

void OperationQueue::cancelAllOperations() {
  for (const auto& operation : operations()) operation->cancel();
}

void OperationQueue::setMaxConcurrentOperationCount(int count) {
  {
    std::lock_guard lock(mutex_);
    maxCount_ = count < 0 ? kNoLimit : count;
  }
  startReady();
}

int OperationQueue::maxConcurrentOperationCount() const {
  std::lock_guard lock(mutex_);
  return maxCount_;
}

void OperationQueue::setSuspended(bool suspended) {
  {
    std::lock_guard lock(mutex_);
    suspended_ = suspended;
  }
  startReady();
}

bool OperationQueue::isSuspended() const {
  std::lock_guard lock(mutex_);
  return suspended_;
}

std::size_t OperationQueue::operationCount() const {
  std::lock_guard lock(mutex_);
  return entries_.size();
}

std::vector<std::shared_ptr<Operation>> OperationQueue::operations() const {
  std::lock_guard lock(mutex_);
  std::vector<std::shared_ptr<Operation>> list;
  for (const auto& entry : entries_) list.push_back(entry.operation);
  return list;
}

void OperationQueue::waitUntilAllOperationsAreFinished() {
  std::unique_lock lock(mutex_);
  emptied_.wait(lock, [this] { return entries_.empty(); });
}

void OperationQueue::startReady() {
  std::vector<std::shared_ptr<Operation>> starting;
  {
    std::lock_guard lock(mutex_);
    for (auto& entry : entries_) {
      if (!hasRoom()) break;
      if (entry.started || !entry.operation->isReady()) continue;
      entry.started = true;
      ++running_;
      starting.push_back(entry.operation);
    }
  }
  for (auto& operation : starting) {
    ThreadPool::shared().submit(ThreadPool::Priority::Default, [operation] { operation->start(); });
  }
}

void OperationQueue::operationFinished(const Operation* operation) {
  std::shared_ptr<Operation> leaving;  // released outside the lock
  {
    std::lock_guard lock(mutex_);
    auto entry = std::find_if(entries_.begin(), entries_.end(),
                              [&](const Entry& e) { return e.operation.get() == operation; });
    if (entry == entries_.end()) return;
    if (entry->started) --running_;
    leaving = std::move(entry->operation);
    entries_.erase(entry);
    if (entries_.empty()) emptied_.notify_all();
  }
  startReady();
}

bool OperationQueue::hasRoom() const {
  return !suspended_ && (maxCount_ == kNoLimit || running_ < maxCount_);
}

}  // namespace pf
