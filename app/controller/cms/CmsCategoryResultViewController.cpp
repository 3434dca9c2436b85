#include "app/controller/cms/CmsCategoryResultViewController.h"

#include "app/controller/cmn/CmnEmbeddedChild.h"
#include "app/controller/cms/CmsCategoryResultTableViewController.h"

CmsCategoryResultViewController::CmsCategoryResultViewController() = default;
CmsCategoryResultViewController::CmsCategoryResultViewController(std::string nibName)
    : BaseViewController(std::move(nibName)) {}
CmsCategoryResultViewController::~CmsCategoryResultViewController() = default;

void CmsCategoryResultViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  setNavgationItemTitle(categoryName.value_or(""));
  auto list = std::make_shared<CmsCategoryResultTableViewController>();
  list->categoryID = categoryID;
  CmnEmbeddedChild::embed(*this, list, listContainer.lock());
  categoryResultTableViewController = list;
  list->refreshData();
}
