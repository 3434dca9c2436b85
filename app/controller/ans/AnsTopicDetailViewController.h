#pragma once
// A topic with its question count and its questions, and a bar with a follow item and an ask item.
// The follow state is read from the server each time the screen shows and after each switch.
//
// Main thread only; the service calls wait on the main thread.

#include <memory>
#include <string>

#include "app/controller/ans/AnsQuesQuizViewControllerDelegate.h"
#include "app/controller/ans/AnsTabBarDelegate.h"
#include "app/controller/cmn/BaseViewController.h"

class AnsService;
class AnsTopicDetailContentViewController;
class AnsTopicTabBar;
class QuestionTopic;

class AnsTopicDetailViewController : public BaseViewController,
                                     public AnsQuesQuizViewControllerDelegate,
                                     public AnsTabBarDelegate {
  PF_OBJECT(AnsTopicDetailViewController, BaseViewController)

  static constexpr int kFollowItem = 0;
  static constexpr int kAskItem = 1;
  static constexpr char kFollowTitle[] = "加关注";
  static constexpr char kUnfollowTitle[] = "取消关注";

  AnsTopicDetailViewController();
  explicit AnsTopicDetailViewController(std::string nibName);
  ~AnsTopicDetailViewController() override;

  // Set by the opener.
  std::shared_ptr<QuestionTopic> topic;
  std::shared_ptr<AnsTopicTabBar> tpTabBar;
  std::shared_ptr<AnsTopicDetailContentViewController> tdCVC;
  std::shared_ptr<AnsService> ansService;
  std::shared_ptr<ProgressHUD> resultHUD;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void ansTabBarDidSelectedItemAtIndex(int index) override;
  void checkTopicHasBeenFocused();
  void resetNumber() override;
};
