#pragma once
// Lets code outside a class hear when one of an object's values changes, by key, the way a container
// follows its child's title or a view's bounds without subclassing it. The classes that take part
// announce their own changes with didChange after the value is stored; keys in use:
//   ViewController "title", "tabBarItem", "hidesBottomBarWhenPushed", "parentViewController",
//   "presentingViewController"; BarItem "title", "image"; View "bounds".
// An observer stays registered while its Observation lives; one removed during a delivery gets
// nothing more. Observers are called in the order they registered. Main thread only.

#include <functional>
#include <memory>
#include <string>

#include "platform/runtime/Object.h"

namespace pf {

class ChangeObservers {
 public:
  using Callback = std::function<void(const std::string& key)>;

 private:
  struct Entry;

 public:
  class Observation {
   public:
    Observation() = default;
    Observation(Observation&& other) noexcept = default;
    Observation& operator=(Observation&& other) noexcept;
    Observation(const Observation&) = delete;
    Observation& operator=(const Observation&) = delete;
    ~Observation();
    void remove();
    bool isActive() const;

   private:
    friend class ChangeObservers;
    explicit Observation(std::shared_ptr<Entry> entry) : entry_(std::move(entry)) {}
    std::shared_ptr<Entry> entry_;
  };

  // The target must be held by a shared_ptr; it is not retained.
  [[nodiscard]] static Observation observe(const Object& target, std::string key, Callback callback);
  static void didChange(const Object& target, const std::string& key);
};

}  // namespace pf
