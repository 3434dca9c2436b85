#pragma once
// The courses of one category, titled with its name, around their paged list.
//
// Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/cmn/BaseViewController.h"

namespace pf {
class View;
}
class CmsCategoryResultTableViewController;

class CmsCategoryResultViewController : public BaseViewController {
  PF_OBJECT(CmsCategoryResultViewController, BaseViewController)

  CmsCategoryResultViewController();
  explicit CmsCategoryResultViewController(std::string nibName);
  ~CmsCategoryResultViewController() override;

  std::weak_ptr<CmsCategoryResultTableViewController> categoryResultTableViewController;
  std::optional<std::string> categoryID;
  std::optional<std::string> categoryName;
  std::weak_ptr<pf::View> listContainer;

  void viewDidLoad() override;
};
