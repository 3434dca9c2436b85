#pragma once
// Layout type 0: rows filled left to right, scrolling down; loads the visible rows and one more on
// each side.

#include "ui/grid/GridViewLayoutStrategyBase.h"

class GridViewLayoutVerticalStrategy : public GridViewLayoutStrategyBase {
 public:
  static constexpr long kType = 0;

  GridViewLayoutVerticalStrategy() : GridViewLayoutStrategyBase(kType) {}

  void rebaseWithItemCount(long count, const pf::Rect& bounds) override;
  pf::Point originForItemAtPosition(long position) const override;
  long itemPositionFromLocation(pf::Point location) const override;
  GridPositionRange rangeOfPositionsInBoundsFromOffset(pf::Point offset) const override;
  bool requiresEnablingPaging() const override { return false; }

  long numberOfItemsPerRow() const { return numberOfItemsPerRow_; }

 private:
  long numberOfItemsPerRow_ = 0;
};
