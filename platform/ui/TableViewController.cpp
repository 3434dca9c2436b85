#include "platform/ui/TableViewController.h"

#include "platform/foundation/Error.h"
#include "platform/ui/RefreshControl.h"
#include "platform/ui/Screen.h"

namespace pf {

TableViewController::TableViewController(TableView::Style style) : style_(style) {}

TableViewController::TableViewController(std::string nibName) : ViewController(std::move(nibName)) {}

std::shared_ptr<TableView> TableViewController::tableView() {
  return std::dynamic_pointer_cast<TableView>(view());
}

void TableViewController::setRefreshControl(std::shared_ptr<RefreshControl> control) {
  refreshControl_ = std::move(control);
  if (isViewLoaded()) tableView()->setRefreshControl(refreshControl_);
}

void TableViewController::loadView() {
  if (nibName().empty()) {
    adoptTable(std::make_shared<TableView>(Screen::mainScreen().applicationFrame(), style_));
    return;
  }
  ViewController::loadView();
  auto table = std::dynamic_pointer_cast<TableView>(view());
  if (!table) {
    throw ContractViolation("The interface file " + nibName() + " gives " + className() +
                            " a view that is not a table");
  }
  adoptTable(table);
}

void TableViewController::adoptTable(const std::shared_ptr<TableView>& table) {
  if (!table->dataSource()) table->setDataSource(sharedAs<TableViewController>());
  if (!table->delegate()) table->setDelegate(sharedAs<TableViewController>());
  if (refreshControl_) table->setRefreshControl(refreshControl_);
  setView(table);
}

void TableViewController::viewWillAppear(bool animated) {
  ViewController::viewWillAppear(animated);
  if (reloadedOnce_) return;
  reloadedOnce_ = true;
  tableView()->reloadData();
}

long TableViewController::numberOfRowsInSection(TableView&, long) {
  return 0;
}

std::shared_ptr<TableViewCell> TableViewController::cellForRowAtIndexPath(TableView&, const IndexPath&) {
  return std::make_shared<TableViewCell>();
}

}  // namespace pf
