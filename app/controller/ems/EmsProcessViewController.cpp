#include "app/controller/ems/EmsProcessViewController.h"

#include "app/controller/cmn/CmnEmbeddedChild.h"
#include "app/controller/ems/EmsAllViewController.h"
#include "app/controller/ems/EmsQuestionViewController.h"
#include "app/controller/ems/EmsShowAllQuesViewController.h"
#include "app/controller/ems/EmsSubmitResultViewController.h"
#include "app/model/ems/EmsExam.h"
#include "app/model/ems/ExamSubmitResult.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/ems/ExamService.h"
#include "app/util/ViewUtil.h"
#include "core/util/CommonUtil.h"
#include "core/util/Resources.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/Timer.h"
#include "platform/text/Font.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "ui/extension/AlertViewKivExtension.h"

namespace {

constexpr char kSubmitResultDictionary[] = "SubmitResultMsg";
constexpr char kQuestionTypeDictionary[] = "EmsQuestionType";
constexpr long kConfirmButton = 0;

}  // namespace

// What marking on the device changes on the shared exam, given back when the server refuses it.
struct EmsProcessViewController::Marking {
  std::optional<std::string> status;
  float totalScore = 0;
  float userExamScore = 0;
  float score = 0;
  bool paperShowResult = false;
  bool paperPassed = false;
  float paperCredit = 0;
  float paperScore = 0;

  static Marking of(const EmsExam& exam) {
    return {exam.status,          exam.totalScore,    exam.userExamScore,
            exam.score,           exam.paper->showResult, exam.paper->passed,
            exam.paper->credit,   exam.paper->score};
  }
  void restore(EmsExam& exam) const {
    exam.status = status;
    exam.totalScore = totalScore;
    exam.userExamScore = userExamScore;
    exam.score = score;
    exam.paper->showResult = paperShowResult;
    exam.paper->passed = paperPassed;
    exam.paper->credit = paperCredit;
    exam.paper->score = paperScore;
  }
};

EmsProcessViewController::EmsProcessViewController() = default;
EmsProcessViewController::EmsProcessViewController(std::string nibName) : BaseViewController(std::move(nibName)) {}

EmsProcessViewController::~EmsProcessViewController() {
  if (leftTimeTimer) leftTimeTimer->invalidate();
}

std::string EmsProcessViewController::leftTimeText(unsigned seconds) {
  return pf::format("剩余时间：%@", CommonUtil::timeStringFromTimeInterval(seconds));
}

void EmsProcessViewController::initService() {
  auto delegate = std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this());
  commonService = std::make_shared<CommonService>(delegate);
  examService = std::make_shared<ExamService>(delegate);
}

void EmsProcessViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  installQuestionView();
  showAllQuesViewController = std::make_shared<EmsShowAllQuesViewController>();
  std::weak_ptr<EmsProcessViewController> weak = std::static_pointer_cast<EmsProcessViewController>(shared_from_this());
  backgroundObservation_ = pf::NotificationCenter::defaultCenter().addObserver(
      pf::Application::kDidEnterBackgroundNotification, nullptr, [weak](const pf::Notification&) {
        if (auto self = weak.lock()) self->keepAnswers();
      });
  initViewValues();
  showCurrentQuestion();
}

void EmsProcessViewController::installQuestionView() {
  questionViewController = std::make_shared<EmsQuestionViewController>();
  questionViewController->parentController = std::static_pointer_cast<pf::ViewController>(shared_from_this());
  std::weak_ptr<EmsProcessViewController> weak = std::static_pointer_cast<EmsProcessViewController>(shared_from_this());
  questionViewController->onActivity = [weak] {
    if (auto self = weak.lock()) self->resetIdleTime();
  };
  CmnEmbeddedChild::embed(*this, questionViewController, questionContainer.lock());
}

void EmsProcessViewController::initViewValues() {
  if (auto label = examNameLabel.lock()) label->setText(exam ? exam->examName.value_or("") : "");
  const int minutes = exam ? exam->maxCostTime : 0;
  setLeftTimeInSeconds(minutes > 0 ? static_cast<unsigned>(minutes) * 60 : 0);
  currQuesIndex_ = 0;
  stopTimer();
  state_ = viewAnswerMode ? State::Viewing : State::Taking;
  if (viewAnswerMode) return;
  std::weak_ptr<EmsProcessViewController> weak = std::static_pointer_cast<EmsProcessViewController>(shared_from_this());
  leftTimeTimer = pf::Timer::scheduled(kTickInterval, true, [weak](pf::Timer&) {
    if (auto self = weak.lock()) self->onTimerFired();
  });
}

void EmsProcessViewController::stopTimer() {
  if (leftTimeTimer) leftTimeTimer->invalidate();
  leftTimeTimer.reset();
}

