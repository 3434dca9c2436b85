#pragma once
// The process-wide source of time. Everything that waits or schedules (run loops, timers, delayed
// dispatch, Date::now) reads the installed clock, so tests can install a VirtualClock and let
// minutes pass in no real time.

#include <memory>

namespace pf {

class Clock {
 public:
  virtual ~Clock() = default;

  // Seconds from an arbitrary origin; never goes back. Timers and deadlines use this.
  virtual double monotonic() const = 0;
  // Seconds since 1970-01-01 UTC.
  virtual double wall() const = 0;

  // The installed clock (the system clock unless a test installed another).
  static std::shared_ptr<Clock> current();
  // Installs a clock for the whole process; nullptr restores the system clock.
  static void install(std::shared_ptr<Clock> clock);
  // Shorthand for current()->monotonic().
  static double now();
};

}  // namespace pf
