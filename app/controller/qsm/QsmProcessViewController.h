#pragma once
// Answering a survey one question at a time: forward only when the question is answered, back
// freely; on the last question a confirmation, then the whole survey is sent once and the result
// screen pushed. The answers live in the survey's question objects, so leaving by back keeps them
// until the list loads again. No time limit, no saving on the device.
//
// Main thread only; the submission waits on the main thread.

#include <memory>
#include <string>

#include "app/controller/cmn/BaseViewController.h"

namespace pf {
class Button;
class Label;
class View;
}  // namespace pf
class CommonService;
class QsmQuestion;
class QsmQuestionViewController;
class QsmService;
class QsmSurvey;

class QsmProcessViewController : public BaseViewController {
  PF_OBJECT(QsmProcessViewController, BaseViewController)

  static constexpr char kNextTitle[] = "下一题";
  static constexpr char kSubmitTitle[] = "提交";
  static constexpr char kUnansweredMessage[] = "请先回答问题！";
  static constexpr char kConfirmMessage[] = "提交后将无法修改答卷内容，确定吗？";
  static constexpr char kFailedMessage[] = "提交失败!";

  QsmProcessViewController();
  explicit QsmProcessViewController(std::string nibName);
  ~QsmProcessViewController() override;

  std::weak_ptr<pf::Button> quesTypeBtn;
  std::weak_ptr<pf::Button> lastQuesBtn;
  std::weak_ptr<pf::Button> nextQuesBtn;
  std::weak_ptr<pf::Label> processLabel;
  // Where the question table is laid, from the interface file.
  std::weak_ptr<pf::View> questionContainer;
  std::shared_ptr<QsmQuestionViewController> quesViewController;

  std::shared_ptr<QsmSurvey> survey;
  unsigned currQuesIndex = 0;
  std::shared_ptr<QsmService> qsmService;
  std::shared_ptr<CommonService> commonService;

  void initService() override;
  void viewDidLoad() override;
  void showCurrentQuestion();

  void lastBtnClick();
  void nextBtnClick(const pf::ObjectPtr& sender);
  void backBtnClick();

  bool isSubmitted() const { return submitted_; }

 private:
  size_t questionCount() const;
  std::shared_ptr<QsmQuestion> currentQuestion() const;
  bool isOnTop() const;
  void submit();

  bool submitting_ = false;
  bool submitted_ = false;
};
