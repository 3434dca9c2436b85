#pragma once
// The timed exam: one question at a time with previous and next buttons, a countdown of the time
// limit and an idle limit that force a submission, a submission on request from the last question,
// the sheet of all questions, and the answers kept on the device when the learner leaves, changes
// question or the application goes to the background. In view-answers mode it pages read-only
// through the old paper and shows each question's verdict in place of the time.
//
// One state guards the ticks, buttons and back: a limit reached while the submission's confirmation
// waits closes it and submits once; after a submission the server took nothing saves or sends.
// A submission the server refused gives back the marking it made on the exam.
//
// Main thread only: the countdown runs on the main run loop, saving and submitting wait on it.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/cmn/BaseViewController.h"
#include "platform/foundation/NotificationCenter.h"

namespace pf {
class AlertView;
class Button;
class Label;
class Timer;
class View;
}  // namespace pf
class CommonService;
class EmsExam;
class EmsQuestion;
class EmsQuestionViewController;
class EmsShowAllQuesViewController;
class ExamService;

class EmsProcessViewController : public BaseViewController {
  PF_OBJECT(EmsProcessViewController, BaseViewController)

  enum class State { Taking, Confirming, Submitting, Done, Failed, Viewing };

  static constexpr double kTickInterval = 1.0;
  static constexpr unsigned kRedFromSeconds = 300;
  static constexpr unsigned kBlinkFromSeconds = 60;
  static constexpr char kNextTitle[] = "下一题";
  static constexpr char kSubmitTitle[] = "提交";
  static constexpr char kIdleMessage[] = "您已超过 %d 秒没有进行任何操作，点击确定后系统将自动提交该试卷。";
  static constexpr char kTimeUpMessage[] = "考试时间已到！您无法继续答卷，点击确定后提交试卷。";
  static constexpr char kConfirmMessage[] = "交卷后将无法修改答卷内容，确定提交试卷吗？";

  EmsProcessViewController();
  explicit EmsProcessViewController(std::string nibName);
  ~EmsProcessViewController() override;

  std::weak_ptr<pf::Label> examNameLabel;
  std::weak_ptr<pf::Label> examProcessLabel;
  std::weak_ptr<pf::Label> leftTimeLabel;
  std::weak_ptr<pf::Button> quesTypeBtn;
  std::weak_ptr<pf::Button> lastQuesBtn;
  std::weak_ptr<pf::Button> nextQuesBtn;
  std::weak_ptr<pf::Button> backBtn;
  std::weak_ptr<pf::Button> viewAllBtn;
  // Where the question table is laid, from the interface file.
  std::weak_ptr<pf::View> questionContainer;
  std::shared_ptr<EmsQuestionViewController> questionViewController;
  std::shared_ptr<EmsShowAllQuesViewController> showAllQuesViewController;

  std::shared_ptr<EmsExam> exam;
  bool viewAnswerMode = false;
  std::shared_ptr<CommonService> commonService;
  std::shared_ptr<ExamService> examService;
  std::shared_ptr<pf::Timer> leftTimeTimer;

  State state() const { return state_; }
  unsigned leftTimeInSeconds() const { return leftTimeInSeconds_; }
  unsigned idleTimeInSeconds() const { return idleTimeInSeconds_; }
  unsigned currQuesIndex() const { return currQuesIndex_; }
  void setLeftTimeInSeconds(unsigned seconds);
  // The text of the time label for that many seconds.
  static std::string leftTimeText(unsigned seconds);

  void initService() override;
  void viewDidLoad() override;
  void initViewValues();
  void showCurrentQuestion();
  void showQuestionWithQuesIndex(unsigned index);

  void lastBtnClick();
  void nextBtnClick(const pf::ObjectPtr& sender);
  void backBtnClick();
  void viewAllBtnClick();
  void touchesBegan(const pf::TouchSet& touches, const pf::Event* event) override;
  void resetIdleTime();

  void onTimerFired();
  void submitPaper();

 private:
  struct Marking;
  std::shared_ptr<EmsQuestion> currentQuestion() const;
  size_t questionCount() const;
  void installQuestionView();
  void stopTimer();
  void flickLeftTimeLabel();
  void showVerdict(const EmsQuestion& question);
  void forceSubmission(const std::string& message);
  void confirmSubmission();
  void dismissSheetAndConfirmation();
  // Keeps the answers on the device while the exam is being taken.
  void keepAnswers();
  void finishSubmission(const std::string& resultCode, const std::shared_ptr<class ExamSubmitResult>& result);
  std::string resourceText(const std::string& key, const std::string& dictionary);

  State state_ = State::Taking;
  unsigned leftTimeInSeconds_ = 0;
  unsigned idleTimeInSeconds_ = 0;
  unsigned currQuesIndex_ = 0;
  std::shared_ptr<pf::AlertView> confirmAlert_;
  pf::NotificationCenter::Observation backgroundObservation_;
};
