#pragma once
// The threads behind the global dispatch queues and operation queues. A thread is added when work
// arrives and none is idle (up to a cap, since service calls block their threads on the network);
// idle threads wait for more. Higher priorities are served first. Jobs count as pending work for a
// virtual clock (see RunLoop::PendingWork) until they return.

#include <array>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

#include "platform/foundation/RunLoop.h"

namespace pf {

class ThreadPool {
 public:
  enum class Priority { High, Default, Low, Background };

  // The process-wide pool; it and its threads live until the process ends.
  static ThreadPool& shared();

  // Runs the job on a pool thread. An exception escaping the job is logged, not rethrown.
  void submit(Priority priority, std::function<void()> job);

 private:
  static constexpr int kMaxThreads = 64;

  struct Job {
    std::function<void()> run;
    RunLoop::PendingWork pending;
  };

  ThreadPool() = default;
  void work();
  std::size_t queuedJobs() const;
  Job takeJob();

  std::mutex mutex_;
  std::condition_variable jobReady_;
  std::array<std::deque<Job>, 4> jobs_;
  int threads_ = 0;
  int idle_ = 0;
};

}  // namespace pf
