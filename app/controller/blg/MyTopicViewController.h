#pragma once
// The topics a micro-blog user follows. A thin screen that embeds the list, gives it the user's id and loads it
// once; the list then refreshes on pull and pages on scroll. It hands no module root on (screens opened from here have none).
//
// Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/blg/BlgBaseViewController.h"

namespace pf {
class View;
}
class MyTopicTableViewController;

class MyTopicViewController : public BlgBaseViewController {
  PF_OBJECT(MyTopicViewController, BlgBaseViewController)

  MyTopicViewController();
  explicit MyTopicViewController(std::string nibName);
  ~MyTopicViewController() override;

  static constexpr char kTitle[] = "话题";

  std::weak_ptr<MyTopicTableViewController> myTopicTableViewCon;
  // Where the list is laid, from the interface file.
  std::weak_ptr<pf::View> listContainer;
  // The user whose list this is.
  std::optional<std::string> userID;

  void viewDidLoad() override;

 private:
  std::shared_ptr<MyTopicTableViewController> list_;
};
