#include "app/controller/blg/MyfansViewController.h"

#include "app/controller/blg/MyfansTableViewController.h"
#include "app/controller/cmn/CmnEmbeddedChild.h"

MyfansViewController::MyfansViewController() = default;
MyfansViewController::MyfansViewController(std::string nibName) : BlgBaseViewController(std::move(nibName)) {}
MyfansViewController::~MyfansViewController() = default;

void MyfansViewController::viewDidLoad() {
  BlgBaseViewController::viewDidLoad();
  setNavgationItemTitle(kTitle);
  list_ = std::make_shared<MyfansTableViewController>();
  CmnEmbeddedChild::embed(*this, list_, listContainer.lock());
  fansTableViewCon = list_;
  list_->userID = userID;
  list_->setParentController(parentController);
  list_->willBeginRefreshData();
  list_->refreshData();
}
