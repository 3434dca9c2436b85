#pragma once
// The handle of one picture load: its cancel stops whatever the load is waiting on. Thread-safe.

#include <functional>
#include <mutex>

#include "ui/webimage/WebImageOperation.h"

class WebImageCombinedOperation : public WebImageOperation {
 public:
  bool isCancelled() const;
  // Stored to run at cancel; runs at once when the operation is already cancelled.
  void setCancelBlock(std::function<void()> block);
  // Runs the cancel block once, outside the lock, then drops it.
  void cancel() override;

 private:
  mutable std::mutex mutex_;
  bool cancelled_ = false;
  std::function<void()> cancelBlock_;
};
