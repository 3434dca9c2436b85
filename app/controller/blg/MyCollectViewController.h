#pragma once
// The signed-in user's collected blogs. A thin screen that embeds the list, gives it the user's id and loads it
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
class MyCollectTableViewController;

class MyCollectViewController : public BlgBaseViewController {
  PF_OBJECT(MyCollectViewController, BlgBaseViewController)

  MyCollectViewController();
  explicit MyCollectViewController(std::string nibName);
  ~MyCollectViewController() override;

  static constexpr char kTitle[] = "收藏";

  std::weak_ptr<MyCollectTableViewController> myCollectTableViewCon;
  // Where the list is laid, from the interface file.
  std::weak_ptr<pf::View> listContainer;
  // The user whose list this is.
  std::optional<std::string> userID;

  void viewDidLoad() override;

 private:
  std::shared_ptr<MyCollectTableViewController> list_;
};
