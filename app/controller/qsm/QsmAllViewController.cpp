#include "app/controller/qsm/QsmAllViewController.h"

#include "app/controller/qsm/QsmAllTableViewController.h"

QsmAllViewController::QsmAllViewController() = default;
QsmAllViewController::QsmAllViewController(std::string nibName) : CmnModuleRootViewController(std::move(nibName)) {}
QsmAllViewController::~QsmAllViewController() = default;

std::shared_ptr<BaseTableViewController> QsmAllViewController::makeList() {
  allTableViewController = std::make_shared<QsmAllTableViewController>();
  return allTableViewController;
}
