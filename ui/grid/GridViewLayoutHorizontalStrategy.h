#pragma once
// Layout type 1: columns filled top to bottom, scrolling right; loads the visible columns and one
// more on each side.

#include "ui/grid/GridViewLayoutStrategyBase.h"

class GridViewLayoutHorizontalStrategy : public GridViewLayoutStrategyBase {
 public:
  static constexpr long kType = 1;

  GridViewLayoutHorizontalStrategy() : GridViewLayoutStrategyBase(kType) {}

  void rebaseWithItemCount(long count, const pf::Rect& bounds) override;
  pf::Point originForItemAtPosition(long position) const override;
  long itemPositionFromLocation(pf::Point location) const override;
  GridPositionRange rangeOfPositionsInBoundsFromOffset(pf::Point offset) const override;
  bool requiresEnablingPaging() const override { return false; }

  long numberOfItemsPerColumn() const { return numberOfItemsPerColumn_; }

 private:
  long numberOfItemsPerColumn_ = 0;
};
