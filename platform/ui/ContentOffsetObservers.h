#pragma once
// The observers of a scroll view's content offset: each hears every change together with the offset
// before it, for as long as the handle it was given lives. Dropping the handle ends the observation,
// so an observer that has gone is never called. Main thread only.

#include <functional>
#include <memory>
#include <vector>

#include "platform/graphics/Point.h"

namespace pf {

class ScrollView;

class ContentOffsetObservers {
 public:
  using Observer = std::function<void(ScrollView& scrollView, Point oldOffset)>;

  // The observation lasts while the handle lives.
  [[nodiscard]] std::shared_ptr<void> add(Observer observer);
  // Calls every live observer; one added meanwhile hears from the next change, one dropped no more.
  void notify(ScrollView& scrollView, Point oldOffset);

 private:
  std::vector<std::weak_ptr<Observer>> observers_;
};

}  // namespace pf
