#pragma once
// Layout type 2: horizontal pages, each filled row by row, left to right.

#include "ui/grid/GridViewLayoutHorizontalPagedStrategy.h"

class GridViewLayoutHorizontalPagedLTRStrategy : public GridViewLayoutHorizontalPagedStrategy {
 public:
  static constexpr long kType = 2;

  GridViewLayoutHorizontalPagedLTRStrategy() : GridViewLayoutHorizontalPagedStrategy(kType) {}

  long positionForItemAtColumn(long column, long row, long page) const override;
  long columnForItemAtPosition(long position) const override;
  long rowForItemAtPosition(long position) const override;
};
