#pragma once
// The users a micro-blog user follows. A thin screen that embeds the list, gives it the user's id and loads it
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
class MyAttentionTableViewController;

class MyAttentionViewController : public BlgBaseViewController {
  PF_OBJECT(MyAttentionViewController, BlgBaseViewController)

  MyAttentionViewController();
  explicit MyAttentionViewController(std::string nibName);
  ~MyAttentionViewController() override;

  static constexpr char kTitle[] = "关注";

  std::weak_ptr<MyAttentionTableViewController> attentionTableViewCon;
  // Where the list is laid, from the interface file.
  std::weak_ptr<pf::View> listContainer;
  // The user whose list this is.
  std::optional<std::string> userID;

  void viewDidLoad() override;

 private:
  std::shared_ptr<MyAttentionTableViewController> list_;
};
