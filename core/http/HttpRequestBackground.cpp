// A request that continues in the background: it holds an application task while it runs.

#include <mutex>

#include "core/http/HttpRequest.h"

namespace {

std::mutex hostMutex;
std::shared_ptr<BackgroundTaskHost> installedHost;

std::shared_ptr<BackgroundTaskHost> currentHost() {
  std::lock_guard lock(hostMutex);
  return installedHost;
}

}  // namespace

void HttpRequest::setBackgroundTaskHost(std::shared_ptr<BackgroundTaskHost> host) {
  std::lock_guard lock(hostMutex);
  installedHost = std::move(host);
}

// The begin and the end are posted to the main loop in this order, so the end never runs first.
void HttpRequest::beginBackgroundTask() {
  if (!shouldContinueWhenAppEntersBackground) return;
  std::shared_ptr<BackgroundTaskHost> host = currentHost();
  if (!host || backgroundTaskAsked_.exchange(true)) return;
  const Ptr self = selfPtr();
  pf::RunLoop::main()->post([self, host] {
    const std::weak_ptr<HttpRequest> request = self;
    self->backgroundTaskHost_ = host;
    self->backgroundTask_ = host->begin([request] {
      if (const Ptr alive = request.lock()) alive->expireBackgroundTask();
    });
  });
}

void HttpRequest::endBackgroundTask() {
  if (!backgroundTaskAsked_ || backgroundTaskEndAsked_.exchange(true)) return;
  const Ptr self = selfPtr();
  pf::RunLoop::main()->post([self] { self->endBackgroundTaskOnMainThread(); });
}

void HttpRequest::endBackgroundTaskOnMainThread() {
  if (backgroundTask_ == BackgroundTaskHost::kInvalid) return;
  backgroundTaskHost_->end(std::exchange(backgroundTask_, BackgroundTaskHost::kInvalid));
  backgroundTaskHost_.reset();
}

void HttpRequest::expireBackgroundTask() {
  if (backgroundTask_ == BackgroundTaskHost::kInvalid) return;
  endBackgroundTaskOnMainThread();
  cancel();
}
