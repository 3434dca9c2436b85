#pragma once
// What a grid tells its action delegate: taps on items and on empty space, delete requests while
// editing, changes of edit mode and every scroll step once the items in view are loaded.

class GridView;

class GridViewActionDelegate {
 public:
  virtual ~GridViewActionDelegate() = default;
  virtual void didTapOnItemAtIndex(GridView& gridView, long index) = 0;
  virtual void GridViewDidTapOnEmptySpace(GridView& /*gridView*/) {}
  // A delegate that takes delete requests answers true here; only then can the grid enter edit mode.
  virtual bool handlesDeleteRequests() const { return false; }
  virtual void processDeleteActionForItemAtIndex(GridView& /*gridView*/, long /*index*/) {}
  virtual void changedEdit(GridView& /*gridView*/, bool /*edit*/) {}
  virtual void GridViewDidScroll(GridView& /*gridView*/) {}
};
