#include "ui/grid/GridViewLayoutVerticalStrategy.h"

#include <algorithm>
#include <cmath>

void GridViewLayoutVerticalStrategy::rebaseWithItemCount(long count, const pf::Rect& bounds) {
  storeCountAndBounds(count, bounds);
  const double available = bounds.width() - minEdgeInsets().right - minEdgeInsets().left;
  numberOfItemsPerRow_ = itemsFitting(columnStep(), itemSpacing(), available);
  const long rows = long(std::ceil(double(count) / double(numberOfItemsPerRow_)));
  const double spacing = double(itemSpacing());
  const pf::Size actual{
      std::ceil(float(double(std::min(count, numberOfItemsPerRow_)) * columnStep())) - spacing,
      std::ceil(float(double(rows) * rowStep())) - spacing};
  setEdgeAndContentSizeFromAbsoluteContentSize(actual);
}

pf::Point GridViewLayoutVerticalStrategy::originForItemAtPosition(long position) const {
  if (numberOfItemsPerRow_ <= 0 || position < 0) return {};
  const long column = position % numberOfItemsPerRow_;
  const long row = position / numberOfItemsPerRow_;
  return {double(column) * columnStep() + edgeInsets().left, double(row) * rowStep() + edgeInsets().top};
}

long GridViewLayoutVerticalStrategy::itemPositionFromLocation(pf::Point location) const {
  // Without a step there is no cell to find the point in.
  if (!(columnStep() > 0) || !(rowStep() > 0) || numberOfItemsPerRow_ <= 0) return -1;
  const long column = long((location.x - edgeInsets().left) / columnStep());
  const long row = long((location.y - edgeInsets().top) / rowStep());
  const long position = column + row * numberOfItemsPerRow_;
  if (position >= itemCount() || position < 0) return -1;
  return pf::Rect(originForItemAtPosition(position), itemSize()).contains(location) ? position : -1;
}

GridPositionRange GridViewLayoutVerticalStrategy::rangeOfPositionsInBoundsFromOffset(pf::Point offset) const {
  const double rowHeight = rowStep();
  if (!(rowHeight > 0)) return {};
  const double y = std::max(offset.y, 0.0);
  const long firstRow = std::max(0L, long(y / rowHeight) - 1);
  const long lastRow = long(std::ceil(float((y + gridBounds().height()) / rowHeight)));
  const long location = firstRow * numberOfItemsPerRow_;
  return {location, numberOfItemsPerRow_ * (lastRow + 1) - location};
}
