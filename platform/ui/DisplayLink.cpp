#include "platform/ui/DisplayLink.h"

#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Timer.h"

namespace pf {

std::shared_ptr<DisplayLink> DisplayLink::make(std::weak_ptr<void> target, Action action) {
  return std::shared_ptr<DisplayLink>(new DisplayLink(std::move(target), std::move(action)));
}

DisplayLink::DisplayLink(std::weak_ptr<void> target, Action action)
    : target_(std::move(target)), action_(std::move(action)) {}

DisplayLink::~DisplayLink() {
  if (timer_) timer_->invalidate();
}

void DisplayLink::addToRunLoop(const std::shared_ptr<RunLoop>& loop, const std::string& mode) {
  if (!valid_ || !loop) return;
  if (!timer_) {
    // The loop keeps the timer, and the timer this link, while it runs.
    timer_ = Timer::make(kFrameDuration, true, [self = shared_from_this()](Timer&) { self->fire(); });
  }
  loop->addTimer(timer_, mode);
}

void DisplayLink::invalidate() {
  valid_ = false;
  action_ = nullptr;
  if (auto timer = std::move(timer_)) timer->invalidate();
}

void DisplayLink::fire() {
  if (!valid_ || paused_) return;
  auto target = target_.lock();
  if (!target) {
    invalidate();
    return;
  }
  timestamp_ = Clock::now();
  auto action = action_;
  if (action) action(*this);
}

}  // namespace pf
