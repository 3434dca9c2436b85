#pragma once
// Layout type 3: horizontal pages, each filled column by column, top to bottom.

#include "ui/grid/GridViewLayoutHorizontalPagedStrategy.h"

class GridViewLayoutHorizontalPagedTTBStrategy : public GridViewLayoutHorizontalPagedStrategy {
 public:
  static constexpr long kType = 3;

  GridViewLayoutHorizontalPagedTTBStrategy() : GridViewLayoutHorizontalPagedStrategy(kType) {}

  long positionForItemAtColumn(long column, long row, long page) const override;
  long columnForItemAtPosition(long position) const override;
  long rowForItemAtPosition(long position) const override;
};
