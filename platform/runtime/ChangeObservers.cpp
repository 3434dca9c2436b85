#include "platform/runtime/ChangeObservers.h"

#include <algorithm>
#include <vector>

#include "platform/runtime/AssociatedObjects.h"

namespace pf {

struct ChangeObservers::Entry {
  std::string key;
  Callback callback;
  bool active = true;
};

namespace {

const char kChangeObserversKey = 0;

// The observers of one object, hung on it as an associated object.
struct ChangeObserverList {
  std::vector<std::weak_ptr<void>> entries;
};

}  // namespace

ChangeObservers::Observation& ChangeObservers::Observation::operator=(Observation&& other) noexcept {
  if (this != &other) {
    remove();
    entry_ = std::move(other.entry_);
  }
  return *this;
}

ChangeObservers::Observation::~Observation() {
  remove();
}

void ChangeObservers::Observation::remove() {
  if (!entry_) return;
  entry_->active = false;
  entry_.reset();
}

bool ChangeObservers::Observation::isActive() const {
  return entry_ && entry_->active;
}

ChangeObservers::Observation ChangeObservers::observe(const Object& target, std::string key, Callback callback) {
  auto list = AssociatedObjects::get<ChangeObserverList>(target, &kChangeObserversKey);
  if (!list) {
    list = std::make_shared<ChangeObserverList>();
    AssociatedObjects::set(target, &kChangeObserversKey, list);
  }
  auto& entries = list->entries;
  entries.erase(std::remove_if(entries.begin(), entries.end(), [](const auto& e) { return e.expired(); }),
                entries.end());
  auto entry = std::make_shared<Entry>(Entry{std::move(key), std::move(callback), true});
  entries.push_back(entry);
  return Observation(std::move(entry));
}

void ChangeObservers::didChange(const Object& target, const std::string& key) {
  auto list = AssociatedObjects::get<ChangeObserverList>(target, &kChangeObserversKey);
  if (!list) return;
  std::vector<std::shared_ptr<Entry>> matching;
  for (const auto& weak : list->entries) {
    auto entry = std::static_pointer_cast<Entry>(weak.lock());
    if (entry && entry->key == key) matching.push_back(std::move(entry));
  }
  for (const auto& entry : matching) {
    if (entry->active) entry->callback(key);
  }
}

}  // namespace pf
