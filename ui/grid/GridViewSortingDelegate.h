#pragma once
// What a grid tells whoever sorts its items by long press and drag: the lifted cell, each move (push
// style) or exchange (swap style) of the model's items, and the drop.

#include <optional>

class GridView;
class GridViewCell;

class GridViewSortingDelegate {
 public:
  virtual ~GridViewSortingDelegate() = default;
  virtual void didStartMovingCell(GridView& /*gridView*/, GridViewCell& /*cell*/) {}
  // Optional: nullopt (not answered) lets the lifted cell wobble.
  virtual std::optional<bool> shouldAllowShakingBehaviorWhenMovingCell(GridView& /*gridView*/,
                                                                       GridViewCell& /*cell*/, long /*index*/) {
    return std::nullopt;
  }
  virtual void moveItemAtIndex(GridView& gridView, long oldIndex, long toIndex) = 0;
  virtual void exchangeItemAtIndex(GridView& gridView, long index, long withItemAtIndex) = 0;
  virtual void didEndMovingCell(GridView& /*gridView*/, GridViewCell& /*cell*/) {}
};
