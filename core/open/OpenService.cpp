#include "core/open/OpenService.h"

OpenService::OpenService(std::weak_ptr<ServiceDelegate> delegate) : delegate_(std::move(delegate)) {}

std::shared_ptr<ServiceDelegate> OpenService::delegate() const {
  std::lock_guard lock(mutex_);
  return delegate_.lock();
}

void OpenService::setDelegate(std::weak_ptr<ServiceDelegate> delegate) {
  std::lock_guard lock(mutex_);
  delegate_ = std::move(delegate);
}
