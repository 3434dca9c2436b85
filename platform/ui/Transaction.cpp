#include "platform/ui/Transaction.h"

#include <vector>

#include "platform/foundation/RunLoop.h"
#include "platform/ui/Animation.h"
#include "platform/ui/CompletionGroup.h"

namespace pf {

namespace {

struct Frame {
  double duration = Transaction::kDefaultDuration;
  std::optional<TimingFunction> timing;
  bool disableActions = false;
  std::shared_ptr<CompletionGroup> group;
  bool implicit = false;
};

std::vector<Frame>& frames() {
  static std::vector<Frame> stack;
  return stack;
}

void closeFrame(Frame& frame) {
  if (frame.group) frame.group->close();
}

// The innermost transaction, opening an implicit one that ends with this turn of the main loop.
Frame& current() {
  auto& stack = frames();
  if (stack.empty()) {
    Frame implicit;
    implicit.implicit = true;
    stack.push_back(std::move(implicit));
    RunLoop::main()->post([] {
      auto& open = frames();
      if (!open.empty() && open.front().implicit && open.size() == 1) {
        closeFrame(open.front());
        open.clear();
      }
    });
  }
  return stack.back();
}

}  // namespace

void Transaction::begin() {
  current();
  frames().push_back(Frame{});
}

void Transaction::commit() {
  auto& stack = frames();
  if (stack.empty() || stack.back().implicit) return;
  Frame frame = std::move(stack.back());
  stack.pop_back();
  closeFrame(frame);
}

double Transaction::animationDuration() {
  return frames().empty() ? kDefaultDuration : frames().back().duration;
}

void Transaction::setAnimationDuration(double duration) {
  current().duration = duration;
}

std::optional<TimingFunction> Transaction::animationTimingFunction() {
  return frames().empty() ? std::nullopt : frames().back().timing;
}

void Transaction::setAnimationTimingFunction(std::optional<TimingFunction> function) {
  current().timing = std::move(function);
}

bool Transaction::disableActions() {
  return !frames().empty() && frames().back().disableActions;
}

void Transaction::setDisableActions(bool disable) {
  current().disableActions = disable;
}

void Transaction::setCompletionBlock(std::function<void()> completion) {
  Frame& frame = current();
  auto block = [completion = std::move(completion)](bool) {
    if (completion) completion();
  };
  if (frame.group) {
    frame.group->setBlock(std::move(block));
  } else {
    frame.group = CompletionGroup::make(std::move(block));
  }
}

void Transaction::animationAdded(const std::shared_ptr<Animation>& animation) {
  for (auto& frame : frames()) {
    if (frame.group) frame.group->add(*animation);
  }
}

void Transaction::reset() {
  frames().clear();
}

}  // namespace pf
