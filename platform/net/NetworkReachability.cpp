#include "platform/net/NetworkReachability.h"

#include <atomic>
#include <cstdint>
#include <mutex>

namespace pf {

struct NetworkReachability::Link {
  Link(ReachabilityTarget target, std::shared_ptr<ReachabilityProvider> provider)
      : target(std::move(target)), provider(std::move(provider)) {}

  const ReachabilityTarget target;
  const std::shared_ptr<ReachabilityProvider> provider;
  std::mutex mutex;  // guards the fields below
  Callback callback;
  std::weak_ptr<RunLoop> loop;
  std::string mode;
  std::optional<ReachabilityProvider::HandlerId> handler;  // set while scheduled
  std::optional<ReachabilityFlags> lastFlags;
  std::uint64_t generation = 0;  // one per schedule: a delivery left from an earlier one is dropped
  std::atomic<bool> deliveryPosted = false;  // a burst of change events posts one delivery
};

std::unique_ptr<NetworkReachability> NetworkReachability::withHostName(const std::string& name) {
  if (name.empty()) return nullptr;
  return std::make_unique<NetworkReachability>(ReachabilityTarget::hostName(name),
                                               ReachabilityProvider::shared());
}

std::unique_ptr<NetworkReachability> NetworkReachability::withAddress(const IpAddress& address) {
  return std::make_unique<NetworkReachability>(ReachabilityTarget::address(address),
                                               ReachabilityProvider::shared());
}

NetworkReachability::NetworkReachability(ReachabilityTarget target,
                                         std::shared_ptr<ReachabilityProvider> provider)
    : link_(std::make_shared<Link>(std::move(target), std::move(provider))) {}

NetworkReachability::~NetworkReachability() {
  std::lock_guard lock(link_->mutex);
  if (link_->handler) link_->provider->removeChangeHandler(*link_->handler);
  link_->handler.reset();
}

const ReachabilityTarget& NetworkReachability::target() const {
  return link_->target;
}

std::optional<ReachabilityFlags> NetworkReachability::flags() const {
  return link_->provider->flagsFor(link_->target);
}

void NetworkReachability::setCallback(Callback callback) {
  std::lock_guard lock(link_->mutex);
  link_->callback = std::move(callback);
}

bool NetworkReachability::scheduleWithRunLoop(const std::shared_ptr<RunLoop>& loop, const std::string& mode) {
  std::lock_guard lock(link_->mutex);
  if (link_->handler) return link_->loop.lock() == loop && link_->mode == mode;
  std::weak_ptr<Link> weakLink = link_;
  std::weak_ptr<RunLoop> weakLoop = loop;
  std::uint64_t generation = ++link_->generation;
  link_->deliveryPosted = false;
  // Runs on the provider's thread: it only posts one delivery per burst to the loop.
  link_->handler = link_->provider->addChangeHandler([weakLink, weakLoop, mode, generation] {
    std::shared_ptr<Link> link = weakLink.lock();
    std::shared_ptr<RunLoop> target = weakLoop.lock();
    if (!link || !target || link->deliveryPosted.exchange(true)) return;
    target->post([weakLink, generation] { deliver(weakLink, generation); }, mode);
  });
  if (!link_->handler) return false;
  link_->loop = loop;
  link_->mode = mode;
  link_->lastFlags = link_->provider->flagsFor(link_->target);
  return true;
}

bool NetworkReachability::unscheduleFromRunLoop(const std::shared_ptr<RunLoop>& loop,
                                                const std::string& mode) {
  std::lock_guard lock(link_->mutex);
  if (!link_->handler || link_->loop.lock() != loop || link_->mode != mode) return false;
  link_->provider->removeChangeHandler(*link_->handler);
  link_->handler.reset();
  return true;
}

void NetworkReachability::deliver(const std::weak_ptr<Link>& weakLink, std::uint64_t generation) {
  std::shared_ptr<Link> link = weakLink.lock();
  if (!link) return;
  // Cleared before reading, so a change after this read posts another delivery.
  link->deliveryPosted = false;
  std::optional<ReachabilityFlags> flags = link->provider->flagsFor(link->target);
  Callback callback;
  {
    std::lock_guard lock(link->mutex);
    if (!link->handler || link->generation != generation || flags == link->lastFlags) return;
    link->lastFlags = flags;
    callback = link->callback;
  }
  if (callback) callback(flags.value_or(0));
}

}  // namespace pf
