#pragma once
// The left column of the categories screen around its list of top-level categories.
//
// Main thread only.

#include <memory>

#include "app/controller/cmn/BaseViewController.h"

namespace pf {
class View;
}
class CmsCategoryMenuTableViewController;

class CmsCategoryMenuViewController : public BaseViewController {
  PF_OBJECT(CmsCategoryMenuViewController, BaseViewController)

  CmsCategoryMenuViewController();
  explicit CmsCategoryMenuViewController(std::string nibName);
  ~CmsCategoryMenuViewController() override;

  std::weak_ptr<CmsCategoryMenuTableViewController> categoryMenuTableViewController;
  std::weak_ptr<pf::ViewController> parentController;
  std::weak_ptr<pf::View> listContainer;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
};
