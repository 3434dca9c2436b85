#pragma once
// The exam module's root: the module root over the exam list.
//
// Main thread only.

#include <memory>

#include "app/controller/cmn/CmnModuleRootViewController.h"

class EmsAllTableViewController;

class EmsAllViewController : public CmnModuleRootViewController {
  PF_OBJECT(EmsAllViewController, CmnModuleRootViewController)

  EmsAllViewController();
  explicit EmsAllViewController(std::string nibName);
  ~EmsAllViewController() override;

  // The embedded list, a child of this screen.
  std::weak_ptr<EmsAllTableViewController> allExamTableViewController;

 protected:
  std::shared_ptr<BaseTableViewController> makeList() override;
};
