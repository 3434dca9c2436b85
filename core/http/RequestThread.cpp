#include "core/http/RequestThread.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/foundation/Clock.h"

namespace {

class State {
 public:
  // The clock is made first so that it outlives the thread that reads it (statics die in reverse).
  State() { pf::Clock::current(); }
  // Stops the thread at exit, before the statics its loop reads are gone.
  ~State() {
    std::shared_ptr<pf::RunLoop> running;
    {
      std::lock_guard lock(monitor);
      running = loop;
    }
    if (!running) return;
    stopping = true;
    running->stop();
    // In case the loop was between runs: the next run ends at once.
    running->post([running] { running->stop(); });
    thread.join();
  }

  std::mutex monitor;
  std::condition_variable started;
  std::shared_ptr<pf::RunLoop> loop;
  std::thread::id id;
  std::thread thread;
  std::atomic<bool> stopping{false};
};

State& state() {
  static State s;
  return s;
}

void runRequests() {
  State& s = state();
  const std::shared_ptr<pf::RunLoop> loop = pf::RunLoop::current();
  {
    std::lock_guard lock(s.monitor);
    s.loop = loop;
    s.id = std::this_thread::get_id();
  }
  s.started.notify_all();
  // A run ends only when someone stops it; the thread goes on until the process ends.
  while (!s.stopping) loop->run();
}

}  // namespace

std::shared_ptr<pf::RunLoop> RequestThread::runLoop() {
  State& s = state();
  std::unique_lock lock(s.monitor);
  if (!s.thread.joinable()) s.thread = std::thread(runRequests);
  s.started.wait(lock, [&] { return s.loop != nullptr; });
  return s.loop;
}

bool RequestThread::isCurrent() {
  State& s = state();
  std::lock_guard lock(s.monitor);
  return s.loop && s.id == std::this_thread::get_id();
}
