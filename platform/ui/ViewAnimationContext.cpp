#include "platform/ui/ViewAnimationContext.h"

#include <algorithm>
#include <set>
#include <vector>

#include "platform/foundation/Clock.h"
#include "platform/ui/Animator.h"
#include "platform/ui/BasicAnimation.h"
#include "platform/ui/CompletionGroup.h"
#include "platform/ui/Layer.h"

namespace pf {

namespace {

struct Noted {
  std::weak_ptr<Layer> layer;
  std::string key;
  double notedAt;
};

struct Block {
  ViewAnimationContext::Timing timing;
  std::shared_ptr<CompletionGroup> group;
  std::vector<Noted> noted;
  bool suspended = false;
  // The begin/commit form: its timing may still change after the changes.
  bool beginCommit = false;
};

std::vector<Block>& blocks() {
  static std::vector<Block> stack;
  return stack;
}

bool& enabledFlag() {
  static bool enabled = true;
  return enabled;
}

const std::set<std::string>& viewKeys() {
  static const std::set<std::string> keys{"bounds", "position", "transform", "opacity", "backgroundColor"};
  return keys;
}

TimingFunction curveFunction(const ViewAnimationContext::Timing& timing) {
  switch (timing.curve) {
    case View::AnimationCurve::EaseIn:
      return TimingFunction::named(TimingFunction::kEaseIn);
    case View::AnimationCurve::EaseOut:
      return TimingFunction::named(TimingFunction::kEaseOut);
    case View::AnimationCurve::Linear:
      return TimingFunction::named(TimingFunction::kLinear);
    case View::AnimationCurve::EaseInOut:
      break;
  }
  return TimingFunction::named(TimingFunction::kEaseInEaseOut);
}

}  // namespace

void ViewAnimationContext::applyTiming(Animation& animation, const Timing& timing, double notedAt) {
  // A zero duration ends at once, finished, as the platform does without animating.
  animation.duration = timing.duration > 0 ? timing.duration : 1e-9;
  animation.timingFunction = curveFunction(timing);
  animation.repeatCount = timing.repeatCount;
  animation.autoreverses = timing.autoreverses;
  animation.beginTime = notedAt + std::max(timing.delay, 0.0);
  animation.fillMode = timing.delay > 0 ? Animation::FillMode::Backwards : Animation::FillMode::Removed;
  animation.blocksInteraction_ = !(timing.options & View::kAnimationAllowUserInteraction);
}

void ViewAnimationContext::open(const Timing& timing, std::function<void(bool finished)> completion,
                                bool beginCommit) {
  Block block{timing, CompletionGroup::make(std::move(completion)), {}};
  block.beginCommit = beginCommit;
  blocks().push_back(std::move(block));
}

void ViewAnimationContext::close() {
  auto& stack = blocks();
  if (stack.empty()) return;
  if (stack.back().timing.options & View::kAnimationLayoutSubviews) {
    // Layout made now animates with the block.
    const auto noted = stack.back().noted;
    for (auto& n : noted) {
      if (auto layer = n.layer.lock()) layer->layoutIfNeeded();
    }
  }
  Block block = std::move(stack.back());
  stack.pop_back();
  // The begin/commit form may change its timing after the changes: the animations follow.
  for (auto& noted : block.noted) {
    auto layer = noted.layer.lock();
    if (!layer) continue;
    Animation* animation = layer->mutableAnimationForKey(noted.key);
    if (animation && animation->viewBlock_ == block.group.get())
      applyTiming(*animation, block.timing, noted.notedAt);
  }
  if (!block.noted.empty()) Animator::shared().reschedule();
  block.group->close();
}

bool ViewAnimationContext::isOpen() {
  return !blocks().empty();
}

ViewAnimationContext::Timing* ViewAnimationContext::innermost() {
  return blocks().empty() ? nullptr : &blocks().back().timing;
}

void ViewAnimationContext::setCompletion(std::function<void(bool finished)> completion) {
  if (!blocks().empty()) blocks().back().group->setBlock(std::move(completion));
}

std::shared_ptr<Animation> ViewAnimationContext::actionFor(Layer& layer, const std::string& key) {
  auto& stack = blocks();
  if (stack.empty() || stack.back().suspended || !enabledFlag() || !viewKeys().contains(key)) return nullptr;
  Block& block = stack.back();
  if (block.timing.duration <= 0 && !block.beginCommit) return nullptr;
  // A second change in the block keeps the first animation, which runs to the newest model value.
  const auto same = [&](const Noted& n) { return n.key == key && n.layer.lock().get() == &layer; };
  if (std::any_of(block.noted.begin(), block.noted.end(), same)) return nullptr;
  auto animation = BasicAnimation::make(key);
  animation->fromValue = block.timing.beginFromCurrentState ? layer.presentationOrSelf()->valueForKeyPath(key)
                                                            : layer.valueForKeyPath(key);
  const double now = Clock::now();
  applyTiming(*animation, block.timing, now);
  animation->viewBlock_ = block.group.get();
  block.group->add(*animation);
  block.noted.push_back({layer.weak_from_this(), key, now});
  return animation;
}

void ViewAnimationContext::setEnabled(bool enabled) {
  enabledFlag() = enabled;
}

bool ViewAnimationContext::enabled() {
  return enabledFlag();
}

void ViewAnimationContext::withoutAnimation(const std::function<void()>& changes) {
  blocks().push_back(Block{Timing{}, CompletionGroup::make(nullptr), {}, true});
  struct Pop {
    ~Pop() {
      if (!blocks().empty()) blocks().pop_back();
    }
  } pop;
  if (changes) changes();
}

void ViewAnimationContext::reset() {
  blocks().clear();
  enabledFlag() = true;
}

}  // namespace pf
