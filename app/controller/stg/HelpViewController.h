#pragma once
// The six help pages side by side in a paged scroll view. The first screen at the first launch of each
// installed version, and a settings row. The sixth page's button leaves: back to settings, or at
// launch on to the login screen, which then becomes the root of the stack.
//
// Main thread only.

#include <memory>
#include <string>

#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/ViewController.h"

namespace pf {
class Button;
class ScrollView;
}  // namespace pf

class HelpViewController : public pf::ViewController {
  PF_OBJECT(HelpViewController, pf::ViewController)

  static constexpr int kPageCount = 6;
  static constexpr char kLoginScreenClass[] = "LoginViewController";

  HelpViewController();
  explicit HelpViewController(std::string nibName);
  ~HelpViewController() override;

  std::weak_ptr<pf::ScrollView> scrollView;
  // The clear button over the last picture that leaves the help.
  const std::shared_ptr<pf::Button>& enterButton() const { return enterButton_; }

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;

  void enterAppView();

 private:
  std::shared_ptr<pf::Button> enterButton_;
};
