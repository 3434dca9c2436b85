#pragma once
// What a grid asks of its data source: the item count, the common item size and a cell per item
// (fresh or from the grid's reuse queue; the grid sets its frame, tag, edit state and delete block).

#include <memory>
#include <optional>

#include "platform/graphics/Size.h"
#include "platform/ui/Application.h"

class GridView;
class GridViewCell;

class GridViewDataSource {
 public:
  virtual ~GridViewDataSource() = default;
  virtual long numberOfItemsInGridView(GridView& gridView) = 0;
  virtual pf::Size sizeForItemsInInterfaceOrientation(GridView& gridView,
                                                      pf::Application::InterfaceOrientation orientation) = 0;
  virtual std::shared_ptr<GridViewCell> cellForItemAtIndex(GridView& gridView, long index) = 0;
  // Optional: nullopt (not answered) counts every item as deletable.
  virtual std::optional<bool> canDeleteItemAtIndex(GridView& /*gridView*/, long /*index*/) {
    return std::nullopt;
  }
};
