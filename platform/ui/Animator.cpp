#include "platform/ui/Animator.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Timer.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Layer.h"

namespace pf {

Animator& Animator::shared() {
  static Animator animator;
  return animator;
}

void Animator::started(const std::shared_ptr<Layer>& layer, const std::shared_ptr<Animation>& animation) {
  running_.push_back({layer, animation});
  if (auto delegate = animation->delegate.lock()) {
    std::weak_ptr<Animation> weak = animation;
    RunLoop::main()->post([delegate, weak] {
      if (auto started = weak.lock()) delegate->animationDidStart(*started);
    });
  }
  schedule();
}

void Animator::stopped(const std::shared_ptr<Animation>& animation, bool finished) {
  if (!animation || animation->stopped_) return;
  animation->stopped_ = true;
  std::erase_if(running_, [&](const Running& r) { return r.animation == animation; });
  RunLoop::main()->post([animation, finished] { report(animation, finished); });
}

void Animator::report(const std::shared_ptr<Animation>& animation, bool finished) {
  auto handlers = std::move(animation->stopHandlers_);
  animation->stopHandlers_.clear();
  for (auto& handler : handlers) handler(finished);
  if (auto delegate = animation->delegate.lock()) delegate->animationDidStop(*animation, finished);
}

bool Animator::isAnimating() const {
  return !running_.empty();
}

void Animator::tick() {
  if (timer_) timer_->invalidate();
  timer_.reset();
  // A timer may fire a hair before the end it was set for when the subtraction rounded down.
  const double now = Clock::now() + 1e-9;
  std::vector<Running> ended;
  for (auto it = running_.begin(); it != running_.end();) {
    if (it->animation->endTime() <= now) {
      ended.push_back(std::move(*it));
      it = running_.erase(it);
    } else {
      ++it;
    }
  }
  for (auto& done : ended) {
    if (done.animation->stopped_) continue;
    done.animation->stopped_ = true;
    auto layer = done.layer.lock();
    if (layer && done.animation->removedOnCompletion) layer->removeFinished(done.animation.get());
  }
  for (auto& done : ended) report(done.animation, true);
  schedule();
}

void Animator::schedule() {
  double next = std::numeric_limits<double>::infinity();
  // Ends further away than this count as never (a repeat count of the largest float), so a virtual
  // clock is not sent there.
  const double horizon = Clock::now() + 1e7;
  for (const auto& r : running_) {
    const double end = r.animation->endTime();
    if (end < horizon) next = std::min(next, end);
  }
  if (timer_ && timer_->isValid() && timerAt_ == next) return;
  if (timer_) timer_->invalidate();
  timer_.reset();
  if (std::isinf(next)) return;
  timerAt_ = next;
  timer_ = Timer::make(std::max(0.0, next - Clock::now()), false, [this](Timer&) { tick(); });
  RunLoop::main()->addTimer(timer_, RunLoop::kCommonModes);
}

void Animator::reset() {
  running_.clear();
  if (timer_) timer_->invalidate();
  timer_.reset();
}

}  // namespace pf
