#include "platform/foundation/ThreadPool.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <thread>

#include "platform/foundation/Log.h"

namespace pf {

ThreadPool& ThreadPool::shared() {
  // Never destroyed: detached workers may still be waiting on it while the process exits.
  static ThreadPool* pool = new ThreadPool();
  return *pool;
}

void ThreadPool::submit(Priority priority, std::function<void()> job) {
  std::unique_lock lock(mutex_);
  jobs_[static_cast<std::size_t>(priority)].push_back(Job{std::move(job), {}});
  // Every queued job needs a thread of its own: a job may block until a later one has run.
  if (queuedJobs() > static_cast<std::size_t>(idle_) && threads_ < kMaxThreads) {
    ++threads_;
    std::thread([this] { work(); }).detach();
  }
  jobReady_.notify_one();
}

void ThreadPool::work() {
  for (;;) {
    std::optional<Job> job;
    {
      std::unique_lock lock(mutex_);
      ++idle_;
      jobReady_.wait(lock, [this] { return queuedJobs() > 0; });
      --idle_;
      job.emplace(takeJob());
    }
    try {
      job->run();
    } catch (const std::exception& e) {
      logf("uncaught exception in a dispatched block: %s", e.what());
    } catch (...) {
      Log::write("uncaught exception in a dispatched block");
    }
  }
}

std::size_t ThreadPool::queuedJobs() const {
  std::size_t count = 0;
  for (const auto& queue : jobs_) count += queue.size();
  return count;
}

ThreadPool::Job ThreadPool::takeJob() {
  auto& queue = *std::find_if(jobs_.begin(), jobs_.end(), [](const auto& q) { return !q.empty(); });
  Job job = std::move(queue.front());
  queue.pop_front();
  return job;
}

}  // namespace pf
