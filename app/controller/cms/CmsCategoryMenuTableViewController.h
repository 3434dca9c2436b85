#pragma once
// The fixed left column of the categories screen: the top-level categories. Choosing one opens its
// panel of sub-categories in place of every panel shown.
//
// Main thread only.

#include <memory>

#include "app/controller/cms/CmsCategoryTableViewController.h"

class StackedPanelsController;

class CmsCategoryMenuTableViewController : public CmsCategoryTableViewController {
  PF_OBJECT(CmsCategoryMenuTableViewController, CmsCategoryTableViewController)

  // Width of a panel on a screen 320 points wide.
  static constexpr double kPanelWidth = 200;

  std::weak_ptr<StackedPanelsController> stackViewController;
  std::weak_ptr<pf::ViewController> parentController;

  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& tableView,
                                                           const pf::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
};
