#include "app/controller/blg/MyAttentionViewController.h"

#include "app/controller/blg/MyAttentionTableViewController.h"
#include "app/controller/cmn/CmnEmbeddedChild.h"

MyAttentionViewController::MyAttentionViewController() = default;
MyAttentionViewController::MyAttentionViewController(std::string nibName) : BlgBaseViewController(std::move(nibName)) {}
MyAttentionViewController::~MyAttentionViewController() = default;

void MyAttentionViewController::viewDidLoad() {
  BlgBaseViewController::viewDidLoad();
  setNavgationItemTitle(kTitle);
  list_ = std::make_shared<MyAttentionTableViewController>();
  CmnEmbeddedChild::embed(*this, list_, listContainer.lock());
  attentionTableViewCon = list_;
  list_->userID = userID;
  list_->willBeginRefreshData();
  list_->refreshData();
}
