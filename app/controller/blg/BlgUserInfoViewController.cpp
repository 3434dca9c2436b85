#include "app/controller/blg/BlgUserInfoViewController.h"

#include "app/controller/blg/BlgUserInfoViewControllerDelegate.h"
#include "app/controller/blg/MyAttentionViewController.h"
#include "app/controller/blg/MyBlogViewController.h"
#include "app/controller/blg/MyCollectViewController.h"
#include "app/controller/blg/MyTopicViewController.h"
#include "app/controller/blg/MyfansViewController.h"
#include "app/controller/blg/BlgAttentionButton.h"
#include "app/controller/blg/BlgBaseTableViewController.h"
#include "app/model/blg/Statistics.h"
#include "app/service/blg/BlgUserService.h"
#include "app/service/cmn/CommonService.h"
#include "app/util/ViewUtil.h"
#include "core/open/ErrorInfo.h"
#include "core/open/OpenError.h"
#include "core/util/CommonUtil.h"
#include "core/util/NumberString.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/graphics/Image.h"
#include "platform/net/Url.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "ui/webimage/ImageViewWebCache.h"

namespace {

std::shared_ptr<pf::Image> blgUserInfoPicture(const std::string& name) {
  return pf::Image::named(name, pf::Screen::mainScreen().scale());
}

void blgUserInfoSetCount(const std::weak_ptr<pf::Label>& label, long long count) {
  if (auto shown = label.lock()) shown->setText(StringWithLongLong(count));
}

}  // namespace

BlgUserInfoViewController::BlgUserInfoViewController() = default;
BlgUserInfoViewController::BlgUserInfoViewController(std::string nibName)
    : BlgBaseViewController(std::move(nibName)) {}
BlgUserInfoViewController::~BlgUserInfoViewController() = default;

void BlgUserInfoViewController::initService() {
  auto self = std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this());
  commonService = std::make_shared<CommonService>(self);
  userService = std::make_shared<BlgUserService>(self);
}

void BlgUserInfoViewController::viewDidLoad() {
  BlgBaseViewController::viewDidLoad();
  setShowBackBtn(needBack);
  setRightBtnWithBgImageN("BLG_DTOP_refresh_n.png", "BLG_DTOP_refresh_p.png", std::nullopt, std::nullopt);
  const auto signedIn = commonService->getCurrentUserId();
  showsOtherUser_ = userStatistics && userStatistics->userId != signedIn;
  setNavgationItemTitle(showsOtherUser_ ? kOtherTitle : kOwnTitle);
  if (auto button = attentionBtn.lock()) button->setHidden(!showsOtherUser_);
  if (auto button = collectBtn.lock()) button->setHidden(showsOtherUser_);
  if (auto label = collectLabel.lock()) label->setHidden(showsOtherUser_);
  if (showsOtherUser_) {
    isConcerned = userStatistics->userConcerned;
    updateAttentionBtn();
  }
  const std::pair<std::weak_ptr<pf::Button>, const char*> countButtons[] = {
      {leftUpBtn, "BLG_UINF_leftup"},     {leftDownBtn, "BLG_UINF_leftdown"}, {rightUpBtn, "BLG_UINF_rightup"},
      {rightDownBtn, "BLG_UINF_rightdown"}, {collectBtn, "BLG_UINF_collect"}};
  for (const auto& [weakButton, stem] : countButtons) {
    auto button = weakButton.lock();
    if (!button) continue;
    button->setBackgroundImage(blgUserInfoPicture(std::string(stem) + "_n.png"), pf::Control::kNormal);
    button->setBackgroundImage(blgUserInfoPicture(std::string(stem) + "_p.png"), pf::Control::kHighlighted);
  }
  loadUserInfo();
}

void BlgUserInfoViewController::viewDidAppear(bool animated) {
  BlgBaseViewController::viewDidAppear(animated);
  if (!showBackBtn()) {
    if (auto delegate = blgUserInfoDelegate.lock()) delegate->blgUserInfoViewEnableAppNavigator();
  }
  rightBtnPressed();
}

std::optional<std::string> BlgUserInfoViewController::shownUserId() {
  if (userStatistics && userStatistics->userId) return userStatistics->userId;
  return commonService->getCurrentUserId();
}

