#include "platform/ui/ViewAnimationContext.h"

#include <algorithm>
#include <set>
#include <vector>

#include "platform/foundation/Clock.h"
#include "platform/ui/BasicAnimation.h"
#include "platform/ui/CompletionGroup.h"
#include "platform/ui/Layer.h"

namespace pf {

namespace {

struct Noted {
  std::weak_ptr<Layer> layer;
  std::string key;
  AnimatableValue from;
};

struct Block {
  ViewAnimationContext::Timing timing;
  std::shared_ptr<CompletionGroup> group;
  std::vector<Noted> noted;
  bool suspended = false;
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

void start(Block& block) {
  const auto& timing = block.timing;
  for (auto& noted : block.noted) {
    auto layer = noted.layer.lock();
    if (!layer) continue;
    auto animation = BasicAnimation::make(noted.key);
    animation->fromValue = noted.from;
    animation->duration = timing.duration;
    animation->timingFunction = curveFunction(timing);
    animation->repeatCount = timing.repeatCount;
    animation->autoreverses = timing.autoreverses;
    if (timing.delay > 0) {
      animation->beginTime = Clock::now() + timing.delay;
      animation->fillMode = Animation::FillMode::Backwards;
    }
    block.group->add(*animation);
    layer->addAnimation(animation, noted.key);
  }
}

}  // namespace

void ViewAnimationContext::open(const Timing& timing, std::function<void(bool finished)> completion) {
  blocks().push_back(Block{timing, CompletionGroup::make(std::move(completion)), {}});
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
  if (block.timing.duration > 0 && enabledFlag()) start(block);
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

bool ViewAnimationContext::noteChange(Layer& layer, const std::string& key) {
  auto& stack = blocks();
  if (stack.empty() || stack.back().suspended || !enabledFlag() || !viewKeys().contains(key)) return false;
  Block& block = stack.back();
  const auto same = [&](const Noted& n) { return n.key == key && n.layer.lock().get() == &layer; };
  if (std::any_of(block.noted.begin(), block.noted.end(), same)) return true;
  const AnimatableValue from = block.timing.beginFromCurrentState
                                   ? layer.presentationOrSelf()->valueForKeyPath(key)
                                   : layer.valueForKeyPath(key);
  block.noted.push_back({layer.weak_from_this(), key, from});
  return true;
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
