#include "platform/foundation/Clock.h"

#include <chrono>
#include <mutex>

namespace pf {

namespace {

class SystemClock : public Clock {
 public:
  double monotonic() const override {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
  }
  double wall() const override {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
  }
};

std::mutex installMutex;

std::shared_ptr<Clock>& installed() {
  static std::shared_ptr<Clock> clock = std::make_shared<SystemClock>();
  return clock;
}

}  // namespace

std::shared_ptr<Clock> Clock::current() {
  std::lock_guard lock(installMutex);
  return installed();
}

void Clock::install(std::shared_ptr<Clock> clock) {
  if (!clock) clock = std::make_shared<SystemClock>();
  std::lock_guard lock(installMutex);
  installed() = std::move(clock);
}

double Clock::now() {
  return current()->monotonic();
}

}  // namespace pf
