#include "ui/grid/GridViewLayoutHorizontalPagedLTRStrategy.h"

long GridViewLayoutHorizontalPagedLTRStrategy::positionForItemAtColumn(long column, long row, long page) const {
  return column + row * numberOfItemsPerRow() + page * numberOfItemsPerPage();
}

long GridViewLayoutHorizontalPagedLTRStrategy::columnForItemAtPosition(long position) const {
  if (numberOfItemsPerPage() <= 0) return 0;
  return (position % numberOfItemsPerPage()) % numberOfItemsPerRow();
}

long GridViewLayoutHorizontalPagedLTRStrategy::rowForItemAtPosition(long position) const {
  if (numberOfItemsPerPage() <= 0) return 0;
  return (position % numberOfItemsPerPage()) / numberOfItemsPerRow();
}
