#pragma once
// A screen that is one table: its view is the table (made at the application frame in its style, or
// loaded from its interface file, whose view must be a table), and it is the table's data source and
// delegate. It reloads the table when it first appears and carries the table's pull-to-refresh
// control. Subclasses answer the data source and delegate questions. Main thread only.

#include <memory>
#include <string>

#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

namespace pf {

class RefreshControl;

class TableViewController : public ViewController, public TableViewDataSource, public TableViewDelegate {
  PF_OBJECT(TableViewController, ViewController)

  explicit TableViewController(TableView::Style style = TableView::Style::Plain);
  // Loaded from the interface file of that name.
  explicit TableViewController(std::string nibName);

  // The view, loaded on first use.
  std::shared_ptr<TableView> tableView();
  // Pull to refresh on the table; null for none. Kept until the view loads.
  const std::shared_ptr<RefreshControl>& refreshControl() const { return refreshControl_; }
  void setRefreshControl(std::shared_ptr<RefreshControl> control);

  void loadView() override;
  void viewWillAppear(bool animated) override;

  long numberOfRowsInSection(TableView& tableView, long section) override;
  std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) override;

 private:
  void adoptTable(const std::shared_ptr<TableView>& table);

  TableView::Style style_ = TableView::Style::Plain;
  std::shared_ptr<RefreshControl> refreshControl_;
  bool reloadedOnce_ = false;
};

}  // namespace pf
