#include "app/controller/blg/MyCollectViewController.h"

#include "app/controller/blg/MyCollectTableViewController.h"
#include "app/controller/cmn/CmnEmbeddedChild.h"

MyCollectViewController::MyCollectViewController() = default;
MyCollectViewController::MyCollectViewController(std::string nibName) : BlgBaseViewController(std::move(nibName)) {}
MyCollectViewController::~MyCollectViewController() = default;

void MyCollectViewController::viewDidLoad() {
  BlgBaseViewController::viewDidLoad();
  setNavgationItemTitle(kTitle);
  list_ = std::make_shared<MyCollectTableViewController>();
  CmnEmbeddedChild::embed(*this, list_, listContainer.lock());
  myCollectTableViewCon = list_;
  list_->userID = userID;
  list_->setParentController(parentController);
  list_->willBeginRefreshData();
  list_->refreshData();
}
