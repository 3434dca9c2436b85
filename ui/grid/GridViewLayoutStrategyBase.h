#pragma once
// The state every layout strategy shares (the inputs, the bounds of the last rebase, the margins in use
// and the content size) and the margin rule: a centred grid splits the free room into whole-point
// margins no smaller than the minimum insets; otherwise the minimum insets are the margins.

#include "ui/grid/GridViewLayoutStrategy.h"

class GridViewLayoutStrategyBase : public GridViewLayoutStrategy {
 public:
  long type() const override { return type_; }
  void setupItemSize(pf::Size itemSize, long itemSpacing, const pf::EdgeInsets& minEdgeInsets,
                     bool centeredGrid) override;
  pf::Size contentSize() const override { return contentSize_; }

  pf::Size itemSize() const { return itemSize_; }
  long itemSpacing() const { return itemSpacing_; }
  const pf::EdgeInsets& minEdgeInsets() const { return minEdgeInsets_; }
  bool centeredGrid() const { return centeredGrid_; }
  long itemCount() const { return itemCount_; }
  const pf::EdgeInsets& edgeInsets() const { return edgeInsets_; }
  const pf::Rect& gridBounds() const { return gridBounds_; }

  // Margins and content size around a block of items of this size (margins left out).
  void setEdgeAndContentSizeFromAbsoluteContentSize(pf::Size actual);

 protected:
  explicit GridViewLayoutStrategyBase(long type) : type_(type) {}
  void setType(long type) { type_ = type; }
  void storeCountAndBounds(long count, const pf::Rect& bounds);
  void setContentSize(pf::Size size) { contentSize_ = size; }
  // Item width or height plus the spacing: the step from one item to the next.
  double columnStep() const { return itemSize_.width + double(itemSpacing_); }
  double rowStep() const { return itemSize_.height + double(itemSpacing_); }
  // How many items of this step fit into the room, at least one (also when the step is not positive).
  static long itemsFitting(double step, long spacing, double room);

 private:
  long type_;
  pf::Size itemSize_;
  long itemSpacing_ = 0;
  pf::EdgeInsets minEdgeInsets_;
  bool centeredGrid_ = false;
  long itemCount_ = 0;
  pf::EdgeInsets edgeInsets_;
  pf::Rect gridBounds_;
  pf::Size contentSize_;
};
