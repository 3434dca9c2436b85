#include "app/controller/ans/AnsPesnViewController.h"

#include "app/controller/ans/AnsQuesViewController.h"
#include "app/controller/ans/AnsTopicViewController.h"
#include "app/controller/cmn/CmnNaviBtnItem.h"
#include "app/model/ans/QuestionUser.h"
#include "app/model/lgn/User.h"
#include "app/service/ans/AnsService.h"
#include "app/service/cmn/CommonService.h"
#include "app/util/ViewUtil.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/Format.h"
#include "platform/graphics/Image.h"
#include "platform/net/Url.h"
#include "platform/ui/Control.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "ui/deck/PanelDeckController.h"
#include "ui/deck/PanelDeckItem.h"
#include "ui/webimage/ImageViewWebCache.h"

AnsPesnViewController::AnsPesnViewController() = default;
AnsPesnViewController::AnsPesnViewController(std::string nibName) : BaseViewController(std::move(nibName)) {}
AnsPesnViewController::~AnsPesnViewController() = default;

void AnsPesnViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  auto self = std::static_pointer_cast<AnsPesnViewController>(shared_from_this());
  answerService = std::make_shared<AnsService>(std::weak_ptr<ServiceDelegate>(self));
  std::weak_ptr<AnsPesnViewController> weak = self;
  // The deck is looked up at the tap: the page is not inside it yet.
  auto menu = std::make_shared<CmnNaviBtnItem>("CMN_BASE_menu_n.png", "CMN_BASE_menu_p.png", std::nullopt,
                                               std::nullopt, weak, [weak] {
                                                 if (auto page = weak.lock()) page->toggleMenu();
                                               });
  menu->setItemSize(pf::Size(38, 30));
  navigationItem()->setLeftBarButtonItem(menu);
  setNavgationItemTitle("个人主页");
  user = CommonService().getCurrentUser();
  getMessageCount();
  userQAInfo = answerService->getUserInfoByUserId(user ? user->userId : std::nullopt);
  if (auto picture = userImgView.lock()) {
    auto placeholder = pf::Image::named(kUserPlaceholder, pf::Screen::mainScreen().scale());
    if (user && user->faceUrl && !user->faceUrl->empty())
      ImageViewWebCache::setImageWithURL(picture, pf::Url::parse(*user->faceUrl), placeholder);
    else
      picture->setImage(placeholder);
  }
  if (auto label = userNameLabel.lock()) label->setText(userQAInfo ? userQAInfo->nickName.value_or("") : "");
}

void AnsPesnViewController::viewWillAppear(bool animated) {
  BaseViewController::viewWillAppear(animated);
  getMessageCount();
}

void AnsPesnViewController::viewDidUnload() {
  userImgView.reset();
  userNameLabel.reset();
  quizCountLabel.reset();
  answerCountLabel.reset();
  collectCountLabel.reset();
  topicCountLabel.reset();
  BaseViewController::viewDidUnload();
}

void AnsPesnViewController::toggleMenu() {
  if (auto deck = panelDeckController(*this)) deck->toggleLeftView();
}

void AnsPesnViewController::getMessageCount() {
  if (!answerService) return;
  std::weak_ptr<AnsPesnViewController> weak = std::static_pointer_cast<AnsPesnViewController>(shared_from_this());
  pf::DispatchQueue::global()->async(
      [weak, service = answerService, userId = user ? user->userId : std::nullopt] {
        auto info = service->getUserInfoByUserId(userId);
        pf::DispatchQueue::main()->async([weak, info] {
          auto self = weak.lock();
          if (!self) return;
          self->userQAInfo = info;
          self->showCounts();
        });
      });
}

void AnsPesnViewController::showCounts() {
  const auto& info = userQAInfo;
  if (auto label = quizCountLabel.lock()) label->setText(pf::format("%d", info ? info->questionCount : 0));
  if (auto label = topicCountLabel.lock()) label->setText(pf::format("%d", info ? info->topicCount : 0));
  if (auto label = answerCountLabel.lock()) label->setText(pf::format("%d", info ? info->answerCount : 0));
  if (auto label = collectCountLabel.lock()) label->setText(pf::format("%d", info ? info->favoriteCount : 0));
}

void AnsPesnViewController::changeItemHighlited(bool highlighted, const pf::View& item) {
  for (int offset : {1, 2}) {
    auto decoration = view()->viewWithTag(item.tag() + offset);
    if (auto control = std::dynamic_pointer_cast<pf::Control>(decoration))
      control->setHighlighted(highlighted);
    else if (auto image = std::dynamic_pointer_cast<pf::ImageView>(decoration))
      image->setHighlighted(highlighted);
    else if (auto label = std::dynamic_pointer_cast<pf::Label>(decoration))
      label->setHighlighted(highlighted);
  }
}

void AnsPesnViewController::willSelectedItem(const pf::ObjectPtr& sender) {
  if (auto item = std::dynamic_pointer_cast<pf::View>(sender)) changeItemHighlited(true, *item);
}

void AnsPesnViewController::itemSelectedCanceled(const pf::ObjectPtr& sender) {
  if (auto item = std::dynamic_pointer_cast<pf::View>(sender)) changeItemHighlited(false, *item);
}

void AnsPesnViewController::selectedItem(const pf::ObjectPtr& sender) {
  auto item = std::dynamic_pointer_cast<pf::View>(sender);
  if (!item) return;
  changeItemHighlited(false, *item);
  auto navigation = navigationController();
  if (!navigation || navigation->topViewController().get() != this) return;
  std::shared_ptr<pf::ViewController> list;
  switch (item->tag()) {
    case kAskedEntry:
    case kAnsweredEntry:
    case kCollectedEntry: {
      auto questions = std::dynamic_pointer_cast<AnsQuesViewController>(
          ViewUtil::viewControllerFromNibOfClass(AnsQuesViewController::kClassName));
      if (!questions) return;
      const int type = item->tag() == kAskedEntry      ? AnsQuesViewController::kMyAsked
                       : item->tag() == kAnsweredEntry ? AnsQuesViewController::kMyAnswered
                                                       : AnsQuesViewController::kMyFavorite;
      questions->setViewType(type);
      questions->setTitle(type == AnsQuesViewController::kMyAsked      ? "我的问题"
                          : type == AnsQuesViewController::kMyAnswered ? "我的回答"
                                                                       : "我的收藏");
      list = questions;
      break;
    }
    case kTopicsEntry: {
      auto topics = std::dynamic_pointer_cast<AnsTopicViewController>(
          ViewUtil::viewControllerFromNibOfClass(AnsTopicViewController::kClassName));
      if (!topics) return;
      topics->setViewType(AnsTopicViewController::kMyTopics);
      list = topics;
      break;
    }
    default:
      return;
  }
  list->setHidesBottomBarWhenPushed(true);
  std::weak_ptr<AnsPesnViewController> weak = std::static_pointer_cast<AnsPesnViewController>(shared_from_this());
  auto back = std::make_shared<CmnNaviBtnItem>("CMN_BASE_btn_n.png", "CMN_BASE_btn_p.png", std::nullopt, "返回", weak,
                                               [weak] {
                                                 if (auto self = weak.lock()) self->goback();
                                               });
  list->navigationItem()->setLeftBarButtonItem(back);
  navigation->pushViewController(list, true);
}

void AnsPesnViewController::goback() {
  if (auto navigation = navigationController()) navigation->popViewControllerAnimated(true);
}
