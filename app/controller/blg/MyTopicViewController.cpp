#include "app/controller/blg/MyTopicViewController.h"

#include "app/controller/blg/MyTopicTableViewController.h"
#include "app/controller/cmn/CmnEmbeddedChild.h"

MyTopicViewController::MyTopicViewController() = default;
MyTopicViewController::MyTopicViewController(std::string nibName) : BlgBaseViewController(std::move(nibName)) {}
MyTopicViewController::~MyTopicViewController() = default;

void MyTopicViewController::viewDidLoad() {
  BlgBaseViewController::viewDidLoad();
  setNavgationItemTitle(kTitle);
  list_ = std::make_shared<MyTopicTableViewController>();
  CmnEmbeddedChild::embed(*this, list_, listContainer.lock());
  myTopicTableViewCon = list_;
  list_->userID = userID;
  list_->willBeginRefreshData();
  list_->refreshData();
}
