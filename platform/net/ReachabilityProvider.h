#pragma once
// The source of reachability flags and of change events. The process uses one shared provider:
// the system one reads the machine's interfaces, tests install a manual one.
//
// Threads: flagsFor may be called from any thread. Change handlers run on whatever thread noticed
// the change (the system provider's watcher thread); they must be short and must not add or remove
// handlers. Once removeChangeHandler returns, its handler is not running and never runs again.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/net/ReachabilityFlags.h"
#include "platform/net/ReachabilityTarget.h"

namespace pf {

class ReachabilityProvider {
 public:
  using ChangeHandler = std::function<void()>;
  using HandlerId = std::uint64_t;

  virtual ~ReachabilityProvider() = default;

  // The flags for the target; nullopt when they cannot be read.
  virtual std::optional<ReachabilityFlags> flagsFor(const ReachabilityTarget& target) = 0;

  // nullopt when change events cannot be watched.
  std::optional<HandlerId> addChangeHandler(ChangeHandler handler);
  void removeChangeHandler(HandlerId id);

  // The shared provider, the system one until another is installed.
  static std::shared_ptr<ReachabilityProvider> shared();
  // Installs a provider (nullptr for the system one) and answers the one it replaces.
  static std::shared_ptr<ReachabilityProvider> install(std::shared_ptr<ReachabilityProvider> provider);

 protected:
  // Calls every handler; for subclasses, from any thread.
  void notifyChange();
  // Called around the first handler added and the last one removed.
  virtual bool startWatching() = 0;
  virtual void stopWatching() = 0;

 private:
  std::mutex lifecycleMutex_;  // orders start and stop; taken before handlersMutex_
  bool watching_ = false;
  std::mutex handlersMutex_;  // held while handlers run, so removal waits for them
  std::map<HandlerId, ChangeHandler> handlers_;
  HandlerId nextId_ = 1;
};

}  // namespace pf
