#pragma once
// A panel's list: "全部课程" (the courses of the panel's own category) and then its sub-categories.
// One with sub-categories opens a further panel at the right, dropping those beyond this one; one
// without opens its courses.
//
// Main thread only.

#include <memory>

#include "app/controller/cms/CmsCategoryTableViewController.h"

class StackedPanelsController;

class CmsCategoryDataTableViewController : public CmsCategoryTableViewController {
  PF_OBJECT(CmsCategoryDataTableViewController, CmsCategoryTableViewController)

  static constexpr char kAllCourses[] = "全部课程";

  std::weak_ptr<StackedPanelsController> stackViewController;
  std::weak_ptr<pf::ViewController> parentController;

  long numberOfRowsInSection(pf::TableView& tableView, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& tableView,
                                                           const pf::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;

 private:
  void openPanel(const std::shared_ptr<Category>& category);
  void openCourses(const Category& category);
};
