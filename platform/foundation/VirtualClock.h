#pragma once
// A clock that moves only when told to. Tests install it with Clock::install; then time moves when
// the test calls advance, or when the main run loop has nothing else to do and jumps to its next
// timer (see RunLoop). Thread-safe.

#include <functional>
#include <mutex>

#include "platform/foundation/Clock.h"

namespace pf {

class VirtualClock : public Clock {
 public:
  // 2020-01-01 00:00:00 UTC, so dates in tests are fixed.
  static constexpr double kDefaultWallOrigin = 1577836800.0;

  explicit VirtualClock(double wallOrigin = kDefaultWallOrigin);

  double monotonic() const override;
  double wall() const override;

  // Moves time forward; a negative step is a ContractViolation.
  void advance(double seconds);
  // Moves time forward to the given monotonic time; earlier times leave it unchanged.
  void advanceTo(double monotonic);

  // Called after every move of any virtual clock, on the moving thread, with no lock held. Run loops
  // use it to wake up and fire what became due.
  static void addAdvanceListener(std::function<void()> listener);

 private:
  mutable std::mutex mutex_;
  double now_ = 0;
  double wallOrigin_;
};

}  // namespace pf
