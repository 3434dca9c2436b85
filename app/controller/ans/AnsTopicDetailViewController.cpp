#include "app/controller/ans/AnsTopicDetailViewController.h"

#include "app/controller/ans/AnsQuesQuizViewController.h"
#include "app/controller/ans/AnsTopicDetailContentViewController.h"
#include "app/controller/ans/AnsTopicTabBar.h"
#include "app/controller/ans/AnsTopicViewController.h"
#include "app/model/ans/QuestionTopic.h"
#include "app/service/ans/AnsService.h"
#include "app/util/ViewUtil.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"

AnsTopicDetailViewController::AnsTopicDetailViewController() = default;
AnsTopicDetailViewController::AnsTopicDetailViewController(std::string nibName)
    : BaseViewController(std::move(nibName)) {}
AnsTopicDetailViewController::~AnsTopicDetailViewController() = default;

void AnsTopicDetailViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  auto self = std::static_pointer_cast<AnsTopicDetailViewController>(shared_from_this());
  ansService = std::make_shared<AnsService>(std::weak_ptr<ServiceDelegate>(self));
  const pf::Rect screen = pf::Screen::mainScreen().bounds();
  const double barHeight = 56;
  const double barY = screen.height() - barHeight - 44 - pf::Application::sharedApplication().statusBarFrame().height();

  tdCVC = std::dynamic_pointer_cast<AnsTopicDetailContentViewController>(
      ViewUtil::viewControllerFromNibOfClass(AnsTopicDetailContentViewController::kClassName));
  tdCVC->topic = topic;
  tdCVC->pVC = self;
  addChildViewController(tdCVC);
  tdCVC->view()->setFrame(pf::Rect(0, 0, screen.width(), barY));
  view()->addSubview(tdCVC->view());

  tpTabBar = std::dynamic_pointer_cast<AnsTopicTabBar>(ViewUtil::viewFromNibOfClass(AnsTopicTabBar::kClassName));
  tpTabBar->setFrame(pf::Rect(0, barY, screen.width(), barHeight));
  tpTabBar->delegete = std::weak_ptr<AnsTabBarDelegate>(self);
  tpTabBar->setAutoresizingMask(pf::View::kFlexibleWidth | pf::View::kFlexibleTopMargin);
  view()->addSubview(tpTabBar);

  resultHUD = ProgressHUD::initWithView(view());
  resultHUD->setMode(ProgressHUD::kCustomView);
  view()->addSubview(resultHUD);
}

void AnsTopicDetailViewController::viewWillAppear(bool animated) {
  BaseViewController::viewWillAppear(animated);
  checkTopicHasBeenFocused();
}

void AnsTopicDetailViewController::checkTopicHasBeenFocused() {
  if (!topic || !ansService) return;
  topic->isFocused = ansService->isAttentionTopic(topic->topicId);
  if (tpTabBar) tpTabBar->setItemTitle(topic->isFocused ? kUnfollowTitle : kFollowTitle, kFollowItem);
}

void AnsTopicDetailViewController::resetNumber() {
  if (topic) ++topic->questionCount;
}

void AnsTopicDetailViewController::ansTabBarDidSelectedItemAtIndex(int index) {
  if (!topic) return;
  if (index == kAskItem) {
    auto navigation = navigationController();
    auto ask = std::dynamic_pointer_cast<AnsQuesQuizViewController>(
        ViewUtil::viewControllerFromNibOfClass(AnsQuesQuizViewController::kClassName));
    if (!navigation || !ask) return;
    ask->bVC = tdCVC;
    ask->delegate = std::static_pointer_cast<AnsTopicDetailViewController>(shared_from_this());
    ask->topicName = topic->content;
    navigation->pushViewController(ask, true);
    return;
  }
  if (index != kFollowItem) return;
  const bool followed = topic->isFocused;
  const bool ok = followed ? ansService->cancelFollowTopicById(topic->topicId) : ansService->followTopicById(topic->topicId);
  const char* prompt = followed ? (ok ? AnsTopicViewController::kUnfollowed : AnsTopicViewController::kUnfollowFailed)
                                : (ok ? AnsTopicViewController::kFollowed : AnsTopicViewController::kFollowFailed);
  resultHUD->setLabelText(std::string(prompt));
  resultHUD->show(true);
  resultHUD->hide(true, 1.0);
  checkTopicHasBeenFocused();
}
