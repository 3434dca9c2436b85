#include "ui/grid/GridViewLayoutStrategyFactory.h"

#include "ui/grid/GridViewLayoutHorizontalPagedLTRStrategy.h"
#include "ui/grid/GridViewLayoutHorizontalPagedTTBStrategy.h"
#include "ui/grid/GridViewLayoutVerticalStrategy.h"

std::shared_ptr<GridViewLayoutStrategy> GridViewLayoutStrategyFactory::strategyFromType(long type) {
  switch (type) {
    case GridViewLayoutVerticalStrategy::kType:
      return std::make_shared<GridViewLayoutVerticalStrategy>();
    case GridViewLayoutHorizontalStrategy::kType:
      return std::make_shared<GridViewLayoutHorizontalStrategy>();
    case GridViewLayoutHorizontalPagedLTRStrategy::kType:
      return std::make_shared<GridViewLayoutHorizontalPagedLTRStrategy>();
    case GridViewLayoutHorizontalPagedTTBStrategy::kType:
      return std::make_shared<GridViewLayoutHorizontalPagedTTBStrategy>();
    default:
      return nullptr;
  }
}
