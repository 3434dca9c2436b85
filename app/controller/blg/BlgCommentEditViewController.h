#pragma once
// Comments on a blog; the check box also posts the comment as a blog of its own. An empty text is
// refused before anything else.
//
// Main thread only; the comment call runs on it.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/blg/BlgEditBaseViewController.h"

class BlgService;

class BlgCommentEditViewController : public BlgEditBaseViewController {
  PF_OBJECT(BlgCommentEditViewController, BlgEditBaseViewController)

  static constexpr char kTitle[] = "评论";

  BlgCommentEditViewController();
  explicit BlgCommentEditViewController(std::string nibName);
  ~BlgCommentEditViewController() override;

  std::shared_ptr<BlgService> blogService;
  bool asBlog = false;
  // The blog commented on.
  std::optional<std::string> blogID;

  void initService() override;
  void rightBtnPressed() override;

 protected:
  bool& checkFlag() override { return asBlog; }
  std::string editorTitle() const override { return kTitle; }
};
