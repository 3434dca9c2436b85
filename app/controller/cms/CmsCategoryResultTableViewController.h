#pragma once
// The courses of one category (and those below it), page by page; a tap opens a course by the
// catalogue's rule.
//
// Main thread only; pages are asked for on a global queue.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/cms/CmsCourseTableViewController.h"

class CmsCategoryResultTableViewController : public CmsCourseTableViewController {
  PF_OBJECT(CmsCategoryResultTableViewController, CmsCourseTableViewController)

  std::optional<std::string> categoryID;

  bool enableRefresh() const override { return true; }
  bool enableLoadmore() const override { return true; }
  bool displayNodataViewIfNeeded() const override { return true; }
  bool canLoadMore() const override;

  void viewDidLoad() override;
  bool refreshData() override;
  bool loadMore() override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
};
