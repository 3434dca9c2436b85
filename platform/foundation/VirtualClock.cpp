#include "platform/foundation/VirtualClock.h"

#include <vector>

#include "platform/foundation/Error.h"

namespace pf {

namespace {

std::mutex listenersMutex;

std::vector<std::function<void()>>& listeners() {
  static std::vector<std::function<void()>> list;
  return list;
}

void notifyListeners() {
  std::vector<std::function<void()>> copy;
  {
    std::lock_guard lock(listenersMutex);
    copy = listeners();
  }
  for (auto& listener : copy) listener();
}

}  // namespace

VirtualClock::VirtualClock(double wallOrigin) : wallOrigin_(wallOrigin) {}

double VirtualClock::monotonic() const {
  std::lock_guard lock(mutex_);
  return now_;
}

double VirtualClock::wall() const {
  std::lock_guard lock(mutex_);
  return wallOrigin_ + now_;
}

void VirtualClock::advance(double seconds) {
  if (seconds < 0) throw ContractViolation("virtual time cannot go back");
  {
    std::lock_guard lock(mutex_);
    now_ += seconds;
  }
  notifyListeners();
}

void VirtualClock::advanceTo(double monotonic) {
  {
    std::lock_guard lock(mutex_);
    if (monotonic <= now_) return;
    now_ = monotonic;
  }
  notifyListeners();
}

void VirtualClock::addAdvanceListener(std::function<void()> listener) {
  std::lock_guard lock(listenersMutex);
  listeners().push_back(std::move(listener));
}

}  // namespace pf
