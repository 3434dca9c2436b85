#include "app/controller/cms/CmsCategoryResultViewController.h"

#include "app/controller/cms/CmsCategoryResultTableViewController.h"
#include "app/controller/cms/CmsEmbeddedList.h"

CmsCategoryResultViewController::CmsCategoryResultViewController() = default;
CmsCategoryResultViewController::CmsCategoryResultViewController(std::string nibName)
    : BaseViewController(std::move(nibName)) {}
CmsCategoryResultViewController::~CmsCategoryResultViewController() = default;

void CmsCategoryResultViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  setNavgationItemTitle(categoryName.value_or(""));
  auto list = std::make_shared<CmsCategoryResultTableViewController>();
  list->categoryID = categoryID;
  CmsEmbeddedList::embed(*this, list, listContainer.lock());
  categoryResultTableViewController = list;
  list->refreshData();
}
