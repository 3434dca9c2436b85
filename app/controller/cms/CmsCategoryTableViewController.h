#pragma once
// The base of the category lists (the fixed left column and the panels): one row per category, taken
// from the parent category each time the list appears. Selecting does nothing here.
//
// Main thread only.

#include <memory>
#include <vector>

#include "app/controller/cmn/BaseTableViewController.h"

class Category;

class CmsCategoryTableViewController : public BaseTableViewController {
  PF_OBJECT(CmsCategoryTableViewController, BaseTableViewController)

  static constexpr double kRowHeight = 60;
  static constexpr char kCellBackground[] = "CMS_CATE_cell_bg_2.png";

  std::vector<std::shared_ptr<Category>> categoryArr;
  std::shared_ptr<Category> parentCategory;

  void viewWillAppear(bool animated) override;
  long numberOfRowsInSection(pf::TableView& tableView, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& tableView,
                                                           const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;

 protected:
  // A row for the category: with its count when it has sub-categories; with the selected picture
  // behind it when asked.
  static std::shared_ptr<pf::TableViewCell> categoryCell(pf::TableView& tableView, const Category& category,
                                                         bool selectedPicture);
  // A row with the name alone, dequeued under the identifier.
  static std::shared_ptr<pf::TableViewCell> plainCell(pf::TableView& tableView, const std::string& identifier,
                                                      const std::string& name, bool selectedPicture);
  std::shared_ptr<Category> categoryAt(long index) const;
};
