#include "platform/foundation/RunLoop.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <limits>

#include "platform/foundation/Clock.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Timer.h"
#include "platform/foundation/VirtualClock.h"

namespace pf {

namespace {

constexpr double kForever = std::numeric_limits<double>::infinity();
// Longer waits are treated as waiting for ever (and keep duration conversions in range).
constexpr double kLongestWait = 1e7;

std::atomic<int> pendingWork{0};
std::atomic<RunLoop*> mainLoopIdentity{nullptr};
std::mutex registryMutex;
thread_local std::shared_ptr<RunLoop> threadLoop;

// Never destroyed: pool threads may still finish work while the process exits.
std::vector<std::weak_ptr<RunLoop>>& registry() {
  static auto* loops = new std::vector<std::weak_ptr<RunLoop>>;
  return *loops;
}

std::shared_ptr<RunLoop>& mainLoopSlot() {
  static auto* loop = new std::shared_ptr<RunLoop>;
  return *loop;
}

std::vector<std::shared_ptr<RunLoop>> liveLoops() {
  std::lock_guard lock(registryMutex);
  std::vector<std::shared_ptr<RunLoop>> loops;
  for (auto& weak : registry()) {
    if (auto loop = weak.lock()) loops.push_back(std::move(loop));
  }
  return loops;
}

}  // namespace

struct RunLoop::Frame {
  std::string mode;
  bool stopped = false;
};

struct RunLoop::Task {
  std::function<void()> run;
  std::string mode;
};

struct RunLoop::ScheduledTimer {
  std::shared_ptr<Timer> timer;
  std::set<std::string> modes;
  // Set while its callback runs, so a nested run does not fire it again.
  bool firing = false;
};

// Keeps the frame on the loop's stack for the length of one run.
class RunLoop::FrameScope {
 public:
  FrameScope(RunLoop& loop, Frame& frame) : loop_(loop) {
    std::lock_guard lock(loop_.mutex_);
    loop_.frames_.push_back(&frame);
    loop_.markBusy();
  }
  ~FrameScope() {
    std::lock_guard lock(loop_.mutex_);
    loop_.frames_.pop_back();
    if (loop_.frames_.empty()) loop_.markIdle();
  }
  FrameScope(const FrameScope&) = delete;
  FrameScope& operator=(const FrameScope&) = delete;

