#include "app/controller/qsm/QsmProcessViewController.h"

#include "app/controller/cmn/CmnEmbeddedChild.h"
#include "app/controller/qsm/QsmQuestionViewController.h"
#include "app/controller/qsm/QsmSubmitResultViewController.h"
#include "app/model/qsm/QsmSurvey.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/qsm/QsmService.h"
#include "app/util/ViewUtil.h"
#include "core/util/Resources.h"
#include "platform/foundation/Format.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "ui/extension/AlertViewKivExtension.h"

namespace {

constexpr char kQsmQuestionTypeDictionary[] = "QsmQuestionType";
constexpr long kQsmConfirmButton = 0;

}  // namespace

QsmProcessViewController::QsmProcessViewController() = default;
QsmProcessViewController::QsmProcessViewController(std::string nibName)
    : BaseViewController(std::move(nibName)) {}
QsmProcessViewController::~QsmProcessViewController() = default;

void QsmProcessViewController::initService() {
  auto delegate = std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this());
  commonService = std::make_shared<CommonService>(delegate);
  qsmService = std::make_shared<QsmService>(delegate);
}

void QsmProcessViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  quesViewController = std::make_shared<QsmQuestionViewController>();
  quesViewController->parentController = std::static_pointer_cast<pf::ViewController>(shared_from_this());
  CmnEmbeddedChild::embed(*this, quesViewController, questionContainer.lock());
  showCurrentQuestion();
}

size_t QsmProcessViewController::questionCount() const {
  return survey && survey->questions ? survey->questions->size() : 0;
}

std::shared_ptr<QsmQuestion> QsmProcessViewController::currentQuestion() const {
  return currQuesIndex < questionCount() ? (*survey->questions)[currQuesIndex] : nullptr;
}

void QsmProcessViewController::showCurrentQuestion() {
  const size_t n = questionCount();
  const unsigned i = currQuesIndex;
  if (auto button = lastQuesBtn.lock()) button->setHidden(i == 0);
  if (auto button = nextQuesBtn.lock())
    button->setTitle(i + 1 < n ? kNextTitle : kSubmitTitle, pf::Control::kNormal);
  const auto question = currentQuestion();
  quesViewController->setQuestion(question);
  if (auto button = quesTypeBtn.lock()) {
    const auto resources = commonService ? commonService->resources() : nullptr;
    const pf::Value type =
        resources && question
            ? resources->valueForResourceKey(question->questionType.value_or(""), kQsmQuestionTypeDictionary)
            : pf::Value();
    button->setTitle(type.string() ? *type.string() : "", pf::Control::kNormal);
  }
  if (auto label = processLabel.lock())
    label->setText(pf::format("回答进度：%d/%d", static_cast<int>(i + 1), static_cast<int>(n)));
  quesViewController->refreshData();
}

void QsmProcessViewController::lastBtnClick() {
  if (submitting_ || submitted_ || currQuesIndex == 0) return;
  --currQuesIndex;
  showCurrentQuestion();
}

void QsmProcessViewController::nextBtnClick(const pf::ObjectPtr& sender) {
  if (submitting_ || submitted_ || !isOnTop()) return;
  // Ends the edit first: the text goes into the question before it is checked.
  if (isViewLoaded()) view()->endEditing(true);
  const auto question = currentQuestion();
  if (!question || !question->isAnswered()) return showErrorInfoWithMessage(kUnansweredMessage);
  auto button = std::dynamic_pointer_cast<pf::Button>(sender);
  if (!button) button = nextQuesBtn.lock();
  if (button && button->currentTitle() == kNextTitle) {
    if (currQuesIndex + 1 >= questionCount()) return;
    ++currQuesIndex;
    showCurrentQuestion();
    return;
  }
  submitting_ = true;
  const long answer =
      AlertViewKivExtension::showModal(AlertViewKivExtension::initWithMsg(kConfirmMessage, 2, {}));
  if (answer == kQsmConfirmButton) submit();
  submitting_ = false;
}

// Sent once: a tap while the result slides in, or after, sends nothing more.
void QsmProcessViewController::submit() {
  if (!qsmService->submitSurvey(survey)) return showErrorInfoWithMessage(kFailedMessage);
  submitted_ = true;
  auto result = std::dynamic_pointer_cast<QsmSubmitResultViewController>(
      ViewUtil::viewControllerFromNibOfClass(QsmSubmitResultViewController::kClassName));
  if (auto navigation = navigationController()) navigation->pushViewController(result, true);
}

void QsmProcessViewController::backBtnClick() {
  if (submitting_ || !isOnTop()) return;
  if (isViewLoaded()) view()->endEditing(true);
  navigationController()->popViewControllerAnimated(true);
}

bool QsmProcessViewController::isOnTop() const {
  auto navigation = navigationController();
  return navigation && navigation->topViewController().get() == this;
}
