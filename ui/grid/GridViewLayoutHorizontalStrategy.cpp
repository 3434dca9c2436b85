#include "ui/grid/GridViewLayoutHorizontalStrategy.h"

#include <algorithm>
#include <cmath>

void GridViewLayoutHorizontalStrategy::rebaseWithItemCount(long count, const pf::Rect& bounds) {
  storeCountAndBounds(count, bounds);
  const double available = bounds.height() - minEdgeInsets().top - minEdgeInsets().bottom;
  numberOfItemsPerColumn_ = itemsFitting(rowStep(), itemSpacing(), available);
  const long columns = long(std::ceil(double(count) / double(numberOfItemsPerColumn_)));
  const double spacing = double(itemSpacing());
  const pf::Size actual{
      std::ceil(float(double(columns) * columnStep())) - spacing,
      std::ceil(float(double(std::min(count, numberOfItemsPerColumn_)) * rowStep())) - spacing};
  setEdgeAndContentSizeFromAbsoluteContentSize(actual);
}

pf::Point GridViewLayoutHorizontalStrategy::originForItemAtPosition(long position) const {
  if (numberOfItemsPerColumn_ <= 0 || position < 0) return {};
  const long column = position / numberOfItemsPerColumn_;
  const long row = position % numberOfItemsPerColumn_;
  return {double(column) * columnStep() + edgeInsets().left, double(row) * rowStep() + edgeInsets().top};
}

long GridViewLayoutHorizontalStrategy::itemPositionFromLocation(pf::Point location) const {
  if (!(columnStep() > 0) || !(rowStep() > 0) || numberOfItemsPerColumn_ <= 0) return -1;
  const long column = long((location.x - edgeInsets().left) / columnStep());
  const long row = long((location.y - edgeInsets().top) / rowStep());
  const long position = row + column * numberOfItemsPerColumn_;
  if (position >= itemCount() || position < 0) return -1;
  return pf::Rect(originForItemAtPosition(position), itemSize()).contains(location) ? position : -1;
}

GridPositionRange GridViewLayoutHorizontalStrategy::rangeOfPositionsInBoundsFromOffset(
    pf::Point offset) const {
  const double columnWidth = columnStep();
  if (!(columnWidth > 0)) return {};
  const double x = std::max(offset.x, 0.0);
  const long firstColumn = std::max(0L, long(x / columnWidth) - 1);
  const long lastColumn = long(std::ceil(float((x + gridBounds().width()) / columnWidth)));
  const long location = firstColumn * numberOfItemsPerColumn_;
  return {location, numberOfItemsPerColumn_ * (lastColumn + 1) - location};
}
