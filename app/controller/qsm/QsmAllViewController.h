#pragma once
// The survey module's root: the module root over the survey list.
//
// Main thread only.

#include <memory>

#include "app/controller/cmn/CmnModuleRootViewController.h"

class QsmAllTableViewController;

class QsmAllViewController : public CmnModuleRootViewController {
  PF_OBJECT(QsmAllViewController, CmnModuleRootViewController)

  QsmAllViewController();
  explicit QsmAllViewController(std::string nibName);
  ~QsmAllViewController() override;

  // The embedded list, a child of this screen.
  std::shared_ptr<QsmAllTableViewController> allTableViewController;

 protected:
  std::shared_ptr<BaseTableViewController> makeList() override;
};
