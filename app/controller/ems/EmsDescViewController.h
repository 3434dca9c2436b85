#pragma once
// An exam's description: its name, period, time limit, pass score, credit, sponsor and comments, and
// the buttons its join rule allows: enter, enter the make-up, view old answers. Entering loads the
// paper and pushes the timed exam; the status recomputed here stays on the list's exam object.
//
// Main thread only; the paper load waits on the main thread, as the exam screens expect.

#include <memory>
#include <string>

#include "app/controller/cmn/BaseViewController.h"

namespace pf {
class Button;
class Label;
class TextView;
}  // namespace pf
class EmsExam;
class ExamService;

class EmsDescViewController : public BaseViewController {
  PF_OBJECT(EmsDescViewController, BaseViewController)

  static constexpr char kPaperFailedMessage[] = "获取考试失败！";
  static constexpr char kPaperIncompleteMessage[] = "考试信息不完整！";

  EmsDescViewController();
  explicit EmsDescViewController(std::string nibName);
  ~EmsDescViewController() override;

  std::weak_ptr<pf::Label> examNameLabel;
  std::weak_ptr<pf::Label> examTimeLabel;
  std::weak_ptr<pf::Label> durationLabel;
  std::weak_ptr<pf::Label> passScoreLabel;
  std::weak_ptr<pf::Label> creditLabel;
  std::weak_ptr<pf::Label> sponsorLabel;
  std::weak_ptr<pf::TextView> descriptionTextView;
  std::weak_ptr<pf::Button> enterExamBtn;
  std::weak_ptr<pf::Button> enterMakeupExamBtn;
  std::weak_ptr<pf::Button> viewAnswerBtn;

  std::shared_ptr<EmsExam> exam;
  std::shared_ptr<ExamService> examService;

  // "%0.1f" when it reads above the rounded "%1.0f", else the rounded text.
  static std::string passScoreText(float passScore);

  void initService() override;
  void viewDidLoad() override;
  void viewDidAppear(bool animated) override;
  void setViewValuesWithExam(const std::shared_ptr<EmsExam>& exam);

  void enterBtnClick();
  void enterMakeupBtnClick();
  void viewAnswerBtnClick();
  void backBtnClick();
  void enterExamWithPaperLoad(const std::shared_ptr<EmsExam>& exam, bool getLatest, bool viewAnswerMode);

 private:
  bool isOnTop() const;
  bool entering_ = false;
};
