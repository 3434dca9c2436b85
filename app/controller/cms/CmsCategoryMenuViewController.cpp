#include "app/controller/cms/CmsCategoryMenuViewController.h"

#include "app/controller/cmn/CmnEmbeddedChild.h"
#include "app/controller/cms/CmsCategoryMenuTableViewController.h"

CmsCategoryMenuViewController::CmsCategoryMenuViewController() = default;
CmsCategoryMenuViewController::CmsCategoryMenuViewController(std::string nibName)
    : BaseViewController(std::move(nibName)) {}
CmsCategoryMenuViewController::~CmsCategoryMenuViewController() = default;

void CmsCategoryMenuViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  auto table = std::make_shared<CmsCategoryMenuTableViewController>();
  CmnEmbeddedChild::embed(*this, table, listContainer.lock());
  categoryMenuTableViewController = table;
}

void CmsCategoryMenuViewController::viewWillAppear(bool animated) {
  BaseViewController::viewWillAppear(animated);
  if (auto table = categoryMenuTableViewController.lock()) table->parentController = parentController;
}
