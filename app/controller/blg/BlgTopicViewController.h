#pragma once
// The module's topics tab: the menu button, the title "话题" and the list of all topics. It lets the
// module root unlock the side panel while it shows and lock it before the list pushes a topic.
//
// Main thread only.

#include <memory>

#include "app/controller/blg/BlgBaseViewController.h"
#include "app/controller/cmn/BaseTableViewControllerdelegate.h"

namespace pf {
class View;
}
class BlgTopicTableViewController;
class BlgTopicViewControllerDelegate;

class BlgTopicViewController : public BlgBaseViewController, public BaseTableViewControllerdelegate {
  PF_OBJECT(BlgTopicViewController, BlgBaseViewController)

  static constexpr char kTitle[] = "话题";

  BlgTopicViewController();
  explicit BlgTopicViewController(std::string nibName);
  ~BlgTopicViewController() override;

  std::weak_ptr<BlgTopicTableViewController> topicTableViewController;
  // Where the list is laid, from the interface file.
  std::weak_ptr<pf::View> listContainer;
  std::weak_ptr<BlgTopicViewControllerDelegate> blgTopicDelegate;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void tableViewDidSelectRow(const pf::IndexPath& indexPath) override;
};
