#pragma once
// The comments of one blog with a button "评论" that opens the comment editor for it; after a comment
// was sent the list loads again when it shows, so the new comment is in it.
//
// Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/blg/BlgBaseViewController.h"
#include "app/controller/blg/BlgSentWatcher.h"

namespace pf {
class View;
}
class BlgCommentTableViewController;

class BlgCommentViewController : public BlgBaseViewController {
  PF_OBJECT(BlgCommentViewController, BlgBaseViewController)

  static constexpr char kTitle[] = "评论";

  BlgCommentViewController();
  explicit BlgCommentViewController(std::string nibName);
  ~BlgCommentViewController() override;

  std::weak_ptr<BlgCommentTableViewController> commentTableViewController;
  // Where the list is laid, from the interface file.
  std::weak_ptr<pf::View> listContainer;
  // The blog whose comments show.
  std::optional<std::string> blogID;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void rightBtnPressed() override;

 private:
  void reloadList();
  BlgSentWatcher sentWatcher_;
};
