#include "platform/ui/ContentOffsetObservers.h"

#include <algorithm>

namespace pf {

std::shared_ptr<void> ContentOffsetObservers::add(Observer observer) {
  auto handle = std::make_shared<Observer>(std::move(observer));
  observers_.push_back(handle);
  return handle;
}

void ContentOffsetObservers::notify(ScrollView& scrollView, Point oldOffset) {
  std::erase_if(observers_, [](const std::weak_ptr<Observer>& o) { return o.expired(); });
  // A copy: an observer may add or drop observers while it runs; one dropped is not called.
  const std::vector<std::weak_ptr<Observer>> current = observers_;
  for (const auto& weak : current) {
    if (auto observer = weak.lock()) (*observer)(scrollView, oldOffset);
  }
}

}  // namespace pf
