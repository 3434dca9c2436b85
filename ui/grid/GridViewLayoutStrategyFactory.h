#pragma once
// Makes a layout strategy from its type number: 0 vertical, 1 horizontal, 2 paged left to right,
// 3 paged top to bottom; any other number makes none.

#include <memory>

class GridViewLayoutStrategy;

class GridViewLayoutStrategyFactory {
 public:
  static std::shared_ptr<GridViewLayoutStrategy> strategyFromType(long type);
};
