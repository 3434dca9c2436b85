#pragma once
// One run loop per thread. A loop handles the tasks posted to it (from any thread) and its timers, on
// its own thread, while that thread runs it. Runs nest: a task may run the loop again (a modal wait),
// and stop() ends only the innermost run. Every run has a mode; tasks and timers belong to a mode or
// to the common modes and fire only in runs of a matching mode, so a private mode shuts out the rest.
//
// Thread rules: post, addTimer, performAfter, stop, wake and addCommonMode work from any thread; the
// run calls only on the loop's own thread.
//
// Virtual time: with a VirtualClock installed, the main loop, when it has nothing ready and no work is
// under way elsewhere (dispatched blocks, other loops busy, PendingWork tokens), moves the clock to the
// next timer of any running loop, or to the deadline of runUntil, instead of sleeping. Other loops
// never move time: they wait for posted work or for someone else to move the clock.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace pf {

class Timer;
class VirtualClock;

class RunLoop : public std::enable_shared_from_this<RunLoop> {
 public:
  static constexpr char kDefaultMode[] = "NSDefaultRunLoopMode";
  // Not a mode to run in: tasks and timers added here fire in every common mode.
  static constexpr char kCommonModes[] = "NSRunLoopCommonModes";

  enum class Result { Handled, Stopped, TimedOut };

  // Work under way elsewhere that will post back to a loop (a dispatched block, an open socket).
  // While any token lives the main loop does not move a virtual clock. Every copy counts.
  class PendingWork {
   public:
    PendingWork();
    PendingWork(const PendingWork&);
    PendingWork& operator=(const PendingWork&) = default;
    ~PendingWork();
  };

  // How many PendingWork tokens and busy loops there are now (tests check nothing is left in flight).
  static int pendingWorkCount();

  // The calling thread's loop, made on first use.
  static std::shared_ptr<RunLoop> current();
  // The main thread's loop. Without setMainThread, the first thread to ask becomes the main thread.
  static std::shared_ptr<RunLoop> main();
  // Makes the calling thread the main thread (at start-up, and in test fixtures).
  static void setMainThread();
  static bool isMainThread();

  void post(std::function<void()> task, const std::string& mode = kCommonModes);
  // A timer belongs to one loop; adding it in another mode of the same loop widens where it fires.
  void addTimer(const std::shared_ptr<Timer>& timer, const std::string& mode = kDefaultMode);
  // Runs the task once after the delay; invalidate the returned timer to cancel.
  std::shared_ptr<Timer> performAfter(double delay, std::function<void()> task,
                                      const std::string& mode = kDefaultMode);
  // Makes kCommonModes items fire in this mode too (the default mode is always common).
  void addCommonMode(const std::string& mode);

  // Runs in the default mode until stopped.
  void run();
  // Runs until stopped or the clock reaches the deadline.
  Result runUntil(double deadline, const std::string& mode = kDefaultMode);
  // Runs until done() holds (checked after every task, timer and wake-up), stopped, or the timeout
  // passed; answers done(). Under a virtual clock the timeout is never jumped to: when nothing can
  // move time the loop waits for posted work, giving up after that many real seconds.
  bool runUntilTrue(const std::function<bool()>& done, double timeout,
                    const std::string& mode = kDefaultMode);
  // Handles one task or timer, waiting for one up to the timeout (the virtual-clock rule above).
  Result runOnce(double timeout, const std::string& mode = kDefaultMode);
  // Ends the innermost run in progress; does nothing when the loop is not running.
  void stop();
  // Makes a waiting loop look again at its tasks, timers and predicate.
  void wake();

  bool isRunning() const;
  // Mode of the innermost run, empty when not running.
  std::string currentMode() const;
  // Drops every posted task and invalidates every timer (a fresh start for tests).
  void clear();

 private:
  friend class Timer;
  struct Frame;
  struct Task;
  struct ScheduledTimer;
  class FrameScope;
  enum class Step { Handled, Woken, Stopped, TimedOut };

  RunLoop();
  static void wakeAll();
  static void wakeMainLoop();
  static void releasePendingWork();

  Result runFrame(const std::string& mode, double deadline, bool deadlineIsTimer,
                  const std::function<bool()>& finished, bool once);
  Step step(Frame& frame, double deadline, bool deadlineIsTimer);
  Step waitForWork(std::unique_lock<std::mutex>& lock, const std::string& mode, double now, double deadline,
                   bool deadlineIsTimer);
  bool tryAdvance(std::unique_lock<std::mutex>& lock, VirtualClock& clock, double timerAt, double now,
                  double deadline, bool deadlineIsTimer);
  bool waitReal(std::unique_lock<std::mutex>& lock, std::uint64_t seen, double seconds);
  void fire(const std::shared_ptr<Timer>& timer);
  void removeTimer(const Timer* timer);
  void checkOwnThread() const;
  bool isMain() const;
  // Earliest timer of the innermost run's mode; infinity when not running.
  double earliestRunningTimer() const;

  // The helpers below expect mutex_ held.
  std::function<void()> takeTask(const std::string& mode);
  std::shared_ptr<Timer> takeDueTimer(const std::string& mode, double now);
  double earliestTimer(const std::string& mode) const;
  bool inMode(const std::string& itemMode, const std::string& runMode) const;
  void signal();
  void markBusy();
  void markIdle();

  const std::thread::id owner_;
  mutable std::mutex mutex_;
  std::condition_variable wakeUp_;
  std::uint64_t wakeups_ = 0;
  bool busy_ = false;
  std::deque<Task> tasks_;
  std::vector<ScheduledTimer> timers_;
  std::vector<Frame*> frames_;
  std::set<std::string> commonModes_{kDefaultMode};
};

}  // namespace pf
