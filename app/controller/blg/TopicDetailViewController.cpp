#include "app/controller/blg/TopicDetailViewController.h"

#include "app/controller/blg/TopicDetailTableViewController.h"
#include "app/controller/blg/WriteBlogViewController.h"
#include "app/controller/cmn/CmnEmbeddedChild.h"
#include "app/service/blg/TopicService.h"
#include "app/util/ViewUtil.h"
#include "core/open/OpenError.h"
#include "platform/foundation/Timer.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/RefreshControl.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/TableView.h"

namespace {

constexpr char kTopicDetailFollow[] = "关注此话题";
constexpr char kTopicDetailCancelFollow[] = "取消关注此话题";
constexpr char kTopicDetailFollowed[] = "关注成功!";
constexpr char kTopicDetailFollowCancelled[] = "取消关注成功!";

}  // namespace

TopicDetailViewController::TopicDetailViewController() = default;
TopicDetailViewController::TopicDetailViewController(std::string nibName) : BlgBaseViewController(std::move(nibName)) {}

TopicDetailViewController::~TopicDetailViewController() {
  if (clearTimer_) clearTimer_->invalidate();
}

void TopicDetailViewController::initService() {
  topicService = std::make_shared<TopicService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

void TopicDetailViewController::viewDidLoad() {
  BlgBaseViewController::viewDidLoad();
  setNavgationItemTitle(kTitle);
  if (auto title = titleLabel.lock()) title->setText(topicName.value_or(""));
  setRightBtnWithBgImageN("BLG_DTOP_refresh_n.png", "BLG_DTOP_refresh_p.png", std::nullopt, std::nullopt);
  installActionBar();
  auto list = std::make_shared<TopicDetailTableViewController>();
  CmnEmbeddedChild::embed(*this, list, listContainer.lock());
  list->topicID = topicID;
  list->parentController = parentController;
  detailTableViewCon = list;
  rightBtnPressed();
  // Asked even offline: a failure reaches onError, which shows its cause.
  isFollow = topicService->isFollowedTopicWithID(topicID);
  updateTopicFollowItem();
}

void TopicDetailViewController::installActionBar() {
  auto bar = actionBar.lock();
  if (!bar) return;
  items_ = {std::make_shared<pf::TabBarItem>(std::string(kTopicDetailFollow), nullptr, kFollowTag),
            std::make_shared<pf::TabBarItem>(std::string("写微博"), nullptr, kWriteTag)};
  followTabBarItem = items_.front();
  bar->setItems(items_);
  bar->setDelegate(std::dynamic_pointer_cast<pf::TabBarDelegate>(shared_from_this()));
}

void TopicDetailViewController::rightBtnPressed() {
  auto list = detailTableViewCon.lock();
  if (!list) return;
  list->willBeginRefreshData();
  auto table = list->tableView();
  const auto control = list->refreshControl();
  table->setContentOffset(pf::Point(0, -(control ? control->frame().height() : 0)), true);
  list->refreshData();
}

void TopicDetailViewController::updateTopicFollowItem() {
  if (auto item = followTabBarItem.lock())
    item->setTitle(std::string(isFollow ? kTopicDetailCancelFollow : kTopicDetailFollow));
}

void TopicDetailViewController::didSelectItem(pf::TabBar& tabBar, pf::TabBarItem& item) {
  if (item.tag() == kFollowTag) follow();
  if (item.tag() == kWriteTag) write();
  std::weak_ptr<TopicDetailViewController> weak = sharedAs<TopicDetailViewController>();
  std::weak_ptr<pf::TabBar> bar = tabBar.sharedAs<pf::TabBar>();
  if (clearTimer_) clearTimer_->invalidate();
  clearTimer_ = pf::Timer::scheduled(kBarClearDelay, false, [weak, bar](pf::Timer&) {
    auto self = weak.lock();
    auto strongBar = bar.lock();
    if (self && strongBar) self->cancelTabBarSelectedItem(*strongBar);
  });
}

void TopicDetailViewController::cancelTabBarSelectedItem(pf::TabBar& tabBar) { tabBar.setSelectedItem(nullptr); }

void TopicDetailViewController::follow() {
  const bool wasFollowing = isFollow;
  const bool done = wasFollowing ? topicService->cancelFollowTopicWithID(topicID) : topicService->followTopicWithID(topicID);
  if (!done) return;
  showErrorInfoWithMessage(wasFollowing ? kTopicDetailFollowCancelled : kTopicDetailFollowed);
  isFollow = !wasFollowing;
  updateTopicFollowItem();
}

void TopicDetailViewController::write() {
  auto composer = std::dynamic_pointer_cast<WriteBlogViewController>(
      ViewUtil::viewControllerFromNibOfClass(WriteBlogViewController::kClassName));
  auto navigation = navigationController();
  if (!composer || !navigation) return;
  composer->topicText = topicName;
  composer->parentController = parentController;
  navigation->pushViewController(composer, true);
}

void TopicDetailViewController::onError(const pf::ErrorPtr& error, const std::string& requestUri) {
  if (handleSessionError(error)) return;
  auto info = error ? OpenError::firstOrDefaultErrorInfo(*error) : nullptr;
  if (!info) return;
  if (requestUri == kFollowUri || requestUri == kCancelFollowUri) {
    if (info->errorCode == kFollowedCode) {
      isFollow = true;
      updateTopicFollowItem();
    } else if (info->errorCode == kCancelFollowedCode) {
      isFollow = false;
      updateTopicFollowItem();
    }
  }
  if (info->cause) showErrorInfoWithMessage(*info->cause);
}
