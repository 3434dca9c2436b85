#include "platform/runtime/AssociatedObjects.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/foundation/Error.h"

namespace pf {

namespace {

struct AssociatedSlot {
  std::shared_ptr<void> strong;
  std::weak_ptr<void> weak;
  std::type_index type = typeid(void);
};

struct AssociatedOwner {
  std::weak_ptr<const Object> owner;
  std::unordered_map<AssociatedObjects::Key, AssociatedSlot> slots;
};

struct AssociatedTable {
  std::mutex mutex;
  std::unordered_map<const Object*, AssociatedOwner> owners;
  size_t nextPurgeAt = 64;
};

AssociatedTable& associatedTable() {
  static AssociatedTable table;
  return table;
}

bool sameOwner(const std::weak_ptr<const Object>& a, const std::weak_ptr<const Object>& b) {
  return !a.owner_before(b) && !b.owner_before(a);
}

// Slots taken out under the lock, released after it.
using ReleasedSlots = std::vector<AssociatedOwner>;

// The live entry of the owner; an entry left at the same address by an owner that is gone is
// moved to `released`.
AssociatedOwner* liveEntry(AssociatedTable& table, const Object& owner, ReleasedSlots& released) {
  auto it = table.owners.find(&owner);
  if (it == table.owners.end()) return nullptr;
  if (!it->second.owner.expired() && sameOwner(it->second.owner, owner.weak_from_this())) return &it->second;
  released.push_back(std::move(it->second));
  table.owners.erase(it);
  return nullptr;
}

void purgeLocked(AssociatedTable& table, ReleasedSlots& released) {
  for (auto it = table.owners.begin(); it != table.owners.end();) {
    if (it->second.owner.expired()) {
      released.push_back(std::move(it->second));
      it = table.owners.erase(it);
    } else {
      ++it;
    }
  }
  table.nextPurgeAt = std::max<size_t>(64, table.owners.size() * 2);
}

}  // namespace

void AssociatedObjects::setSlot(const Object& owner, Key key, std::shared_ptr<void> value, std::type_index type,
                                Policy policy) {
  std::weak_ptr<const Object> weakOwner = owner.weak_from_this();
  if (weakOwner.expired()) throw ContractViolation("associated objects need an owner held by a shared_ptr");
  ReleasedSlots released;
  AssociatedSlot old;
  AssociatedTable& table = associatedTable();
  std::lock_guard<std::mutex> lock(table.mutex);
  if (table.owners.size() >= table.nextPurgeAt) purgeLocked(table, released);
  AssociatedOwner* entry = liveEntry(table, owner, released);
  if (!value) {
    if (!entry) return;
    auto slot = entry->slots.find(key);
    if (slot == entry->slots.end()) return;
    old = std::move(slot->second);
    entry->slots.erase(slot);
    if (entry->slots.empty()) {
      released.push_back(std::move(*entry));
      table.owners.erase(&owner);
    }
    return;
  }
  if (!entry) {
    entry = &table.owners[&owner];
    entry->owner = weakOwner;
  }
  AssociatedSlot& slot = entry->slots[key];
  old = std::move(slot);
  slot = AssociatedSlot{};
  slot.type = type;
  if (policy == Policy::Strong) {
    slot.strong = std::move(value);
  } else {
    slot.weak = value;
  }
}

std::shared_ptr<void> AssociatedObjects::getSlot(const Object& owner, Key key, std::type_index type) {
  ReleasedSlots released;
  std::shared_ptr<void> value;
  AssociatedTable& table = associatedTable();
  std::lock_guard<std::mutex> lock(table.mutex);
  AssociatedOwner* entry = liveEntry(table, owner, released);
  if (!entry) return nullptr;
  auto slot = entry->slots.find(key);
  if (slot == entry->slots.end() || slot->second.type != type) return nullptr;
  value = slot->second.strong ? slot->second.strong : slot->second.weak.lock();
  return value;
}

void AssociatedObjects::remove(const Object& owner, Key key) {
  setSlot(owner, key, nullptr, typeid(void), Policy::Strong);
}

void AssociatedObjects::removeAll(const Object& owner) {
  ReleasedSlots released;
  AssociatedTable& table = associatedTable();
  std::lock_guard<std::mutex> lock(table.mutex);
  auto it = table.owners.find(&owner);
  if (it == table.owners.end()) return;
  released.push_back(std::move(it->second));
  table.owners.erase(it);
}

void AssociatedObjects::purge() {
  ReleasedSlots released;
  AssociatedTable& table = associatedTable();
  std::lock_guard<std::mutex> lock(table.mutex);
  purgeLocked(table, released);
}

void AssociatedObjects::ownerGone(const Object* owner) {
  ReleasedSlots released;
  AssociatedTable& table = associatedTable();
  std::lock_guard<std::mutex> lock(table.mutex);
  auto it = table.owners.find(owner);
  if (it == table.owners.end() || !it->second.owner.expired()) return;
  released.push_back(std::move(it->second));
  table.owners.erase(it);
}

size_t AssociatedObjects::ownerCount() {
  AssociatedTable& table = associatedTable();
  std::lock_guard<std::mutex> lock(table.mutex);
  return table.owners.size();
}

}  // namespace pf
