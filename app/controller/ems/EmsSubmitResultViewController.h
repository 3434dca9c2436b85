#pragma once
// After a submission the server took: whether the paper waits for marking, passed or failed, with the
// score, a button to view the answers on the exam screen below and one back to the exam list.
//
// Main thread only.

#include <memory>
#include <string>

#include "app/controller/cmn/BaseViewController.h"

namespace pf {
class Button;
class ImageView;
class Label;
}  // namespace pf
class CommonService;
class EmsExam;
class ExamSubmitResult;

class EmsSubmitResultViewController : public BaseViewController {
  PF_OBJECT(EmsSubmitResultViewController, BaseViewController)

  static constexpr char kWaitingText[] = "试卷正在评分，请您等待！";
  static constexpr char kPassedText[] = "恭喜您获得了       分，已通过考试！";
  static constexpr char kUnpassedText[] = "遗憾您获得了       分，未通过考试！";

  EmsSubmitResultViewController();
  explicit EmsSubmitResultViewController(std::string nibName);
  ~EmsSubmitResultViewController() override;

  std::weak_ptr<pf::ImageView> emotionImageView;
  std::weak_ptr<pf::Label> resultContentLabel;
  std::weak_ptr<pf::Label> resultScoreLabel;
  std::weak_ptr<pf::Button> viewAnswerBtn;

  std::shared_ptr<EmsExam> exam;
  std::shared_ptr<ExamSubmitResult> submitResult;
  std::shared_ptr<CommonService> commonService;

  // Whether the exam's old answers may be looked at after this submission.
  static bool showsViewAnswer(const EmsExam& exam);

  void initService() override;
  void viewWillAppear(bool animated) override;
  void viewAnswerBtnClick();
  void returnBtnClick();
};
