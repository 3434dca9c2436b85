#include "platform/foundation/NotificationCenter.h"

#include <algorithm>
#include <atomic>

namespace pf {

struct NotificationCenter::Observer {
  std::string name;
  const void* object;
  Callback callback;
  std::atomic<bool> removed{false};

  bool matches(const Notification& notification) const {
    return (name.empty() || name == notification.name) && (!object || object == notification.object.get());
  }
};

struct NotificationCenter::Registry {
  std::mutex mutex;
  std::vector<std::shared_ptr<Observer>> observers;
};

NotificationCenter::Observation::Observation(std::weak_ptr<Registry> registry,
                                             std::shared_ptr<Observer> observer)
    : registry_(std::move(registry)), observer_(std::move(observer)) {}

NotificationCenter::Observation& NotificationCenter::Observation::operator=(Observation&& other) noexcept {
  if (this != &other) {
    remove();
    registry_ = std::move(other.registry_);
    observer_ = std::move(other.observer_);
  }
  return *this;
}

NotificationCenter::Observation::~Observation() {
  remove();
}

void NotificationCenter::Observation::remove() {
  if (!observer_) return;
  observer_->removed = true;
  if (auto registry = registry_.lock()) {
    std::lock_guard lock(registry->mutex);
    std::erase(registry->observers, observer_);
  }
  observer_.reset();
}

bool NotificationCenter::Observation::isActive() const {
  return observer_ != nullptr;
}

NotificationCenter::NotificationCenter() : registry_(std::make_shared<Registry>()) {}

NotificationCenter& NotificationCenter::defaultCenter() {
  // Never destroyed: observations held by other statics may outlive it at exit.
  static NotificationCenter* center = new NotificationCenter();
  return *center;
}

NotificationCenter::Observation NotificationCenter::addObserver(std::string name, const void* object,
                                                                Callback callback) {
  auto observer = std::make_shared<Observer>();
  observer->name = std::move(name);
  observer->object = object;
  observer->callback = std::move(callback);
  std::lock_guard lock(registry_->mutex);
  registry_->observers.push_back(observer);
  return Observation(registry_, std::move(observer));
}

void NotificationCenter::post(const Notification& notification) {
  std::vector<std::shared_ptr<Observer>> matching;
  {
    std::lock_guard lock(registry_->mutex);
    std::copy_if(registry_->observers.begin(), registry_->observers.end(), std::back_inserter(matching),
                 [&](const auto& observer) { return observer->matches(notification); });
  }
  for (const auto& observer : matching) {
    if (!observer->removed) observer->callback(notification);
  }
}

void NotificationCenter::post(std::string name, std::shared_ptr<void> object, Dictionary userInfo) {
  post(Notification{std::move(name), std::move(object), std::move(userInfo)});
}

}  // namespace pf
