#pragma once
// What a grid asks and tells while two fingers pinch, turn and move an item: the item's full size and
// full-size view, and the start, the opening at full size and the end of the transformation.

#include <memory>

#include "platform/graphics/Size.h"
#include "platform/ui/Application.h"

namespace pf {
class View;
}
class GridView;
class GridViewCell;

class GridViewTransformationDelegate {
 public:
  virtual ~GridViewTransformationDelegate() = default;
  virtual pf::Size sizeInFullSizeForCell(GridView& gridView, GridViewCell& cell, long index,
                                         pf::Application::InterfaceOrientation orientation) = 0;
  virtual std::shared_ptr<pf::View> fullSizeViewForCell(GridView& gridView, GridViewCell& cell, long index) = 0;
  virtual void didStartTransformingCell(GridView& /*gridView*/, GridViewCell& /*cell*/) {}
  virtual void didEnterFullSizeForCell(GridView& /*gridView*/, GridViewCell& /*cell*/) {}
  virtual void didEndTransformingCell(GridView& /*gridView*/, GridViewCell& /*cell*/) {}
};
