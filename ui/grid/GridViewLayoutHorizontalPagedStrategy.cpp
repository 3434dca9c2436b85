#include "ui/grid/GridViewLayoutHorizontalPagedStrategy.h"

#include <algorithm>
#include <cmath>

void GridViewLayoutHorizontalPagedStrategy::rebaseWithItemCount(long count, const pf::Rect& bounds) {
  GridViewLayoutHorizontalStrategy::rebaseWithItemCount(count, bounds);
  const double available = double(long(bounds.width() - minEdgeInsets().right - minEdgeInsets().left));
  numberOfItemsPerRow_ = itemsFitting(columnStep(), itemSpacing(), available);
  numberOfItemsPerPage_ = numberOfItemsPerRow_ * numberOfItemsPerColumn();
  numberOfPages_ = long(std::ceil(double(count) / double(numberOfItemsPerPage_)));
  const double spacing = double(itemSpacing());
  const pf::Size onePage{double(numberOfItemsPerRow_) * columnStep() - spacing,
                         double(numberOfItemsPerColumn()) * rowStep() - spacing};
  setEdgeAndContentSizeFromAbsoluteContentSize(onePage);
  // The margins repeat on every page: the content is whole pages.
  setContentSize({bounds.width() * double(numberOfPages_), bounds.height()});
}

long GridViewLayoutHorizontalPagedStrategy::pageForItemAtIndex(long index) const {
  if (numberOfItemsPerPage_ <= 0) return 0;
  return std::max(0L, long(std::floor(double(index) / double(numberOfItemsPerPage_))));
}

pf::Point GridViewLayoutHorizontalPagedStrategy::originForItemAtColumn(long column, long row, long page) const {
  return {double(page) * gridBounds().width() + double(column) * columnStep() + edgeInsets().left,
          double(row) * rowStep() + edgeInsets().top};
}

pf::Point GridViewLayoutHorizontalPagedStrategy::originForItemAtPosition(long position) const {
  if (numberOfItemsPerPage_ <= 0) return {};
  const long page = pageForItemAtIndex(position);
  const long within = position % numberOfItemsPerPage_;
  return originForItemAtColumn(columnForItemAtPosition(within), rowForItemAtPosition(within), page);
}

long GridViewLayoutHorizontalPagedStrategy::pageAtX(double x) const {
  const double width = gridBounds().width();
  // A grid without width has only its first page.
  if (!(width > 0) || x <= 0) return 0;
  long page = std::max(0L, long(std::ceil(x / width)) - 1);
  while (page > 0 && double(page) * width >= x) --page;
  while (double(page + 1) * width < x) ++page;
  return page;
}

long GridViewLayoutHorizontalPagedStrategy::itemPositionFromLocation(pf::Point location) const {
  if (!(columnStep() > 0) || !(rowStep() > 0) || numberOfItemsPerPage_ <= 0) return -1;
  const long page = pageAtX(location.x);
  const pf::Point first = originForItemAtColumn(0, 0, page);
  const long column = long((location.x - first.x) / columnStep());
  const long row = long((location.y - first.y) / rowStep());
  const long position = positionForItemAtColumn(column, row, page);
  if (position >= itemCount() || position < 0) return -1;
  return pf::Rect(originForItemAtPosition(position), itemSize()).contains(location) ? position : -1;
}

GridPositionRange GridViewLayoutHorizontalPagedStrategy::rangeOfPositionsInBoundsFromOffset(
    pf::Point offset) const {
  const double width = gridBounds().width();
  if (!(width > 0) || !(columnStep() > 0) || !(rowStep() > 0)) return {};
  const long page = long(std::floor(float(std::max(offset.x, 0.0) / width)));
  const long location = std::max(0L, (page - 1) * numberOfItemsPerPage_);
  const long end = std::min(location + 3 * numberOfItemsPerPage_, itemCount());
  // Past the last page (items just removed) nothing is to load.
  return {location, std::max(0L, end - location)};
}
