#include "platform/ui/CompletionGroup.h"

#include "platform/foundation/RunLoop.h"
#include "platform/ui/Animation.h"

namespace pf {

std::shared_ptr<CompletionGroup> CompletionGroup::make(Block block) {
  return std::shared_ptr<CompletionGroup>(new CompletionGroup(std::move(block)));
}

void CompletionGroup::add(Animation& animation) {
  ++pending_;
  animation.stopHandlers_.push_back(
      [self = shared_from_this()](bool finished) { self->stoppedOne(finished); });
}

void CompletionGroup::close() {
  closed_ = true;
  runIfDone();
}

void CompletionGroup::stoppedOne(bool finished) {
  --pending_;
  if (!finished) finished_ = false;
  runIfDone();
}

void CompletionGroup::runIfDone() {
  if (!closed_ || pending_ > 0 || ran_) return;
  ran_ = true;
  auto block = std::move(block_);
  if (!block) return;
  RunLoop::main()->post([block = std::move(block), finished = finished_] { block(finished); });
}

}  // namespace pf
