#include "app/controller/ans/AnsQuesQuizViewController.h"

#include "app/controller/ans/AnsBaseTableViewController.h"
#include "app/controller/ans/AnsQuesQuizViewControllerDelegate.h"
#include "app/model/ans/QaQuestion.h"
#include "app/service/ans/AnsService.h"
#include "app/util/ViewUtil.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/Utf16.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Window.h"

AnsQuesQuizViewController::AnsQuesQuizViewController() = default;
AnsQuesQuizViewController::AnsQuesQuizViewController(std::string nibName) : BaseViewController(std::move(nibName)) {}

AnsQuesQuizViewController::~AnsQuesQuizViewController() {
  // A result still showing leaves the window by itself once hidden; an unused one goes with the screen.
  if (resultHUD && !resultHUD->isShowing()) resultHUD->removeFromSuperview();
}

void AnsQuesQuizViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  auto self = std::static_pointer_cast<AnsQuesQuizViewController>(shared_from_this());
  ansServer = std::make_shared<AnsService>(std::weak_ptr<ServiceDelegate>(self));
  for (const auto& area : {questionView.lock(), topicView.lock()})
    if (area) area->setDelegate(std::weak_ptr<pf::TextViewDelegate>(self));
  setHidesBottomBarWhenPushed(true);
  question = std::make_shared<QaQuestion>();
  if (auto window = ViewUtil::getKeyWindow()) {
    resultHUD = ProgressHUD::initWithWindow(window);
    window->addSubview(resultHUD);
    resultHUD->setMode(ProgressHUD::kCustomView);
    resultHUD->setRemoveFromSuperViewOnHide(true);
  }
  wordMaxQty = kWordMax;
  setWordLeftQty(kWordMax);
  isInDistributing = false;
}

void AnsQuesQuizViewController::viewWillAppear(bool animated) {
  BaseViewController::viewWillAppear(animated);
  if (auto area = topicView.lock()) area->setText(topicName);
}

void AnsQuesQuizViewController::setWordLeftQty(int left) {
  wordLeftQty_ = left;
  if (auto label = inputQtyLabel.lock()) label->setText(pf::format("%d", left));
}

bool AnsQuesQuizViewController::shouldBeSharedToWB() const {
  auto share = tranSelectedBtn.lock();
  return share && share->isSelected();
}

void AnsQuesQuizViewController::leftBtnPressed() {
  if (auto list = bVC.lock()) {
    list->loadType = AnsBaseTableViewController::kLoadRefresh;
    list->refreshData();
  }
  BaseViewController::leftBtnPressed();
}

void AnsQuesQuizViewController::onError(const pf::ErrorPtr& error, const std::string& requestUri) {
  if (resultHUD) resultHUD->hide(true);
  BaseViewController::onError(error, requestUri);
}

void AnsQuesQuizViewController::hudWasHidden(ProgressHUD&) {
  if (resultHUD && resultHUD->superview() && resultHUD->superview() == ViewUtil::getKeyWindow())
    resultHUD->removeFromSuperview();
}

void AnsQuesQuizViewController::textViewDidChange(pf::TextView& textView) {
  wordMaxQty = kWordMax;
  const std::string text = textView.text();
  if (pf::utf16::length(text) > static_cast<size_t>(kWordMax)) {
    textView.setText(pf::utf16::prefix(text, kWordMax));
    auto warning = ProgressHUD::initWithView(view());
    view()->addSubview(warning);
    warning->setMode(ProgressHUD::kCustomView);
    warning->setDelegate(std::dynamic_pointer_cast<ProgressHUDDelegate>(shared_from_this()));
    warning->setLabelText(pf::format(kMaxWordsMessage, kWordMax));
    warning->setRemoveFromSuperViewOnHide(true);
    warning->show(true);
    warning->hide(true, 0.8);
  }
  if (&textView == questionView.lock().get())
    setWordLeftQty(kWordMax - static_cast<int>(pf::utf16::length(textView.text())));
}

void AnsQuesQuizViewController::distributeQues(const pf::ObjectPtr&) {
  if (isInDistributing) return;
  isInDistributing = true;
  auto topics = topicView.lock();
  const std::string topicText = topics ? topics->text() : "";
  if (!ansServer->checkTopicLegalWithTopicName(topicText)) {
    isInDistributing = false;
    return;
  }
  auto asked = questionView.lock();
  const std::string title = asked ? asked->text() : "";
  if (title.empty()) {
    auto alert = std::make_shared<pf::AlertView>(AnsService::kAlertTitle, kEmptyQuestionMessage,
                                                 std::weak_ptr<pf::AlertViewDelegate>(), AnsService::kAlertButton);
    alert->show();
    isInDistributing = false;
    return;
  }
  question->title = title;
  const std::string rebuilt = ansServer->reBuiltTopicNameOfTopicName(topicText);
  if (!rebuilt.empty()) question->topicName = rebuilt;
  // Keep the question asked when the server answers none.
  if (auto answered = ansServer->addQuestion(question)) question = answered;
  const bool published = question->questionId && !question->questionId->empty();
  requestResultPrompt = published ? kPublishedMessage : kPublishFailedMessage;
  if (resultHUD) {
    resultHUD->setLabelText(requestResultPrompt);
    resultHUD->show(true);
    resultHUD->hide(true, kResultSeconds);
  }
  if (published) {
    if (auto listener = delegate.lock()) listener->resetNumber();
    if (shouldBeSharedToWB()) ansServer->shareQuestionWithQuestionId(question->questionId, question->title);
  }
  leftBtnPressed();
}

void AnsQuesQuizViewController::wordClear(const pf::ObjectPtr&) {
  auto clear = wordClearBtn.lock();
  auto companion = wordClearBtnb.lock();
  if (clear && companion) clear->setHighlighted(companion->isHighlighted());
  setWordLeftQty(wordMaxQty);
  if (auto area = questionView.lock()) area->setText(std::nullopt);
}

void AnsQuesQuizViewController::selectBtnClick(const pf::ObjectPtr&) {
  if (auto share = tranSelectedBtn.lock()) share->setSelected(!share->isSelected());
}