 private:
  RunLoop& loop_;
};

RunLoop::PendingWork::PendingWork() {
  ++pendingWork;
}

RunLoop::PendingWork::PendingWork(const PendingWork&) {
  ++pendingWork;
}

RunLoop::PendingWork::~PendingWork() {
  releasePendingWork();
}

int RunLoop::pendingWorkCount() {
  return pendingWork;
}

RunLoop::RunLoop() : owner_(std::this_thread::get_id()) {}

std::shared_ptr<RunLoop> RunLoop::current() {
  if (!threadLoop) {
    static std::once_flag listening;
    std::call_once(listening, [] { VirtualClock::addAdvanceListener(&RunLoop::wakeAll); });
    threadLoop = std::shared_ptr<RunLoop>(new RunLoop());
    std::lock_guard lock(registryMutex);
    std::erase_if(registry(), [](const std::weak_ptr<RunLoop>& loop) { return loop.expired(); });
    registry().push_back(threadLoop);
  }
  return threadLoop;
}

std::shared_ptr<RunLoop> RunLoop::main() {
  {
    std::lock_guard lock(registryMutex);
    if (mainLoopSlot()) return mainLoopSlot();
  }
  auto loop = current();
  std::lock_guard lock(registryMutex);
  if (!mainLoopSlot()) {
    mainLoopSlot() = loop;
    mainLoopIdentity = loop.get();
  }
  return mainLoopSlot();
}

void RunLoop::setMainThread() {
  auto loop = current();
  std::lock_guard lock(registryMutex);
  mainLoopSlot() = loop;
  mainLoopIdentity = loop.get();
}

bool RunLoop::isMainThread() {
  std::lock_guard lock(registryMutex);
  return mainLoopSlot() && mainLoopSlot()->owner_ == std::this_thread::get_id();
}

void RunLoop::post(std::function<void()> task, const std::string& mode) {
  std::lock_guard lock(mutex_);
  tasks_.push_back(Task{std::move(task), mode});
  signal();
}

void RunLoop::addTimer(const std::shared_ptr<Timer>& timer, const std::string& mode) {
  if (!timer || !timer->isValid()) return;
  if (!timer->attach(shared_from_this()))
    throw ContractViolation("a timer can be scheduled on one run loop only");
  std::lock_guard lock(mutex_);
  auto entry = std::find_if(timers_.begin(), timers_.end(),
                            [&](const ScheduledTimer& scheduled) { return scheduled.timer == timer; });
  if (entry == timers_.end()) {
    timers_.push_back(ScheduledTimer{timer, {mode}});
  } else {
    entry->modes.insert(mode);
  }
  signal();
}

std::shared_ptr<Timer> RunLoop::performAfter(double delay, std::function<void()> task,
                                             const std::string& mode) {
  auto timer = Timer::make(delay, false, [task = std::move(task)](Timer&) { task(); });
  addTimer(timer, mode);
  return timer;
}

void RunLoop::addCommonMode(const std::string& mode) {
  std::lock_guard lock(mutex_);
  commonModes_.insert(mode);
  signal();
}

void RunLoop::run() {
  runFrame(kDefaultMode, kForever, false, nullptr, false);
}

RunLoop::Result RunLoop::runUntil(double deadline, const std::string& mode) {
  return runFrame(mode, deadline, true, nullptr, false);
}

bool RunLoop::runUntilTrue(const std::function<bool()>& done, double timeout, const std::string& mode) {
  runFrame(mode, Clock::now() + timeout, false, done, false);
  return done();
}

RunLoop::Result RunLoop::runOnce(double timeout, const std::string& mode) {
  return runFrame(mode, Clock::now() + timeout, false, nullptr, true);
}

void RunLoop::stop() {
  std::lock_guard lock(mutex_);
  if (!frames_.empty()) frames_.back()->stopped = true;
  signal();
}

void RunLoop::wake() {
  std::lock_guard lock(mutex_);
  signal();
}

bool RunLoop::isRunning() const {
  std::lock_guard lock(mutex_);
  return !frames_.empty();
}

std::string RunLoop::currentMode() const {
  std::lock_guard lock(mutex_);
  return frames_.empty() ? std::string() : frames_.back()->mode;
}

void RunLoop::clear() {
  std::deque<Task> tasks;
  std::vector<ScheduledTimer> timers;
  {
    std::lock_guard lock(mutex_);
    tasks.swap(tasks_);
    timers.swap(timers_);
  }
  for (auto& scheduled : timers) scheduled.timer->invalidate();
}

void RunLoop::wakeAll() {
  for (auto& loop : liveLoops()) loop->wake();
}

void RunLoop::wakeMainLoop() {
  std::shared_ptr<RunLoop> loop;
  {
    std::lock_guard lock(registryMutex);
    loop = mainLoopSlot();
  }
  if (loop) loop->wake();
}

void RunLoop::releasePendingWork() {
  if (--pendingWork == 0) wakeMainLoop();
}

RunLoop::Result RunLoop::runFrame(const std::string& mode, double deadline, bool deadlineIsTimer,
                                  const std::function<bool()>& finished, bool once) {
  checkOwnThread();
  Frame frame{mode};
  FrameScope scope(*this, frame);
  while (!(finished && finished())) {
    switch (step(frame, deadline, deadlineIsTimer)) {
      case Step::Stopped:
        return Result::Stopped;
      case Step::TimedOut:
        return Result::TimedOut;
      case Step::Handled:
        if (once) return Result::Handled;
        break;
      case Step::Woken:
        break;
    }
  }
  return Result::Handled;
}

RunLoop::Step RunLoop::step(Frame& frame, double deadline, bool deadlineIsTimer) {
  std::unique_lock lock(mutex_);
  if (frame.stopped) return Step::Stopped;
  const double now = Clock::now();
  if (auto timer = takeDueTimer(frame.mode, now)) {
    lock.unlock();
    fire(timer);
    return Step::Handled;
  }
  if (auto task = takeTask(frame.mode)) {
    lock.unlock();
    task();
    return Step::Handled;
  }
  if (now >= deadline) return Step::TimedOut;
  return waitForWork(lock, frame.mode, now, deadline, deadlineIsTimer);
}

RunLoop::Step RunLoop::waitForWork(std::unique_lock<std::mutex>& lock, const std::string& mode, double now,
                                   double deadline, bool deadlineIsTimer) {
  const std::uint64_t seen = wakeups_;
  const double timerAt = earliestTimer(mode);
  const auto virtualClock = std::dynamic_pointer_cast<VirtualClock>(Clock::current());
  markIdle();
  if (!virtualClock) {
    waitReal(lock, seen, std::min(timerAt, deadline) - now);
  } else if (!(isMain() && tryAdvance(lock, *virtualClock, timerAt, now, deadline, deadlineIsTimer))) {
    // Time will not move by itself: wait for posted work, a clock move, or give up at the guard.
    if (!waitReal(lock, seen, deadline - now)) return Step::TimedOut;
  }
  markBusy();
  return Step::Woken;
}

bool RunLoop::tryAdvance(std::unique_lock<std::mutex>& lock, VirtualClock& clock, double timerAt, double now,
                         double deadline, bool deadlineIsTimer) {
  if (pendingWork > 0) return false;
  lock.unlock();
  double target = timerAt;
  for (auto& loop : liveLoops()) {
    if (loop.get() != this) target = std::min(target, loop->earliestRunningTimer());
  }
  if (deadlineIsTimer) target = std::min(target, deadline);
  const bool jump = target > now && target <= deadline && target < kForever && pendingWork == 0;
  if (jump) clock.advanceTo(target);
  lock.lock();
  return jump;
}

bool RunLoop::waitReal(std::unique_lock<std::mutex>& lock, std::uint64_t seen, double seconds) {
  const auto woken = [&] { return wakeups_ != seen; };
  if (!(seconds < kLongestWait)) {
    wakeUp_.wait(lock, woken);
    return true;
  }
  if (seconds <= 0) return woken();
  return wakeUp_.wait_for(lock, std::chrono::duration<double>(seconds), woken);
}

void RunLoop::fire(const std::shared_ptr<Timer>& timer) {
  struct Done {
    RunLoop& loop;
    const std::shared_ptr<Timer>& timer;
    ~Done() {
      {
        std::lock_guard lock(loop.mutex_);
        for (auto& scheduled : loop.timers_) {
          if (scheduled.timer == timer) scheduled.firing = false;
        }
      }
      if (!timer->repeats()) timer->invalidate();
    }
  } done{*this, timer};
  if (auto callback = timer->callback()) (*callback)(*timer);
}

void RunLoop::removeTimer(const Timer* timer) {
  std::vector<ScheduledTimer> removed;
  std::lock_guard lock(mutex_);
  for (auto it = timers_.begin(); it != timers_.end();) {
    if (it->timer.get() == timer) {
      removed.push_back(std::move(*it));
      it = timers_.erase(it);
    } else {
      ++it;
    }
  }
}

void RunLoop::checkOwnThread() const {
  if (std::this_thread::get_id() != owner_) throw ContractViolation("a run loop runs only on its own thread");
}

bool RunLoop::isMain() const {
  return mainLoopIdentity == this;
}

double RunLoop::earliestRunningTimer() const {
  std::lock_guard lock(mutex_);
  return frames_.empty() ? kForever : earliestTimer(frames_.back()->mode);
}

std::function<void()> RunLoop::takeTask(const std::string& mode) {
  auto task = std::find_if(tasks_.begin(), tasks_.end(), [&](const Task& t) { return inMode(t.mode, mode); });
  if (task == tasks_.end()) return nullptr;
  auto run = std::move(task->run);
  tasks_.erase(task);
  return run;
}

std::shared_ptr<Timer> RunLoop::takeDueTimer(const std::string& mode, double now) {
  ScheduledTimer* due = nullptr;
  for (auto& scheduled : timers_) {
    const auto& timer = *scheduled.timer;
    if (!timer.isValid() || scheduled.firing || timer.fireDate() > now) continue;
    if (std::none_of(scheduled.modes.begin(), scheduled.modes.end(),
                     [&](const std::string& m) { return inMode(m, mode); }))
      continue;
    if (!due || timer.fireDate() < due->timer->fireDate()) due = &scheduled;
  }
  if (!due) return nullptr;
  due->firing = true;
  if (due->timer->repeats()) due->timer->reschedule(now);
  return due->timer;
}

double RunLoop::earliestTimer(const std::string& mode) const {
  double earliest = kForever;
  for (const auto& scheduled : timers_) {
    if (!scheduled.timer->isValid() || scheduled.firing) continue;
    for (const auto& m : scheduled.modes) {
      if (inMode(m, mode)) earliest = std::min(earliest, scheduled.timer->fireDate());
    }
  }
  return earliest;
}

bool RunLoop::inMode(const std::string& itemMode, const std::string& runMode) const {
  return itemMode == runMode || (itemMode == kCommonModes && commonModes_.contains(runMode));
}

void RunLoop::signal() {
  ++wakeups_;
  markBusy();
  wakeUp_.notify_all();
}

void RunLoop::markBusy() {
  if (busy_ || frames_.empty() || isMain()) return;
  busy_ = true;
  ++pendingWork;
}

void RunLoop::markIdle() {
  if (!busy_) return;
  busy_ = false;
  releasePendingWork();
}

}  // namespace pf
