#pragma once
// One question with its answers, and a bar of three actions at the bottom: answer, share to the
// micro-blog, collect. The user edits his own answers here and opens a topic from the question's
// topic links. Opened from the question lists and from a topic's question list.
//
// Main thread only; every service call of this screen waits on the main thread.

#include <memory>
#include <string>

#include "app/controller/cmn/BaseViewController.h"

class AnsQuesViewController;
class QaQuestion;

class AnsQuesDetailViewController : public BaseViewController {
  PF_OBJECT(AnsQuesDetailViewController, BaseViewController)

  AnsQuesDetailViewController();
  explicit AnsQuesDetailViewController(std::string nibName);
  ~AnsQuesDetailViewController() override;

  // Set by the opener before the view loads.
  std::shared_ptr<QaQuestion> question;
  // The list that opened the screen; empty when a topic's list opened it.
  std::weak_ptr<AnsQuesViewController> qesVC;
};
