#pragma once
// Reposts a blog with an optional text, quoting the reposted repost's own text after "//"; the check
// box also posts the text as a comment. An empty text reposts with "转发微博".
//
// Main thread only; the repost call runs on it.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/blg/BlgEditBaseViewController.h"

class BlgService;
class CommonService;

class BlgForwardEditViewController : public BlgEditBaseViewController {
  PF_OBJECT(BlgForwardEditViewController, BlgEditBaseViewController)

  static constexpr char kTitle[] = "转发微博";
  static constexpr char kDefaultText[] = "转发微博";
  static constexpr char kQuotePrefix[] = "//";

  BlgForwardEditViewController();
  explicit BlgForwardEditViewController(std::string nibName);
  ~BlgForwardEditViewController() override;

  std::shared_ptr<BlgService> blogService;
  std::shared_ptr<CommonService> commonService;
  bool asComment = false;
  // The text to quote, or nil.
  std::optional<std::string> forwardText;
  // The blog reposted.
  std::optional<std::string> originBlgID;

  void initService() override;
  void viewWillAppear(bool animated) override;
  void rightBtnPressed() override;

 protected:
  bool& checkFlag() override { return asComment; }
  std::string editorTitle() const override { return kTitle; }
};
