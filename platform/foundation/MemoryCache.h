#pragma once
// A memory cache of objects by key, each with a cost: past the total cost limit or the count limit the
// least recently used entries go, so a cache of pictures stays within a memory budget without anyone
// sending memory warnings. A limit of 0 is no limit; an entry costlier than the whole limit is not kept.
// Thread-safe: every member works from any thread; objects are shared, never copied.

#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>

namespace pf {

template <typename T>
class MemoryCache {
 public:
  explicit MemoryCache(std::string name = "") : name_(std::move(name)) {}
  MemoryCache(const MemoryCache&) = delete;
  MemoryCache& operator=(const MemoryCache&) = delete;

  const std::string& name() const { return name_; }

  // Counts as a use: the entry becomes the most recent.
  std::shared_ptr<T> objectForKey(const std::string& key) {
    std::lock_guard lock(mutex_);
    const auto found = index_.find(key);
    if (found == index_.end()) return nullptr;
    entries_.splice(entries_.begin(), entries_, found->second);
    return found->second->object;
  }

  // Replaces the key's entry; a null object removes it.
  void setObject(const std::string& key, std::shared_ptr<T> object, std::size_t cost = 0) {
    std::lock_guard lock(mutex_);
    eraseLocked(key);
    if (!object || (totalCostLimit_ > 0 && cost > totalCostLimit_)) return;
    entries_.push_front(Entry{key, std::move(object), cost});
    index_[key] = entries_.begin();
    totalCost_ += cost;
    evictLocked();
  }

  void removeObjectForKey(const std::string& key) {
    std::lock_guard lock(mutex_);
    eraseLocked(key);
  }

  void removeAllObjects() {
    std::lock_guard lock(mutex_);
    entries_.clear();
    index_.clear();
    totalCost_ = 0;
  }

  std::size_t totalCostLimit() const {
    std::lock_guard lock(mutex_);
    return totalCostLimit_;
  }
  void setTotalCostLimit(std::size_t limit) {
    std::lock_guard lock(mutex_);
    totalCostLimit_ = limit;
    evictLocked();
  }
  std::size_t countLimit() const {
    std::lock_guard lock(mutex_);
    return countLimit_;
  }
  void setCountLimit(std::size_t limit) {
    std::lock_guard lock(mutex_);
    countLimit_ = limit;
    evictLocked();
  }

  std::size_t totalCost() const {
    std::lock_guard lock(mutex_);
    return totalCost_;
  }
  std::size_t count() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
  }

 private:
  struct Entry {
    std::string key;
    std::shared_ptr<T> object;
    std::size_t cost;
  };

  void eraseLocked(const std::string& key) {
    const auto found = index_.find(key);
    if (found == index_.end()) return;
    totalCost_ -= found->second->cost;
    entries_.erase(found->second);
    index_.erase(found);
  }

  void evictLocked() {
    while (!entries_.empty() && ((totalCostLimit_ > 0 && totalCost_ > totalCostLimit_) ||
                                 (countLimit_ > 0 && entries_.size() > countLimit_))) {
      eraseLocked(entries_.back().key);
    }
  }

  const std::string name_;
  mutable std::mutex mutex_;
  std::list<Entry> entries_;
  std::unordered_map<std::string, typename std::list<Entry>::iterator> index_;
  std::size_t totalCost_ = 0;
  std::size_t totalCostLimit_ = 0;
  std::size_t countLimit_ = 0;
};

}  // namespace pf
