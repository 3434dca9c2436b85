#pragma once
// The users who follow a micro-blog user. A thin screen that embeds the list, gives it the user's id and loads it
// once; the list then refreshes on pull and pages on scroll. It hands the module root on to its list.
//
// Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/blg/BlgBaseViewController.h"

namespace pf {
class View;
}
class MyfansTableViewController;

class MyfansViewController : public BlgBaseViewController {
  PF_OBJECT(MyfansViewController, BlgBaseViewController)

  MyfansViewController();
  explicit MyfansViewController(std::string nibName);
  ~MyfansViewController() override;

  static constexpr char kTitle[] = "粉丝";

  std::weak_ptr<MyfansTableViewController> fansTableViewCon;
  // Where the list is laid, from the interface file.
  std::weak_ptr<pf::View> listContainer;
  // The user whose list this is.
  std::optional<std::string> userID;

  void viewDidLoad() override;

 private:
  std::shared_ptr<MyfansTableViewController> list_;
};
