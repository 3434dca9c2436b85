#pragma once
// A micro-blog user's own blogs. A thin screen that embeds the list, gives it the user's id and loads it
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
class MyBlogTableViewController;

class MyBlogViewController : public BlgBaseViewController {
  PF_OBJECT(MyBlogViewController, BlgBaseViewController)

  MyBlogViewController();
  explicit MyBlogViewController(std::string nibName);
  ~MyBlogViewController() override;

  static constexpr char kTitle[] = "微博";

  std::weak_ptr<MyBlogTableViewController> myBlogTableViewCon;
  // Where the list is laid, from the interface file.
  std::weak_ptr<pf::View> listContainer;
  // The user whose list this is.
  std::optional<std::string> userID;

  void viewDidLoad() override;

 private:
  std::shared_ptr<MyBlogTableViewController> list_;
};