void BlgUserInfoViewController::rightBtnPressed() {
  if (!CommonUtil::isOnline()) {
    showErrorInfoWithMessage(BlgBaseTableViewController::kOfflineMessage);
    return;
  }
  auto navigation = navigationController();
  auto host = navigation ? navigation->view() : view();
  auto hud = std::make_shared<ProgressHUD>(host->bounds());
  host->addSubview(hud);
  hud->setLabelText(std::string(kLoadingText));
  hud->setRemoveFromSuperViewOnHide(true);
  const auto userId = shownUserId();
  auto service = userService;
  auto answer = std::make_shared<std::shared_ptr<Statistics>>();
  std::weak_ptr<BlgUserInfoViewController> weak = sharedAs<BlgUserInfoViewController>();
  hud->showAnimated(
      true, [service, userId, answer] { *answer = service->getUserDetailWithUserID(userId); },
      [weak, answer] {
        auto self = weak.lock();
        if (!self || !*answer) return;
        self->setUserStatistics(*answer);
        self->loadUserInfo();
      });
}

void BlgUserInfoViewController::loadUserInfo() {
  if (!userStatistics) return;
  if (auto picture = userPic.lock(); picture && userStatistics->faceUrl && !userStatistics->faceUrl->empty())
    ImageViewWebCache::setImageWithURL(picture, pf::Url::parse(*userStatistics->faceUrl),
                                       blgUserInfoPicture("BLG_UINF_user_def_big.png"));
  if (auto name = userName.lock()) name->setText(userStatistics->nickName.value_or(""));
  blgUserInfoSetCount(leftUpLabel, userStatistics->attentionCount);
  blgUserInfoSetCount(leftDownLabel, userStatistics->blogCount);
  blgUserInfoSetCount(rightUpLabel, userStatistics->attentionedCount);
  blgUserInfoSetCount(rightDownLabel, userStatistics->conceredTopicCount);
  blgUserInfoSetCount(collectLabel, userStatistics->collectedBlogCount);
}

void BlgUserInfoViewController::attentionBtnPressed() {
  if (!userStatistics) return;
  const bool done = isConcerned ? userService->cancelFollowWithID(userStatistics->userId)
                                : userService->followUserWithID(userStatistics->userId);
  if (done) isConcerned = !isConcerned;
  updateAttentionBtn();
}

void BlgUserInfoViewController::updateAttentionBtn() {
  if (auto button = attentionBtn.lock()) BlgAttentionButton::show(*button, isConcerned);
}

template <typename Container>
void BlgUserInfoViewController::pushContainer() {
  auto navigation = navigationController();
  auto container =
      std::dynamic_pointer_cast<Container>(ViewUtil::viewControllerFromNibOfClass(Container::kClassName));
  if (!navigation || !container) return;
  // Before the first load the own profile has no statistics yet: its lists are the signed-in user's.
  container->userID = shownUserId();
  container->parentController = parentController;
  container->setHidesBottomBarWhenPushed(true);
  navigation->pushViewController(container, true);
  disableAppNavigator();
}

void BlgUserInfoViewController::leftUpBtnPressed() { pushContainer<MyAttentionViewController>(); }
void BlgUserInfoViewController::leftDownBtnPressed() { pushContainer<MyBlogViewController>(); }
void BlgUserInfoViewController::rightUpBtnPressed() { pushContainer<MyfansViewController>(); }
void BlgUserInfoViewController::rightDownBtnPressed() { pushContainer<MyTopicViewController>(); }
void BlgUserInfoViewController::collectBtnPressed() { pushContainer<MyCollectViewController>(); }

void BlgUserInfoViewController::disableAppNavigator() {
  if (auto delegate = blgUserInfoDelegate.lock()) delegate->blgUserInfoViewDisableAppNavigator();
}

void BlgUserInfoViewController::onError(const pf::ErrorPtr& error, const std::string& requestUri) {
  if (handleSessionError(error)) return;
  auto info = error ? OpenError::firstOrDefaultErrorInfo(*error) : nullptr;
  if (!info) return;
  if (requestUri == kFollowUri || requestUri == kCancelFollowUri) {
    if (info->errorCode == kFollowedCode) {
      isConcerned = true;
      updateAttentionBtn();
    } else if (info->errorCode == kCancelFollowedCode) {
      isConcerned = false;
      updateAttentionBtn();
    }
  }
  if (info->cause) showErrorInfoWithMessage(*info->cause);
}
