#include "app/controller/ans/AnsQuesDetailViewController.h"

#include <algorithm>

#include "app/controller/ans/AnsDistributeView.h"
#include "app/controller/ans/AnsModifyView.h"
#include "app/controller/ans/AnsQuesDetailContentViewController.h"
#include "app/controller/ans/AnsTabBar.h"
#include "app/controller/ans/AnsTopicDetailViewController.h"
#include "app/model/ans/Answer.h"
#include "app/model/ans/QaQuestion.h"
#include "app/service/ans/AnsService.h"
#include "app/util/ViewUtil.h"
#include "platform/ui/Application.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Window.h"

namespace {

std::shared_ptr<Answer> ansDetailAnswerCopy(const Answer& answer) {
  auto copy = std::make_shared<Answer>();
  copy->answerId = answer.answerId;
  copy->content = answer.content;
  copy->questionId = answer.questionId;
  copy->agreeCount = answer.agreeCount;
  copy->ip = answer.ip;
  copy->isOfficial = answer.isOfficial;
  copy->isAgree = answer.isAgree;
  copy->countQuestion = answer.countQuestion;
  copy->countAnswer = answer.countAnswer;
  copy->answerTime = answer.answerTime;
  copy->userId = answer.userId;
  copy->operationType = answer.operationType;
  copy->user = answer.user;
  return copy;
}

}  // namespace

AnsQuesDetailViewController::AnsQuesDetailViewController() = default;
AnsQuesDetailViewController::AnsQuesDetailViewController(std::string nibName)
    : BaseViewController(std::move(nibName)) {}

AnsQuesDetailViewController::~AnsQuesDetailViewController() { removeOverlays(); }

void AnsQuesDetailViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  auto self = std::static_pointer_cast<AnsQuesDetailViewController>(shared_from_this());
  ansService = std::make_shared<AnsService>(std::weak_ptr<ServiceDelegate>(self));
  const pf::Rect screen = pf::Screen::mainScreen().bounds();
  const double barY = screen.height() - kBarHeight - 44 - pf::Application::sharedApplication().statusBarFrame().height();

  qesDVC = std::dynamic_pointer_cast<AnsQuesDetailContentViewController>(
      ViewUtil::viewControllerFromNibOfClass(AnsQuesDetailContentViewController::kClassName));
  qesDVC->question = question;
  qesDVC->linkDelegate = self;
  addChildViewController(qesDVC);
  qesDVC->view()->setFrame(pf::Rect(0, 0, screen.width(), barY));
  view()->addSubview(qesDVC->view());

  ansTabBar = std::dynamic_pointer_cast<AnsTabBar>(ViewUtil::viewFromNibOfClass(AnsTabBar::kClassName));
  ansTabBar->setFrame(pf::Rect(0, barY, screen.width(), kBarHeight));
  ansTabBar->delegete = std::weak_ptr<AnsTabBarDelegate>(self);
  ansTabBar->setAutoresizingMask(pf::View::kFlexibleWidth | pf::View::kFlexibleTopMargin);
  view()->addSubview(ansTabBar);

  progressHUD = ProgressHUD::initWithView(view());
  view()->addSubview(progressHUD);
  resultHUD = ProgressHUD::initWithView(view());
  view()->addSubview(resultHUD);
  resultHUD->setMode(ProgressHUD::kCustomView);

  auto editor = std::dynamic_pointer_cast<AnsModifyView>(ViewUtil::viewFromNibOfClass(AnsModifyView::kClassName));
  editor->delegate = std::weak_ptr<AnsDisTributeViewDelegate>(qesDVC);
  if (auto window = ViewUtil::getKeyWindow()) {
    editor->setFrame(window->frame());
    window->addSubview(editor);
  }
  editor->setHidden(true);
  qesDVC->modifyView = editor;
}

void AnsQuesDetailViewController::viewWillAppear(bool animated) {
  BaseViewController::viewWillAppear(animated);
  questionIsCollected = checkQuestionIsCollected();
}

void AnsQuesDetailViewController::viewDidDisappear(bool animated) {
  BaseViewController::viewDidDisappear(animated);
  // Popped: nothing of the screen stays on the window.
  auto navigation = navigationController();
  const bool stacked = navigation && std::any_of(navigation->viewControllers().begin(), navigation->viewControllers().end(),
                                                 [this](const auto& controller) { return controller.get() == this; });
  if (!stacked) removeOverlays();
}

void AnsQuesDetailViewController::removeOverlays() {
  closeEditor();
  if (qesDVC && qesDVC->modifyView) qesDVC->modifyView->removeFromSuperview();
}

void AnsQuesDetailViewController::onError(const pf::ErrorPtr& error, const std::string& requestUri) {
  if (resultHUD) resultHUD->hide(true);
  BaseViewController::onError(error, requestUri);
}

void AnsQuesDetailViewController::makeEditor() {
  closeEditor();
  disV = std::dynamic_pointer_cast<AnsDistributeView>(ViewUtil::viewFromNibOfClass(AnsDistributeView::kClassName));
  disV->delegate = std::static_pointer_cast<AnsQuesDetailViewController>(shared_from_this());
  disV->setHidden(true);
  if (auto window = ViewUtil::getKeyWindow()) {
    disV->setFrame(window->frame());
    window->addSubview(disV);
  }
}

void AnsQuesDetailViewController::closeEditor() {
  if (!disV) return;
  disV->setHidden(true);
  disV->removeFromSuperview();
}

std::optional<std::string> AnsQuesDetailViewController::editorText() const {
  return disV ? disV->content() : std::nullopt;
}

void AnsQuesDetailViewController::showResult(const std::optional<std::string>& text, double seconds) {
  if (!resultHUD) return;
  resultHUD->setLabelText(text);
  resultHUD->show(true);
  resultHUD->hide(true, seconds);
}

