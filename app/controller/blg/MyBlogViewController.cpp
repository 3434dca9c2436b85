#include "app/controller/blg/MyBlogViewController.h"

#include "app/controller/blg/MyBlogTableViewController.h"
#include "app/controller/cmn/CmnEmbeddedChild.h"

MyBlogViewController::MyBlogViewController() = default;
MyBlogViewController::MyBlogViewController(std::string nibName) : BlgBaseViewController(std::move(nibName)) {}
MyBlogViewController::~MyBlogViewController() = default;

void MyBlogViewController::viewDidLoad() {
  BlgBaseViewController::viewDidLoad();
  setNavgationItemTitle(kTitle);
  list_ = std::make_shared<MyBlogTableViewController>();
  CmnEmbeddedChild::embed(*this, list_, listContainer.lock());
  myBlogTableViewCon = list_;
  list_->userID = userID;
  list_->setParentController(parentController);
  list_->willBeginRefreshData();
  list_->refreshData();
}
