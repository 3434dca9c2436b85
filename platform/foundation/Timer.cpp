#include "platform/foundation/Timer.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"

namespace pf {

namespace {

// A repeating timer needs a positive period or it would fire without end.
constexpr double kShortestRepeat = 0.0001;

}  // namespace

Timer::Timer(double interval, bool repeats, Callback callback)
    : interval_(repeats ? std::max(interval, kShortestRepeat) : interval),
      repeats_(repeats),
      fireDate_(Clock::now() + std::max(interval, 0.0)),
      callback_(std::make_shared<const Callback>(std::move(callback))) {}

std::shared_ptr<Timer> Timer::make(double interval, bool repeats, Callback callback) {
  return std::shared_ptr<Timer>(new Timer(interval, repeats, std::move(callback)));
}

std::shared_ptr<Timer> Timer::scheduled(double interval, bool repeats, Callback callback) {
  auto timer = make(interval, repeats, std::move(callback));
  RunLoop::current()->addTimer(timer);
  return timer;
}

void Timer::invalidate() {
  std::shared_ptr<const Callback> dropped;
  std::shared_ptr<RunLoop> loop;
  {
    std::lock_guard lock(mutex_);
    valid_ = false;
    dropped = std::move(callback_);
    loop = loop_.lock();
  }
  if (loop) loop->removeTimer(this);
}

bool Timer::attach(const std::shared_ptr<RunLoop>& loop) {
  std::lock_guard lock(mutex_);
  auto current = loop_.lock();
  if (current && current != loop) return false;
  loop_ = loop;
  return true;
}

std::shared_ptr<const Timer::Callback> Timer::callback() const {
  std::lock_guard lock(mutex_);
  return callback_;
}

void Timer::reschedule(double now) {
  const double missed = std::floor((now - fireDate_) / interval_);
  fireDate_ = fireDate_ + (std::max(missed, 0.0) + 1) * interval_;
}

}  // namespace pf
