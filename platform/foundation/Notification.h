#pragma once
// One broadcast of the NotificationCenter: a name, the object it is about and extra information.

#include <memory>
#include <string>

#include "platform/foundation/Value.h"

namespace pf {

struct Notification {
  std::string name;
  // The poster's object, or null. A poster without shared ownership of itself can pass a non-owning
  // pointer: std::shared_ptr<void>(std::shared_ptr<void>(), this).
  std::shared_ptr<void> object;
  Dictionary userInfo;

  // The object as the type the observer knows it to be.
  template <typename T>
  std::shared_ptr<T> objectAs() const {
    return std::static_pointer_cast<T>(object);
  }
};

}  // namespace pf
