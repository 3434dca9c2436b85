#include "app/controller/cms/CmsCategoryDataTableViewController.h"

#include "app/components/stackedpanels/StackedPanelsController.h"
#include "app/controller/cms/CmsCategoryDataViewController.h"
#include "app/controller/cms/CmsCategoryResultViewController.h"
#include "app/controller/cms/CmsCategoryTableViewCell.h"
#include "app/model/cms/Category.h"
#include "app/util/ViewUtil.h"
#include "platform/ui/NavigationController.h"

long CmsCategoryDataTableViewController::numberOfRowsInSection(pf::TableView& tableView, long section) {
  return CmsCategoryTableViewController::numberOfRowsInSection(tableView, section) + 1;
}

std::shared_ptr<pf::TableViewCell> CmsCategoryDataTableViewController::cellForRowAtIndexPath(
    pf::TableView& tableView, const pf::IndexPath& indexPath) {
  if (indexPath.row == 0)
    return plainCell(tableView, CmsCategoryTableViewCell::kRootReuseIdentifier, kAllCourses, false);
  auto category = categoryAt(indexPath.row - 1);
  if (!category) return std::make_shared<pf::TableViewCell>();
  return categoryCell(tableView, *category, false);
}

void CmsCategoryDataTableViewController::didSelectRowAtIndexPath(pf::TableView&, const pf::IndexPath& indexPath) {
  if (indexPath.row == 0) {
    if (parentCategory) openCourses(*parentCategory);
    return;
  }
  auto category = categoryAt(indexPath.row - 1);
  if (!category) return;
  if (!category->childCategories.empty()) {
    openPanel(category);
    return;
  }
  openCourses(*category);
}

void CmsCategoryDataTableViewController::openPanel(const std::shared_ptr<Category>& category) {
  auto stack = stackViewController.lock();
  if (!stack) return;
  auto panel = std::dynamic_pointer_cast<CmsCategoryDataViewController>(
      ViewUtil::viewControllerFromNibOfClass(CmsCategoryDataViewController::kClassName));
  if (!panel) return;
  panel->view()->setFrame(tableView()->frame());
  panel->parentController = parentController;
  if (auto table = panel->categoryDataTableViewCon.lock()) {
    table->stackViewController = stack;
    table->parentCategory = category;
  }
  stack->addViewInSlider(panel, sharedAs<pf::ViewController>(), false);
}

void CmsCategoryDataTableViewController::openCourses(const Category& category) {
  auto screen = std::dynamic_pointer_cast<CmsCategoryResultViewController>(
      ViewUtil::viewControllerFromNibOfClass(CmsCategoryResultViewController::kClassName));
  auto parent = parentController.lock();
  auto navigation = parent ? parent->navigationController() : nullptr;
  if (!screen || !navigation) return;
  screen->categoryID = category.categoryId;
  screen->categoryName = category.categoryName;
  navigation->pushViewController(screen, true);
}
