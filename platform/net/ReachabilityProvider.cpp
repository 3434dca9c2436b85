#include "platform/net/ReachabilityProvider.h"

#include "platform/net/SystemReachabilityProvider.h"

namespace pf {

namespace {

std::mutex sharedMutex;

std::shared_ptr<ReachabilityProvider>& sharedSlot() {
  static std::shared_ptr<ReachabilityProvider> provider;
  return provider;
}

}  // namespace

std::optional<ReachabilityProvider::HandlerId> ReachabilityProvider::addChangeHandler(ChangeHandler handler) {
  std::lock_guard lifecycle(lifecycleMutex_);
  if (!watching_ && !startWatching()) return std::nullopt;
  watching_ = true;
  std::lock_guard lock(handlersMutex_);
  HandlerId id = nextId_++;
  handlers_.emplace(id, std::move(handler));
  return id;
}

void ReachabilityProvider::removeChangeHandler(HandlerId id) {
  std::lock_guard lifecycle(lifecycleMutex_);
  bool last = false;
  {
    std::lock_guard lock(handlersMutex_);
    handlers_.erase(id);
    last = handlers_.empty();
  }
  // Outside handlersMutex_: stopping joins a watcher that may be waiting for it.
  if (last && watching_) {
    stopWatching();
    watching_ = false;
  }
}

void ReachabilityProvider::notifyChange() {
  std::lock_guard lock(handlersMutex_);
  for (auto& [id, handler] : handlers_) handler();
}

std::shared_ptr<ReachabilityProvider> ReachabilityProvider::shared() {
  std::lock_guard lock(sharedMutex);
  if (!sharedSlot()) sharedSlot() = std::make_shared<SystemReachabilityProvider>();
  return sharedSlot();
}

std::shared_ptr<ReachabilityProvider> ReachabilityProvider::install(
    std::shared_ptr<ReachabilityProvider> provider) {
  std::lock_guard lock(sharedMutex);
  std::shared_ptr<ReachabilityProvider> previous = std::move(sharedSlot());
  sharedSlot() = std::move(provider);
  return previous;
}

}  // namespace pf
