#pragma once
// The screen on which the learner asks a question: its text (at most 140 characters, a counter of
// what is left), its topics and a switch that also shares it to the micro-blog. Publishing runs once
// at a time; after a publish that reached the server the screen closes and the list that opened it
// refreshes, while the result stays readable for 3 s on the key window (then it leaves the window).
//
// Main thread only; the service calls wait on the main thread.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/cmn/BaseViewController.h"
#include "platform/ui/TextView.h"

namespace pf {
class Button;
class Label;
}  // namespace pf
class AnsBaseTableViewController;
class AnsQuesQuizViewControllerDelegate;
class AnsService;
class QaQuestion;

class AnsQuesQuizViewController : public BaseViewController, public pf::TextViewDelegate {
  PF_OBJECT(AnsQuesQuizViewController, BaseViewController)

  static constexpr int kWordMax = 140;
  static constexpr double kResultSeconds = 3.0;
  static constexpr char kEmptyQuestionMessage[] = "您还没有输入问题信息哦！";
  static constexpr char kPublishedMessage[] = "发布成功";
  static constexpr char kPublishFailedMessage[] = "发布问题失败";
  static constexpr char kMaxWordsMessage[] = "最大字数不能超过%d";

  AnsQuesQuizViewController();
  explicit AnsQuesQuizViewController(std::string nibName);
  ~AnsQuesQuizViewController() override;

  std::weak_ptr<pf::TextView> questionView;
  std::weak_ptr<pf::TextView> topicView;
  std::weak_ptr<pf::Label> inputQtyLabel;
  std::weak_ptr<pf::Button> tranSelectedBtn;
  std::weak_ptr<pf::Button> wordClearBtn;
  std::weak_ptr<pf::Button> wordClearBtnb;
  std::weak_ptr<pf::View> upView;
  std::weak_ptr<pf::View> downView;

  // The list to refresh when the screen closes.
  std::weak_ptr<AnsBaseTableViewController> bVC;
  std::weak_ptr<AnsQuesQuizViewControllerDelegate> delegate;
  // Put into the topic area each time the screen shows.
  std::optional<std::string> topicName;
  int wordMaxQty = kWordMax;
  bool isInDistributing = false;
  std::shared_ptr<QaQuestion> question;
  std::shared_ptr<ProgressHUD> resultHUD;
  std::optional<std::string> requestResultPrompt;
  std::shared_ptr<AnsService> ansServer;

  int wordLeftQty() const { return wordLeftQty_; }
  void setWordLeftQty(int left);
  bool shouldBeSharedToWB() const;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void leftBtnPressed() override;
  void onError(const pf::ErrorPtr& error, const std::string& requestUri) override;
  void hudWasHidden(ProgressHUD& hud) override;

  void textViewDidChange(pf::TextView& textView) override;
  void distributeQues(const pf::ObjectPtr& sender);
  void wordClear(const pf::ObjectPtr& sender);
  void selectBtnClick(const pf::ObjectPtr& sender);

 private:
  int wordLeftQty_ = kWordMax;
};
