#pragma once
// One unit of work, run by an OperationQueue or started by hand. A subclass overrides main(), or the
// work is given as a block. An asynchronous operation (isAsynchronous() answers true) keeps executing
// after main() returns, until it calls finish() from any thread. A cancelled operation that has not
// started finishes without running main(); a running one must look at isCancelled() itself.
// The completion block runs once on the thread that finishes the operation, after isFinished() turns
// true and before waiters and the queue hear of it.
// Thread rules: everything but start() may be called from any thread. Operations are owned by shared_ptr.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace pf {

class OperationQueue;

class Operation : public std::enable_shared_from_this<Operation> {
 public:
  Operation() = default;
  // An operation whose main() runs the block.
  explicit Operation(std::function<void()> block);
  virtual ~Operation() = default;
  Operation(const Operation&) = delete;
  Operation& operator=(const Operation&) = delete;

  // Runs the operation on the calling thread; a second start is a ContractViolation.
  void start();
  virtual void main();
  virtual bool isAsynchronous() const { return false; }
  virtual void cancel();

  bool isCancelled() const { return cancelled_; }
  bool isExecuting() const;
  bool isFinished() const;
  // All dependencies have finished.
  bool isReady() const;

  void setCompletionBlock(std::function<void()> block);
  // This operation starts only after the other has finished.
  void addDependency(const std::shared_ptr<Operation>& other);
  std::vector<std::shared_ptr<Operation>> dependencies() const;
  // Blocks until finished and the completion block has run.
  void waitUntilFinished();

 protected:
  // Ends the operation; later calls do nothing.
  void finish();

 private:
  friend class OperationQueue;
  enum class State { Waiting, Executing, Finished };

  // Binds the operation to its queue; false when it is already queued or has started.
  bool enqueue(const std::shared_ptr<OperationQueue>& queue);
  void announceFinished();

  mutable std::mutex mutex_;
  std::condition_variable done_;
  State state_ = State::Waiting;
  bool announced_ = false;
  std::atomic<bool> cancelled_{false};
  std::function<void()> block_;
  std::function<void()> completion_;
  std::vector<std::shared_ptr<Operation>> dependencies_;
  std::vector<std::weak_ptr<Operation>> dependents_;
  std::weak_ptr<OperationQueue> queue_;
  bool enqueued_ = false;
};

}  // namespace pf
