#pragma once
// Delivers named notifications to the observers that registered for them, synchronously on the
// posting thread, in the order the observers registered. An observer registers for a name (empty:
// every name) and an object (null: any object; otherwise matched by identity, never retained).
// Thread-safe. An observer stays registered while its Observation lives. Removal is safe at any time,
// also during a delivery: a removed observer gets nothing more on this thread, but a delivery already
// running on another thread may still finish, so callbacks into objects that may be gone go through
// weak pointers.

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/foundation/Notification.h"

namespace pf {

class NotificationCenter {
 public:
  using Callback = std::function<void(const Notification&)>;

 private:
  struct Observer;
  struct Registry;

 public:
  // Keeps one observer registered; destroying it or calling remove() unregisters it.
  class Observation {
   public:
    Observation() = default;
    Observation(Observation&& other) noexcept = default;
    Observation& operator=(Observation&& other) noexcept;
    ~Observation();
    void remove();
    bool isActive() const;

   private:
    friend class NotificationCenter;
    Observation(std::weak_ptr<Registry> registry, std::shared_ptr<Observer> observer);
    std::weak_ptr<Registry> registry_;
    std::shared_ptr<Observer> observer_;
  };

  NotificationCenter();

  // The process-wide centre.
  static NotificationCenter& defaultCenter();

  [[nodiscard]] Observation addObserver(std::string name, const void* object, Callback callback);
  void post(const Notification& notification);
  void post(std::string name, std::shared_ptr<void> object = nullptr, Dictionary userInfo = {});

 private:
  std::shared_ptr<Registry> registry_;
};

}  // namespace pf
