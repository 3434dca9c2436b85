#pragma once
// Keyed slots any runtime object carries beside its own members, so code in another layer can hang
// its own state on a view or controller it does not own (a deck link on a controller, the request of
// an image view). Usage:
//
//   static const char kDeckKey = 0;               // the key is the address of a file-local static
//   pf::AssociatedObjects::set(*controller, &kDeckKey, deck, pf::AssociatedObjects::Policy::Weak);
//   auto deck = pf::AssociatedObjects::get<PanelDeckController>(*controller, &kDeckKey);
//
// A Strong slot keeps its value alive while the owner lives; a Weak slot answers null once its value
// is gone. Setting null empties the slot. Values that are runtime objects are read back as any class
// on their line (checked); other values only as the exact type they were stored with (else null).
// The owner must be held by a shared_ptr. Slots end with their owner: at once for responders (views,
// controllers), for other objects at the latest at the next set() or purge(). Thread-safe; values
// are released outside the lock, so their destructors may use slots again.

#include <memory>
#include <type_traits>
#include <typeindex>
#include <typeinfo>

#include "platform/runtime/Object.h"

namespace pf {

class AssociatedObjects {
 public:
  enum class Policy { Strong, Weak };
  using Key = const void*;

  template <typename V>
  static void set(const Object& owner, Key key, const std::shared_ptr<V>& value, Policy policy = Policy::Strong) {
    if constexpr (std::is_base_of_v<Object, V>) {
      std::shared_ptr<const Object> object = value;
      setSlot(owner, key, std::const_pointer_cast<Object>(object), typeid(Object), policy);
    } else {
      setSlot(owner, key, std::const_pointer_cast<std::remove_const_t<V>>(value), typeid(V), policy);
    }
  }

  template <typename V>
  static std::shared_ptr<V> get(const Object& owner, Key key) {
    if constexpr (std::is_base_of_v<Object, V>) {
      auto object = std::static_pointer_cast<Object>(getSlot(owner, key, typeid(Object)));
      return std::dynamic_pointer_cast<V>(object);
    } else {
      return std::static_pointer_cast<V>(getSlot(owner, key, typeid(V)));
    }
  }

  static void remove(const Object& owner, Key key);
  static void removeAll(const Object& owner);
  // Drops the slots of owners that are gone.
  static void purge();
  // Called by an owner's destructor (its shared_ptr has already expired).
  static void ownerGone(const Object* owner);
  // Owners that hold at least one slot (for tests).
  static size_t ownerCount();

 private:
  static void setSlot(const Object& owner, Key key, std::shared_ptr<void> value, std::type_index type, Policy policy);
  static std::shared_ptr<void> getSlot(const Object& owner, Key key, std::type_index type);
};

}  // namespace pf
