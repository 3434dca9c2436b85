#pragma once
// The module's home tab: the followed people's blogs, a title that turns its refresh icon and reloads
// on a tap, and a right button that opens the composer. After a blog, repost or comment was sent it
// reloads when it shows again, so the learner's own post is at the top. It lets the module root unlock the side panel
// while it shows and lock it before it pushes another screen.
//
// Main thread only.

#include <memory>

#include "app/controller/blg/BlgBaseViewController.h"
#include "app/controller/blg/BlgSentWatcher.h"
#include "app/controller/cmn/BaseTableViewControllerdelegate.h"

namespace pf {
class ImageView;
class View;
}  // namespace pf
class BlgAllTableViewController;
class BlgAllViewControllerDelegate;

class BlgAllViewController : public BlgBaseViewController, public BaseTableViewControllerdelegate {
  PF_OBJECT(BlgAllViewController, BlgBaseViewController)

  BlgAllViewController();
  explicit BlgAllViewController(std::string nibName);
  ~BlgAllViewController() override;

  static constexpr char kTitle[] = "微博首页";
  static constexpr char kRotationKey[] = "rotationAnimation";

  std::shared_ptr<pf::ImageView> refreshImgView;
  std::weak_ptr<BlgAllTableViewController> allTableViewController;
  // Where the list is laid, from the interface file.
  std::weak_ptr<pf::View> listContainer;
  std::weak_ptr<BlgAllViewControllerDelegate> blgAllDelegate;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void refreshBtnPressedAndAnimationView();
  void rightBtnPressed() override;
  void disableAppNavigator();
  void tableViewDidSelectRow(const pf::IndexPath& indexPath) override;

 private:
  void installTitleView();
  void reloadList();
  std::shared_ptr<BlgAllTableViewController> list_;
  BlgSentWatcher sentWatcher_;
};
