#include "ui/grid/GridViewLayoutStrategyBase.h"

#include <algorithm>
#include <cmath>

void GridViewLayoutStrategyBase::setupItemSize(pf::Size itemSize, long itemSpacing,
                                               const pf::EdgeInsets& minEdgeInsets, bool centeredGrid) {
  itemSize_ = itemSize;
  itemSpacing_ = itemSpacing;
  minEdgeInsets_ = minEdgeInsets;
  centeredGrid_ = centeredGrid;
}

void GridViewLayoutStrategyBase::storeCountAndBounds(long count, const pf::Rect& bounds) {
  itemCount_ = count;
  gridBounds_ = bounds;
}

void GridViewLayoutStrategyBase::setEdgeAndContentSizeFromAbsoluteContentSize(pf::Size actual) {
  if (centeredGrid_) {
    // The difference in single precision, the halving and floor in double, as the layout always did.
    const float freeWidth = float(gridBounds_.width()) - float(actual.width);
    const float freeHeight = float(gridBounds_.height()) - float(actual.height);
    const double widthSpace = double(long(std::floor(double(freeWidth) * 0.5)));
    const double heightSpace = double(long(std::floor(double(freeHeight) * 0.5)));
    edgeInsets_.left = std::trunc(std::max(widthSpace, minEdgeInsets_.left));
    edgeInsets_.right = std::trunc(std::max(widthSpace, minEdgeInsets_.right));
    edgeInsets_.top = std::trunc(std::max(heightSpace, minEdgeInsets_.top));
    edgeInsets_.bottom = std::trunc(std::max(heightSpace, minEdgeInsets_.bottom));
  } else {
    edgeInsets_ = minEdgeInsets_;
  }
  contentSize_ = {actual.width + edgeInsets_.left + edgeInsets_.right,
                  actual.height + edgeInsets_.top + edgeInsets_.bottom};
}

long GridViewLayoutStrategyBase::itemsFitting(double step, long spacing, double room) {
  // A step of zero or less would fit items for ever: one item then.
  if (!(step > 0)) return 1;
  const auto fits = [&](long n) { return double(n) * step - double(spacing) <= room; };
  long n = std::max(1L, long(std::floor((room + double(spacing)) / step)));
  while (n > 1 && !fits(n)) --n;
  while (fits(n + 1)) ++n;
  return n;
}