void EmsProcessViewController::setLeftTimeInSeconds(unsigned seconds) {
  leftTimeInSeconds_ = seconds;
  const std::string text = leftTimeText(seconds);
  if (auto label = leftTimeLabel.lock()) label->setText(text);
  if (showAllQuesViewController && presentedViewController() == showAllQuesViewController) {
    if (auto label = showAllQuesViewController->leftTimeLabel.lock()) label->setText(text);
  }
}

size_t EmsProcessViewController::questionCount() const {
  return exam && exam->paper ? exam->paper->questions.size() : 0;
}

std::shared_ptr<EmsQuestion> EmsProcessViewController::currentQuestion() const {
  return currQuesIndex_ < questionCount() ? exam->paper->questions[currQuesIndex_] : nullptr;
}

void EmsProcessViewController::showQuestionWithQuesIndex(unsigned index) {
  if (index >= questionCount()) return;
  currQuesIndex_ = index;
  showCurrentQuestion();
}

void EmsProcessViewController::showCurrentQuestion() {
  resetIdleTime();
  const size_t n = questionCount();
  const unsigned i = currQuesIndex_;
  if (auto button = lastQuesBtn.lock()) button->setHidden(i == 0);
  if (auto button = nextQuesBtn.lock()) {
    if (viewAnswerMode) button->setHidden(i + 1 >= n);
    button->setTitle(i + 1 < n ? kNextTitle : kSubmitTitle, pf::Control::kNormal);
  }
  const auto question = currentQuestion();
  if (!question) return;
  questionViewController->setQuestion(question);
  questionViewController->readonly = viewAnswerMode;
  if (viewAnswerMode) showVerdict(*question);
  if (auto button = quesTypeBtn.lock())
    button->setTitle(resourceText(question->type.value_or(""), kQuestionTypeDictionary), pf::Control::kNormal);
  if (auto label = examProcessLabel.lock())
    label->setText(pf::format("考试进度：%d/%d", static_cast<int>(i + 1), static_cast<int>(n)));
  questionViewController->refreshData();
}

void EmsProcessViewController::showVerdict(const EmsQuestion& question) {
  auto label = leftTimeLabel.lock();
  if (!label) return;
  label->setFont(pf::Font::systemFont(pf::Screen::mainScreen().bounds().width() / 320 * 22));
  label->setText(question.passed ? "正确" : "错误");
  label->setTextColor(question.passed ? pf::Color::green() : pf::Color::red());
}

std::string EmsProcessViewController::resourceText(const std::string& key, const std::string& dictionary) {
  const auto resources = commonService ? commonService->resources() : nullptr;
  if (!resources) return "";
  const pf::Value value = resources->valueForResourceKey(key, dictionary);
  return value.string() ? *value.string() : "";
}

void EmsProcessViewController::lastBtnClick() {
  if (state_ != State::Taking && state_ != State::Failed && state_ != State::Viewing) return;
  if (currQuesIndex_ == 0) return;
  keepAnswers();
  --currQuesIndex_;
  showCurrentQuestion();
}

void EmsProcessViewController::nextBtnClick(const pf::ObjectPtr& sender) {
  if (state_ != State::Taking && state_ != State::Failed && state_ != State::Viewing) return;
  auto button = std::dynamic_pointer_cast<pf::Button>(sender);
  if (!button) button = nextQuesBtn.lock();
  if (button && button->currentTitle() == kNextTitle) {
    if (currQuesIndex_ + 1 >= questionCount()) return;
    keepAnswers();
    ++currQuesIndex_;
    showCurrentQuestion();
    return;
  }
  if (state_ != State::Viewing) confirmSubmission();
}

void EmsProcessViewController::backBtnClick() {
  if (state_ == State::Confirming || state_ == State::Submitting) return;
  if (state_ == State::Taking || state_ == State::Failed) {
    stopTimer();
    keepAnswers();
  }
  if (auto navigation = navigationController()) navigation->popViewControllerAnimated(true);
}

void EmsProcessViewController::viewAllBtnClick() {
  if (state_ == State::Confirming || state_ == State::Submitting || presentedViewController()) return;
  resetIdleTime();
  auto sheet = showAllQuesViewController;
  sheet->exam = exam;
  sheet->questions = exam && exam->paper ? exam->paper->questions : std::vector<std::shared_ptr<EmsQuestion>>{};
  sheet->viewAnswerMode = viewAnswerMode;
  sheet->processViewController = std::static_pointer_cast<EmsProcessViewController>(shared_from_this());
  sheet->setModalTransitionStyle(pf::ViewController::ModalTransitionStyle::PartialCurl);
  presentViewController(sheet, true);
  if (!viewAnswerMode)
    if (auto label = sheet->leftTimeLabel.lock()) label->setText(leftTimeText(leftTimeInSeconds_));
}

void EmsProcessViewController::touchesBegan(const pf::TouchSet&, const pf::Event*) { resetIdleTime(); }

