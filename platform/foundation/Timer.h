#pragma once
// A timer fires its callback on the run loop it was added to, once or repeatedly. The loop keeps a
// scheduled timer alive until it is invalidated or, for a one-shot, has fired; holding the returned
// pointer is only needed to invalidate it. A repeating timer that fell behind fires once and moves to
// its next slot instead of catching up in a burst.
// Thread rules: the callback runs on the loop's thread; invalidate and the getters work from any thread.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

namespace pf {

class RunLoop;

class Timer {
 public:
  using Callback = std::function<void(Timer&)>;

  // A timer first due `interval` seconds from now on the installed clock, not yet on any loop.
  static std::shared_ptr<Timer> make(double interval, bool repeats, Callback callback);
  // The same, added to the calling thread's run loop in the default mode.
  static std::shared_ptr<Timer> scheduled(double interval, bool repeats, Callback callback);

  // Stops the timer for good and releases its callback; safe from inside the callback.
  void invalidate();
  bool isValid() const { return valid_; }
  double interval() const { return interval_; }
  bool repeats() const { return repeats_; }
  // Clock time of the next firing.
  double fireDate() const { return fireDate_; }

 private:
  friend class RunLoop;

  Timer(double interval, bool repeats, Callback callback);
  // Binds the timer to a loop; false when it already belongs to another live loop.
  bool attach(const std::shared_ptr<RunLoop>& loop);
  std::shared_ptr<const Callback> callback() const;
  // Moves a repeating timer to its first slot after `now`, keeping its phase.
  void reschedule(double now);

  const double interval_;
  const bool repeats_;
  std::atomic<double> fireDate_;
  std::atomic<bool> valid_{true};
  mutable std::mutex mutex_;
  std::shared_ptr<const Callback> callback_;
  std::weak_ptr<RunLoop> loop_;
};

}  // namespace pf
