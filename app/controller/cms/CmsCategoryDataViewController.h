#pragma once
// A panel of the category stack: a shaded frame around its list of sub-categories.
//
// Main thread only.

#include <memory>

#include "platform/ui/ViewController.h"

namespace pf {
class View;
}
class CmsCategoryDataTableViewController;

class CmsCategoryDataViewController : public pf::ViewController {
  PF_OBJECT(CmsCategoryDataViewController, pf::ViewController)

  CmsCategoryDataViewController();
  explicit CmsCategoryDataViewController(std::string nibName);
  ~CmsCategoryDataViewController() override;

  std::weak_ptr<CmsCategoryDataTableViewController> categoryDataTableViewCon;
  // The categories screen, whose navigation stack course lists are pushed on.
  std::weak_ptr<pf::ViewController> parentController;
  std::weak_ptr<pf::View> listContainer;

  void viewDidLoad() override;
  // The stack tells the panel only: the list hears it from here.
  void viewWillAppear(bool animated) override;
};