void EmsProcessViewController::resetIdleTime() { idleTimeInSeconds_ = 0; }

void EmsProcessViewController::keepAnswers() {
  if ((state_ != State::Taking && state_ != State::Failed && state_ != State::Confirming) || !exam) return;
  if (isViewLoaded()) view()->endEditing(true);
  examService->saveUserAnswerWithExam(exam);
}

void EmsProcessViewController::onTimerFired() {
  if (state_ != State::Taking && state_ != State::Confirming) return;
  auto label = leftTimeLabel.lock();
  if (label && leftTimeInSeconds_ <= kRedFromSeconds && label->textColor() != pf::Color::red())
    label->setTextColor(pf::Color::red());
  if (leftTimeInSeconds_ <= kBlinkFromSeconds) flickLeftTimeLabel();
  const int maxIdle = exam ? exam->maxIdleTime : 0;
  if (maxIdle > 0 && idleTimeInSeconds_ >= static_cast<unsigned>(maxIdle))
    return forceSubmission(pf::format(kIdleMessage, maxIdle));
  if (leftTimeInSeconds_ == 0) return forceSubmission(kTimeUpMessage);
  setLeftTimeInSeconds(leftTimeInSeconds_ - 1);
  ++idleTimeInSeconds_;
}

void EmsProcessViewController::flickLeftTimeLabel() {
  auto label = leftTimeLabel.lock();
  if (!label) return;
  std::weak_ptr<pf::Label> weak = label;
  pf::View::animateWithDuration(
      0.5, 0, pf::View::kAnimationCurveEaseIn, [label] { label->setAlpha(0); },
      [weak](bool) {
        auto shown = weak.lock();
        if (!shown) return;
        pf::View::animateWithDuration(0.5, 0, pf::View::kAnimationCurveEaseOut, [shown] { shown->setAlpha(1); });
      });
}

// A limit reached while the confirmation waits takes over: the confirmation and the sheet go, and
// the paper is sent once, by this path.
void EmsProcessViewController::forceSubmission(const std::string& message) {
  if (exam && exam->paper) exam->paper->forceSubmitted = true;
  stopTimer();
  state_ = State::Submitting;
  dismissSheetAndConfirmation();
  AlertViewKivExtension::showModal(AlertViewKivExtension::initWithMsg(message, 1, {}));
  submitPaper();
}

void EmsProcessViewController::dismissSheetAndConfirmation() {
  if (auto alert = std::exchange(confirmAlert_, nullptr); alert && alert->isVisible())
    alert->dismissWithClickedButtonIndex(-1, false);
  if (presentedViewController()) dismissViewControllerAnimated(false);
}

void EmsProcessViewController::confirmSubmission() {
  if (state_ != State::Taking && state_ != State::Failed) return;
  const State before = state_;
  state_ = State::Confirming;
  confirmAlert_ = AlertViewKivExtension::initWithMsg(kConfirmMessage, 2, {});
  const long button = AlertViewKivExtension::showModal(confirmAlert_);
  confirmAlert_.reset();
  // A forced submission took over while the confirmation waited: this late answer sends nothing.
  if (state_ != State::Confirming) return;
  state_ = before;
  if (button == kConfirmButton) submitPaper();
}

void EmsProcessViewController::submitPaper() {
  if (state_ == State::Done || state_ == State::Viewing || !exam || !exam->paper) return;
  state_ = State::Submitting;
  stopTimer();
  if (isViewLoaded()) view()->endEditing(true);
  exam->paper->submitTime = pf::Date::now();
  exam->paper->submitState = "SUBMIT";
  const Marking before = Marking::of(*exam);
  const auto result = examService->submitPaperForExam(*exam);
  const std::string code = result && result->resultCode ? *result->resultCode : ExamSubmitResult::kFail;
  if (code != ExamSubmitResult::kSuccess) before.restore(*exam);
  state_ = code == ExamSubmitResult::kFail ? State::Failed : State::Done;
  AlertViewKivExtension::showModal(AlertViewKivExtension::initWithMsg(resourceText(code, kSubmitResultDictionary), 1, {}));
  finishSubmission(code, result);
}

void EmsProcessViewController::finishSubmission(const std::string& code, const std::shared_ptr<ExamSubmitResult>& result) {
  auto navigation = navigationController();
  if (code == ExamSubmitResult::kFail || !navigation) return;
  if (code == ExamSubmitResult::kSuccess) {
    auto screen = std::dynamic_pointer_cast<EmsSubmitResultViewController>(
        ViewUtil::viewControllerFromNibOfClass(EmsSubmitResultViewController::kClassName));
    screen->submitResult = result;
    screen->exam = exam;
    navigation->pushViewController(screen, true);
    return;
  }
  if (auto root = std::dynamic_pointer_cast<EmsAllViewController>(navigation->viewControllers().front()))
    root->refreshAllData();
  navigation->popToRootViewControllerAnimated(true);
}
