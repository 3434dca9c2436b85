#pragma once
// A property that several threads read and write: every access copies the value in or out under the
// property's own lock, so a reader never sees half a write. update() changes the value in place (an
// append to a body, say) without a copy.

#include <mutex>
#include <utility>

template <typename T>
class AtomicProperty {
 public:
  AtomicProperty() = default;
  explicit AtomicProperty(T value) : value_(std::move(value)) {}
  AtomicProperty(const AtomicProperty&) = delete;
  AtomicProperty& operator=(const AtomicProperty&) = delete;

  T get() const {
    std::lock_guard lock(mutex_);
    return value_;
  }
  void set(T value) {
    std::lock_guard lock(mutex_);
    value_ = std::move(value);
  }
  // Runs change(T&) under the lock and answers what it answers.
  template <typename F>
  auto update(F&& change) {
    std::lock_guard lock(mutex_);
    return change(value_);
  }

 private:
  mutable std::mutex mutex_;
  T value_{};
};
