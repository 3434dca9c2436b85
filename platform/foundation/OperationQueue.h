#pragma once
// Runs operations on the shared thread pool, in the order they were added among those that are
// ready, at most maxConcurrentOperationCount at once (-1: no limit). A suspended queue starts nothing
// new; operations already running go on. An operation leaves the queue when it finishes.
// Thread rules: every member works from any thread; waitUntilAllOperationsAreFinished must not be
// called from one of the queue's own operations. Queues are owned by shared_ptr (std::make_shared).

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/foundation/Operation.h"

namespace pf {

class OperationQueue : public std::enable_shared_from_this<OperationQueue> {
 public:
  static constexpr int kNoLimit = -1;

  OperationQueue() = default;
  virtual ~OperationQueue() = default;
  OperationQueue(const OperationQueue&) = delete;
  OperationQueue& operator=(const OperationQueue&) = delete;

  // An operation joins one queue once, before it starts; anything else is a ContractViolation.
  virtual void addOperation(const std::shared_ptr<Operation>& operation);
  void addOperationWithBlock(std::function<void()> block);
  // Cancels every operation in the queue; those not started yet finish without running.
  virtual void cancelAllOperations();

  void setMaxConcurrentOperationCount(int count);
  int maxConcurrentOperationCount() const;
  virtual void setSuspended(bool suspended);
  bool isSuspended() const;

  std::size_t operationCount() const;
  std::vector<std::shared_ptr<Operation>> operations() const;
  void waitUntilAllOperationsAreFinished();

 private:
  friend class Operation;
  struct Entry {
    std::shared_ptr<Operation> operation;
    bool started = false;
  };

  // Starts as many ready operations as the width allows.
  void startReady();
  void operationFinished(const Operation* operation);
  bool hasRoom() const;

  mutable std::mutex mutex_;
  std::condition_variable emptied_;
  std::vector<Entry> entries_;
  int running_ = 0;
  int maxCount_ = kNoLimit;
  bool suspended_ = false;
};

}  // namespace pf
