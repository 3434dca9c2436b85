#include "app/controller/blg/BlgCommentViewController.h"

#include "app/controller/blg/BlgCommentEditViewController.h"
#include "app/controller/blg/BlgCommentTableViewController.h"
#include "app/controller/cmn/CmnEmbeddedChild.h"
#include "app/util/ViewUtil.h"
#include "platform/ui/NavigationController.h"

BlgCommentViewController::BlgCommentViewController() = default;
BlgCommentViewController::BlgCommentViewController(std::string nibName) : BlgBaseViewController(std::move(nibName)) {}
BlgCommentViewController::~BlgCommentViewController() = default;

void BlgCommentViewController::viewDidLoad() {
  BlgBaseViewController::viewDidLoad();
  setNavgationItemTitle(kTitle);
  setRightBtnWithBgImageN("", "", std::string(kTitle), std::nullopt);
  auto list = std::make_shared<BlgCommentTableViewController>();
  CmnEmbeddedChild::embed(*this, list, listContainer.lock());
  list->blogID = blogID;
  commentTableViewController = list;
  reloadList();
}

void BlgCommentViewController::viewWillAppear(bool animated) {
  BlgBaseViewController::viewWillAppear(animated);
  if (sentWatcher_.takeSent()) reloadList();
}

void BlgCommentViewController::reloadList() {
  auto list = commentTableViewController.lock();
  if (!list) return;
  list->willBeginRefreshData();
  list->refreshData();
}

void BlgCommentViewController::rightBtnPressed() {
  auto editor = std::dynamic_pointer_cast<BlgCommentEditViewController>(
      ViewUtil::viewControllerFromNibOfClass(BlgCommentEditViewController::kClassName));
  auto navigation = navigationController();
  if (!editor || !navigation) return;
  editor->blogID = blogID;
  editor->parentController = parentController;
  navigation->pushViewController(editor, true);
}
