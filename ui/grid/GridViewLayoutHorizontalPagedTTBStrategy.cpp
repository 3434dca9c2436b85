#include "ui/grid/GridViewLayoutHorizontalPagedTTBStrategy.h"

long GridViewLayoutHorizontalPagedTTBStrategy::positionForItemAtColumn(long column, long row, long page) const {
  return row + column * numberOfItemsPerColumn() + page * numberOfItemsPerPage();
}

long GridViewLayoutHorizontalPagedTTBStrategy::columnForItemAtPosition(long position) const {
  if (numberOfItemsPerPage() <= 0) return 0;
  return (position % numberOfItemsPerPage()) / numberOfItemsPerColumn();
}

long GridViewLayoutHorizontalPagedTTBStrategy::rowForItemAtPosition(long position) const {
  if (numberOfItemsPerPage() <= 0) return 0;
  return (position % numberOfItemsPerPage()) % numberOfItemsPerColumn();
}
