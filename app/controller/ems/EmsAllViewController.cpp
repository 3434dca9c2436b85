#include "app/controller/ems/EmsAllViewController.h"

#include "app/controller/ems/EmsAllTableViewController.h"

EmsAllViewController::EmsAllViewController() = default;
EmsAllViewController::EmsAllViewController(std::string nibName) : CmnModuleRootViewController(std::move(nibName)) {}
EmsAllViewController::~EmsAllViewController() = default;

std::shared_ptr<BaseTableViewController> EmsAllViewController::makeList() {
  auto list = std::make_shared<EmsAllTableViewController>();
  allExamTableViewController = list;
  return list;
}
