#include "core/http/RequestThread.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

struct State {
  std::mutex monitor;
  std::condition_variable started;
  std::shared_ptr<pf::RunLoop> loop;
  std::thread::id id;
  bool launched = false;
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
  // A run ends only when someone stops it; the thread goes on regardless.
  while (true) loop->run();
}

}  // namespace

std::shared_ptr<pf::RunLoop> RequestThread::runLoop() {
  State& s = state();
  std::unique_lock lock(s.monitor);
  if (!s.launched) {
    s.launched = true;
    std::thread(runRequests).detach();
  }
  s.started.wait(lock, [&] { return s.loop != nullptr; });
  return s.loop;
}

bool RequestThread::isCurrent() {
  State& s = state();
  std::lock_guard lock(s.monitor);
  return s.loop && s.id == std::this_thread::get_id();
}
