#include "ui/webimage/WebImageCombinedOperation.h"

bool WebImageCombinedOperation::isCancelled() const {
  std::lock_guard lock(mutex_);
  return cancelled_;
}

void WebImageCombinedOperation::setCancelBlock(std::function<void()> block) {
  {
    std::lock_guard lock(mutex_);
    if (!cancelled_) {
      cancelBlock_ = std::move(block);
      return;
    }
  }
  if (block) block();
}

void WebImageCombinedOperation::cancel() {
  std::function<void()> block;
  {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
    block = std::move(cancelBlock_);
    cancelBlock_ = nullptr;
  }
  if (block) block();
}
