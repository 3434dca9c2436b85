#pragma once
// Horizontally paged layouts: each page is one grid width, holds the same block of rows and columns
// centred by the margin rule, and the grid loads three pages around the one in view. Subclasses give
// the order of the items within a page.

#include "ui/grid/GridViewLayoutHorizontalStrategy.h"

class GridViewLayoutHorizontalPagedStrategy : public GridViewLayoutHorizontalStrategy {
 public:
  void rebaseWithItemCount(long count, const pf::Rect& bounds) override;
  pf::Point originForItemAtPosition(long position) const override;
  long itemPositionFromLocation(pf::Point location) const override;
  GridPositionRange rangeOfPositionsInBoundsFromOffset(pf::Point offset) const override;
  bool requiresEnablingPaging() const override { return true; }

  long pageForItemAtIndex(long index) const;
  pf::Point originForItemAtColumn(long column, long row, long page) const;
  virtual long positionForItemAtColumn(long column, long row, long page) const = 0;
  // Column and row of a position within its page.
  virtual long columnForItemAtPosition(long position) const = 0;
  virtual long rowForItemAtPosition(long position) const = 0;

  long numberOfItemsPerRow() const { return numberOfItemsPerRow_; }
  long numberOfItemsPerPage() const { return numberOfItemsPerPage_; }
  long numberOfPages() const { return numberOfPages_; }

 protected:
  explicit GridViewLayoutHorizontalPagedStrategy(long type) { setType(type); }

 private:
  // The page a point lies on; a point on a page boundary belongs to the left page.
  long pageAtX(double x) const;

  long numberOfItemsPerRow_ = 0;
  long numberOfItemsPerPage_ = 0;
  long numberOfPages_ = 0;
};
