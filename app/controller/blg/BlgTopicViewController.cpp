#include "app/controller/blg/BlgTopicViewController.h"

#include "app/controller/blg/BlgTopicTableViewController.h"
#include "app/controller/blg/BlgTopicViewControllerDelegate.h"
#include "app/controller/cmn/CmnEmbeddedChild.h"

BlgTopicViewController::BlgTopicViewController() = default;
BlgTopicViewController::BlgTopicViewController(std::string nibName) : BlgBaseViewController(std::move(nibName)) {}
BlgTopicViewController::~BlgTopicViewController() = default;

void BlgTopicViewController::viewDidLoad() {
  BlgBaseViewController::viewDidLoad();
  setShowBackBtn(false);
  setNavgationItemTitle(kTitle);
  auto list = std::make_shared<BlgTopicTableViewController>();
  CmnEmbeddedChild::embed(*this, list, listContainer.lock());
  list->baseTableViewDelegate = std::dynamic_pointer_cast<BaseTableViewControllerdelegate>(shared_from_this());
  list->parentController = parentController;
  topicTableViewController = list;
  list->willBeginRefreshData();
  list->refreshData();
}

void BlgTopicViewController::viewWillAppear(bool animated) {
  BlgBaseViewController::viewWillAppear(animated);
  // The root may hand itself over after the view loaded.
  if (auto list = topicTableViewController.lock()) list->parentController = parentController;
  if (auto root = blgTopicDelegate.lock()) root->blgTopicViewEnableAppNavigator();
}

void BlgTopicViewController::tableViewDidSelectRow(const pf::IndexPath&) {
  if (auto root = blgTopicDelegate.lock()) root->blgTopicViewDisableAppNavigator();
}
