#include "app/controller/cms/CmsCategoryMenuTableViewController.h"

#include "app/components/stackedpanels/StackedPanelsController.h"
#include "app/controller/cms/CmsCategoryDataTableViewController.h"
#include "app/controller/cms/CmsCategoryDataViewController.h"
#include "app/model/cms/Category.h"
#include "app/util/ViewUtil.h"
#include "platform/ui/Screen.h"

std::shared_ptr<pf::TableViewCell> CmsCategoryMenuTableViewController::cellForRowAtIndexPath(
    pf::TableView& tableView, const pf::IndexPath& indexPath) {
  auto category = categoryAt(indexPath.row);
  if (!category) return std::make_shared<pf::TableViewCell>();
  return categoryCell(tableView, *category, true);
}

void CmsCategoryMenuTableViewController::didSelectRowAtIndexPath(pf::TableView&, const pf::IndexPath& indexPath) {
  auto category = categoryAt(indexPath.row);
  auto stack = stackViewController.lock();
  if (!category || !stack) return;
  auto panel = std::dynamic_pointer_cast<CmsCategoryDataViewController>(
      ViewUtil::viewControllerFromNibOfClass(CmsCategoryDataViewController::kClassName));
  if (!panel) return;
  panel->parentController = parentController;
  panel->view()->setFrame(
      pf::Rect(0, 0, pf::Screen::mainScreen().bounds().width() / 320 * kPanelWidth, tableView()->frame().height()));
  if (auto table = panel->categoryDataTableViewCon.lock()) {
    table->stackViewController = stack;
    table->parentCategory = category;
  }
  stack->addViewInSlider(panel, sharedAs<pf::ViewController>(), true);
}
