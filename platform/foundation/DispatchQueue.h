#pragma once
// Queues of blocks: the main queue (blocks run by the main run loop, in its common modes), the global
// concurrent queues (the shared thread pool, by priority), and private serial or concurrent queues
// that run on the pool one block at a time, or side by side with barriers running alone.
//
// sync runs the block on the calling thread (its thread-local state stays valid) once every block
// queued before it has finished, and keeps later blocks waiting until it returns. A sync that could
// only deadlock (into a private queue the thread is already running a block of, or into the main
// queue from the main thread) throws ContractViolation instead.
// Thread rules: every member works from any thread. Queues are owned by shared_ptr; a queue stays
// alive while it has blocks to run.

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/RunLoop.h"
#include "platform/foundation/ThreadPool.h"

namespace pf {

class DispatchQueue : public std::enable_shared_from_this<DispatchQueue> {
 public:
  using Block = std::function<void()>;
  using Priority = ThreadPool::Priority;

  static std::shared_ptr<DispatchQueue> main();
  static std::shared_ptr<DispatchQueue> global(Priority priority = Priority::Default);
  static std::shared_ptr<DispatchQueue> makeSerial(std::string label);
  static std::shared_ptr<DispatchQueue> makeConcurrent(std::string label);
  // Runs the block exactly once per flag, whichever thread gets there first.
  static void once(std::once_flag& flag, const Block& block);

  void async(Block block);
  void sync(const Block& block);
  // On a private concurrent queue the block runs alone; elsewhere these are async and sync.
  void barrierAsync(Block block);
  void barrierSync(const Block& block);
  // Queues the block after the delay on the installed clock.
  void after(double delay, Block block);

  // True while the calling thread runs a block of this queue (the main queue: on the main thread).
  bool isCurrent() const;
  // Throws ContractViolation naming the queue unless isCurrent().
  void assertCurrent() const;
  const std::string& label() const { return label_; }

 private:
  enum class Kind { Main, Global, Serial, Concurrent };
  struct Gate;
  struct Item {
    Block block;
    bool barrier = false;
    // Set for a sync call: opened when the caller's turn comes.
    std::shared_ptr<Gate> gate;
    std::optional<RunLoop::PendingWork> pending;
  };
  class Running;

  DispatchQueue(Kind kind, std::string label, Priority priority);
  void enqueue(Item item);
  std::vector<Item> takeStartable();
  void launch(std::vector<Item> items);
  void finished(bool exclusive);
  bool isExclusive(const Item& item) const;
  void syncOnMain(const Block& block);
  void syncPrivate(const Block& block, bool barrier);
  void checkNotReentrant() const;

  const Kind kind_;
  const std::string label_;
  const Priority priority_;
  std::mutex mutex_;
  std::deque<Item> pending_;
  int running_ = 0;
  bool exclusiveRunning_ = false;
};

}  // namespace pf
