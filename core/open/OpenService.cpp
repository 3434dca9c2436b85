#include "core/open/OpenService.h"

#include "core/open/OpenError.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/Format.h"

OpenService::OpenService(std::weak_ptr<ServiceDelegate> delegate) : delegate_(std::move(delegate)) {}

std::shared_ptr<ServiceDelegate> OpenService::delegate() const {
  std::lock_guard lock(mutex_);
  return delegate_.lock();
}

void OpenService::setDelegate(std::weak_ptr<ServiceDelegate> delegate) {
  std::lock_guard lock(mutex_);
  delegate_ = std::move(delegate);
}

void OpenService::reportUnexpectedAnswer(const std::string& requestUri, const std::string& expected) const {
  const std::shared_ptr<ServiceDelegate> listener = delegate();
  if (!listener) return;
  const pf::ErrorPtr error = OpenError::errorWithDomain(
      kOpenErrorDomain, kOpenResponseErrorCode,
      ErrorInfo::errorInfoWithErrorCode("error.jsonParseError", "请求数据出错！",
                                        pf::format("The answer is no %@", expected)));
  pf::DispatchQueue::main()->async([listener, error, requestUri] { listener->onError(error, requestUri); });
}
