#include "app/controller/ems/EmsDescViewController.h"

#include <cstdlib>

#include "app/controller/ems/EmsProcessViewController.h"
#include "app/model/ems/EmsExam.h"
#include "app/service/ems/ExamService.h"
#include "app/util/ViewUtil.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Format.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TextView.h"
#include "ui/deck/PanelDeckController.h"
#include "ui/deck/PanelDeckItem.h"

EmsDescViewController::EmsDescViewController() = default;
EmsDescViewController::EmsDescViewController(std::string nibName) : BaseViewController(std::move(nibName)) {}
EmsDescViewController::~EmsDescViewController() = default;

std::string EmsDescViewController::passScoreText(float passScore) {
  const std::string rounded = pf::format("%1.0f", passScore);
  const std::string oneDecimal = pf::format("%0.1f", passScore);
  return std::strtod(oneDecimal.c_str(), nullptr) - std::strtod(rounded.c_str(), nullptr) > 0 ? oneDecimal : rounded;
}

void EmsDescViewController::initService() {
  examService = std::make_shared<ExamService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

void EmsDescViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  setViewValuesWithExam(exam);
}

void EmsDescViewController::viewDidAppear(bool animated) {
  BaseViewController::viewDidAppear(animated);
  if (auto deck = panelDeckController(*this)) deck->setEnabled(false);
}

void EmsDescViewController::setViewValuesWithExam(const std::shared_ptr<EmsExam>& shown) {
  if (!shown) return;
  if (auto label = examNameLabel.lock()) label->setText(shown->examName.value_or(""));
  if (auto label = examTimeLabel.lock()) label->setText(shown->durationText());
  if (auto label = durationLabel.lock()) label->setText(pf::format("%d", shown->maxCostTime));
  if (auto label = creditLabel.lock()) label->setText(pf::format("%1.0f", shown->credit));
  if (auto label = passScoreLabel.lock()) label->setText(passScoreText(shown->passScore()));
  if (auto label = sponsorLabel.lock()) label->setText(shown->sponsor.value_or(""));
  if (auto text = descriptionTextView.lock()) text->setText(shown->comments.value_or(""));
  const pf::Date now = pf::Date::now();
  shown->statusText = ExamService::statusTextOfExam(*shown, now);
  const int joinType = ExamService::joinTypeOfExam(*shown, now);
  if (auto button = enterMakeupExamBtn.lock()) button->setHidden(joinType != ExamService::kRejoin);
  if (auto button = enterExamBtn.lock()) button->setHidden(joinType != ExamService::kJoin);
  if (auto button = viewAnswerBtn.lock()) button->setHidden(!ExamService::showViewAnswerWithExam(*shown));
}

void EmsDescViewController::enterBtnClick() { enterExamWithPaperLoad(exam, false, false); }
void EmsDescViewController::enterMakeupBtnClick() { enterExamWithPaperLoad(exam, false, false); }
void EmsDescViewController::viewAnswerBtnClick() { enterExamWithPaperLoad(exam, true, true); }

void EmsDescViewController::backBtnClick() {
  if (auto navigation = navigationController(); navigation && isOnTop()) navigation->popViewControllerAnimated(true);
}

bool EmsDescViewController::isOnTop() const {
  auto navigation = navigationController();
  return navigation && navigation->topViewController().get() == this;
}

// A second tap while the paper loads or the exam screen slides in would push a second timed exam.
void EmsDescViewController::enterExamWithPaperLoad(const std::shared_ptr<EmsExam>& target, bool getLatest,
                                                   bool viewAnswerMode) {
  if (!target || entering_ || !isOnTop()) return;
  entering_ = true;
  auto paper = examService->findPaperWithExam(*target, getLatest, viewAnswerMode);
  entering_ = false;
  if (!paper) return showErrorInfoWithMessage(kPaperFailedMessage);
  if (paper->questions.empty()) return showErrorInfoWithMessage(kPaperIncompleteMessage);
  target->paper = paper;
  auto process = std::dynamic_pointer_cast<EmsProcessViewController>(
      ViewUtil::viewControllerFromNibOfClass(EmsProcessViewController::kClassName));
  process->exam = target;
  process->viewAnswerMode = viewAnswerMode;
  navigationController()->pushViewController(process, true);
}
