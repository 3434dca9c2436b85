#pragma once
// How a grid view places its items: from the item count, the common item size, the spacing, the
// minimum margins and the grid's bounds, a strategy answers the content size, the origin of each item,
// the item under a point and the positions to load for a scroll offset. Pure geometry, no views.
// Calling order: setupItemSize, then rebaseWithItemCount, then the queries.

#include "platform/graphics/EdgeInsets.h"
#include "platform/graphics/Point.h"
#include "platform/graphics/Rect.h"
#include "platform/graphics/Size.h"

// A run of item positions; a length of 0 or less is empty.
struct GridPositionRange {
  long location = 0;
  long length = 0;

  long end() const { return length > 0 ? location + length : location; }
  bool isEmpty() const { return length <= 0; }
  bool operator==(const GridPositionRange&) const = default;
};

class GridViewLayoutStrategy {
 public:
  virtual ~GridViewLayoutStrategy() = default;

  virtual long type() const = 0;
  virtual void setupItemSize(pf::Size itemSize, long itemSpacing, const pf::EdgeInsets& minEdgeInsets,
                             bool centeredGrid) = 0;
  virtual void rebaseWithItemCount(long count, const pf::Rect& bounds) = 0;
  virtual pf::Size contentSize() const = 0;
  virtual pf::Point originForItemAtPosition(long position) const = 0;
  // -1 when the point lies on no item (spacing, margins, right and bottom edges).
  virtual long itemPositionFromLocation(pf::Point location) const = 0;
  virtual GridPositionRange rangeOfPositionsInBoundsFromOffset(pf::Point offset) const = 0;
  // Whether the scroll view pages with this strategy (a property of the strategy's class).
  virtual bool requiresEnablingPaging() const = 0;
};