void AnsQuesDetailViewController::ansTabBarDidSelectedItemAtIndex(int index) {
  if (!question) return;
  if (index == kAnswerItem && ansService->answerStatusOfQuestion(question->questionId)) {
    showResult(kAlreadyAnswered, 0.5);
    return;
  }
  if (index == kCollectItem) {
    collectQuestion();
    return;
  }
  if (index != kAnswerItem && index != kShareItem) return;
  makeEditor();
  disV->setContent(index == kShareItem ? question->title : std::nullopt);
  disV->setHidden(false);
  disV->setTopTitleHidden(true);
  if (auto label = disV->topTitleLabel.lock()) label->setHidden(true);
  selectedItemIndex = index;
  disV->setLeftItemTittle(index == kAnswerItem ? kSaveTitle : kShareTitle);
  disV->setContentLimitedSize(index == kAnswerItem ? 400 : 140);
  disV->viewType = index == kAnswerItem ? AnsDistributeView::kAnswer : AnsDistributeView::kShare;
}

void AnsQuesDetailViewController::selectedLeftBtnItem() {
  if (!disV) return;
  if (disV->viewType == AnsDistributeView::kEditAnswer) {
    const auto text = editorText();
    auto editing = editingAnswer.lock();
    if (text && !text->empty() && editing) {
      // Sent as a copy: the listed answer changes only once the server took the edit.
      auto edited = ansDetailAnswerCopy(*editing);
      edited->content = text;
      // Held here: editingAnswer is weak and the server's answer is owned by nobody else yet.
      std::shared_ptr<Answer> updated = ansService->updateAnswer(edited);
      editingAnswer = updated;
      if (updated && qesDVC) {
        auto& answers = qesDVC->answerList;
        for (auto& listed : answers)
          if (listed && listed->answerId == updated->answerId) {
            listed = updated;
            break;
          }
        qesDVC->refreshData();
        qesDVC->tableView()->reloadData();
      }
    }
    closeEditor();
    return;
  }
  if (selectedItemIndex == kAnswerItem && disV->viewType == AnsDistributeView::kAnswer) {
    addAnswer();
    if (requestResultPrompt) showResult(requestResultPrompt, 0.8);
  } else if (selectedItemIndex == kShareItem) {
    if (!checkShareCommentLegal()) {
      progressHUD->setLabelText(kEmptyShare);
      progressHUD->show(true);
      progressHUD->hide(true, 0.8);
      return;
    }
    shareToMB();
    showResult(requestResultPrompt, 0.8);
  }
  progressHUD->hide(true);
}

void AnsQuesDetailViewController::selectedRightBtnItem() {
  if (disV) disV->setContent(std::nullopt);
  closeEditor();
}

bool AnsQuesDetailViewController::checkShareCommentLegal() {
  const auto text = editorText();
  return text && !text->empty();
}

void AnsQuesDetailViewController::addAnswer() {
  const auto text = editorText();
  closeEditor();
  requestResultPrompt = std::nullopt;
  if (!text || text->empty() || !question) return;
  auto answer = std::make_shared<Answer>();
  answer->content = text;
  answer->questionId = question->questionId;
  answer->operationType = Answer::kOperationAdd;
  if (!ansService->addAnswer(answer)) return;
  requestResultPrompt = kAnswerAdded;
  ++question->answerCount;
  if (qesDVC) {
    qesDVC->refreshData();
    qesDVC->tableView()->reloadData();
  }
}

void AnsQuesDetailViewController::shareToMB() {
  const auto text = editorText();
  closeEditor();
  const bool shared = question && ansService->shareQuestionWithQuestionId(question->questionId, text);
  requestResultPrompt = shared ? kShared : kShareFailed;
}

void AnsQuesDetailViewController::collectQuestion() {
  if (!question) return;
  std::string prompt;
  if (questionIsCollected) {
    const bool ok = ansService->cancelCollect(question->questionId);
    questionIsCollected = !ok;
    prompt = ok ? kUncollected : kUncollectFailed;
  } else {
    const bool ok = ansService->collect(question->questionId);
    questionIsCollected = ok;
    prompt = ok ? kCollected : kCollectFailed;
  }
  requestResultPrompt = prompt;
  showResult(prompt, 0.8);
  checkQuestionIsCollected();
}

bool AnsQuesDetailViewController::checkQuestionIsCollected() {
  const bool collected = question && ansService && ansService->isFavoriteQuestion(question->questionId);
  if (ansTabBar) ansTabBar->setItemTitle(collected ? kUncollectTitle : kCollectTitle, kCollectItem);
  return collected;
}

void AnsQuesDetailViewController::editAnswer(const std::shared_ptr<Answer>& answer) {
  if (!answer) return;
  makeEditor();
  disV->setContentLimitedSize(400);
  editingAnswer = answer;
  answer->operationType = Answer::kOperationModify;
  disV->setHidden(false);
  disV->setTopTitle(kEditAnswerTitle);
  disV->setLeftItemTittle(kSaveTitle);
  disV->viewType = AnsDistributeView::kEditAnswer;
  disV->setContent(answer->content);
}

void AnsQuesDetailViewController::didPressLink(const std::shared_ptr<QuestionTopic>& topic) {
  auto navigation = navigationController();
  if (!topic || !navigation) return;
  auto detail = std::dynamic_pointer_cast<AnsTopicDetailViewController>(
      ViewUtil::viewControllerFromNibOfClass(AnsTopicDetailViewController::kClassName));
  if (!detail) return;
  detail->topic = topic;
  navigation->pushViewController(detail, true);
}

void AnsQuesDetailViewController::goback() {
  if (auto navigation = navigationController()) navigation->popViewControllerAnimated(true);
}
