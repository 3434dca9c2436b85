#include "app/controller/blg/BlgDetailViewController.h"

#include "app/controller/blg/BlgCommentEditViewController.h"
#include "app/controller/blg/BlgDetailTableViewController.h"
#include "app/controller/blg/BlgUserInfoViewController.h"
#include "app/controller/cmn/CmnEmbeddedChild.h"
#include "app/model/blg/Blog.h"
#include "app/model/blg/Statistics.h"
#include "app/service/blg/BlgService.h"
#include "app/service/blg/BlgUserService.h"
#include "app/util/ViewUtil.h"
#include "core/open/OpenError.h"
#include "core/util/CommonUtil.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/Timer.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/TableView.h"
#include "ui/webimage/ImageViewWebCache.h"

namespace {

constexpr char kBlgDetailOffline[] = "当前网络不可用";
constexpr char kBlgDetailCollect[] = "收藏";
constexpr char kBlgDetailCancelCollect[] = "取消收藏";
constexpr char kBlgDetailCollected[] = "收藏成功!";
constexpr char kBlgDetailCollectCancelled[] = "取消收藏成功!";

}  // namespace

BlgDetailViewController::BlgDetailViewController() = default;
BlgDetailViewController::BlgDetailViewController(std::string nibName) : BlgBaseViewController(std::move(nibName)) {}

BlgDetailViewController::~BlgDetailViewController() {
  if (clearTimer_) clearTimer_->invalidate();
}

void BlgDetailViewController::initService() {
  auto self = std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this());
  blogService = std::make_shared<BlgService>(self);
  blogUserService = std::make_shared<BlgUserService>(self);
}

void BlgDetailViewController::viewDidLoad() {
  BlgBaseViewController::viewDidLoad();
  setNavgationItemTitle(kTitle);
  installActionBar();
  auto list = std::make_shared<BlgDetailTableViewController>();
  CmnEmbeddedChild::embed(*this, list, listContainer.lock());
  list->setParentController(parentController);
  list->setCurrentBlog(blog);
  list->tableView()->reloadData();
  detailTableViewController = list;
  // The handed blog's author shows until a fresh copy arrives, offline too.
  if (blog) initUserInfo();
  if (CommonUtil::isOnline()) loadDataOnline();
}

void BlgDetailViewController::viewWillAppear(bool animated) {
  BlgBaseViewController::viewWillAppear(animated);
  if (sentWatcher_.takeSent() && CommonUtil::isOnline()) loadDataOnline();
}

void BlgDetailViewController::installActionBar() {
  auto bar = actionBar.lock();
  if (!bar) return;
  const std::pair<const char*, int> titles[] = {
      {"刷新", kRefreshTag}, {"转发", kRepostTag}, {"评论", kCommentTag}, {kBlgDetailCollect, kCollectTag}};
  for (const auto& [title, tag] : titles) items_.push_back(std::make_shared<pf::TabBarItem>(std::string(title), nullptr, tag));
  collectTabBarItem = items_.back();
  bar->setItems(items_);
  bar->setDelegate(std::dynamic_pointer_cast<pf::TabBarDelegate>(shared_from_this()));
}

void BlgDetailViewController::loadData() {
  if (CommonUtil::isOnline()) {
    loadDataOnline();
  } else {
    showErrorInfoWithMessage(kBlgDetailOffline);
  }
}

void BlgDetailViewController::loadDataOnline() {
  if (!blog) return;
  std::weak_ptr<BlgDetailViewController> weak = sharedAs<BlgDetailViewController>();
  pf::DispatchQueue::global()->async([weak, service = blogService, blogId = blog->blogId] {
    auto fresh = service->getBlogWithBlogID(blogId);
    pf::DispatchQueue::main()->async([weak, fresh] {
      auto self = weak.lock();
      if (!self || !fresh) return;
      self->setBlog(fresh);
      self->initUserInfo();
      if (auto list = self->detailTableViewController.lock()) {
        list->setCurrentBlog(fresh);
        list->tableView()->reloadData();
      }
    });
  });
}

void BlgDetailViewController::initUserInfo() {
  if (auto picture = userPic.lock()) {
    const auto url = blog->userPic && !blog->userPic->empty() ? pf::Url::parse(*blog->userPic) : std::nullopt;
    ImageViewWebCache::setImageWithURL(picture, url,
                                       pf::Image::named("BLG_BASE_user_def_s.png", pf::Screen::mainScreen().scale()));
  }
  if (auto name = userName.lock()) name->setText(blog->nickName.value_or(""));
  isCollected = blog->collected;
  updateBlogFavItem();
}

void BlgDetailViewController::updateBlogFavItem() {
  if (auto item = collectTabBarItem.lock())
    item->setTitle(std::string(isCollected ? kBlgDetailCancelCollect : kBlgDetailCollect));
}

void BlgDetailViewController::didSelectItem(pf::TabBar& tabBar, pf::TabBarItem& item) {
  switch (item.tag()) {
    case kRefreshTag:
      loadData();
      break;
    case kRepostTag:
      if (auto list = detailTableViewController.lock()) list->broadcastCurrentBlogBtnPressed();
      break;
    case kCommentTag:
      if (auto editor = std::dynamic_pointer_cast<BlgCommentEditViewController>(
              ViewUtil::viewControllerFromNibOfClass(BlgCommentEditViewController::kClassName));
          editor && blog) {
        editor->blogID = blog->blogId;
        editor->parentController = parentController;
        if (auto navigation = navigationController()) navigation->pushViewController(editor, true);
      }
      break;
    case kCollectTag:
      collect();
      break;
    default:
      break;
  }
  std::weak_ptr<BlgDetailViewController> weak = sharedAs<BlgDetailViewController>();
  std::weak_ptr<pf::TabBar> bar = tabBar.sharedAs<pf::TabBar>();
  if (clearTimer_) clearTimer_->invalidate();
  clearTimer_ = pf::Timer::scheduled(kBarClearDelay, false, [weak, bar](pf::Timer&) {
    auto self = weak.lock();
    auto strongBar = bar.lock();
    if (self && strongBar) self->cancelTabBarSelectedItem(*strongBar);
  });
}

void BlgDetailViewController::cancelTabBarSelectedItem(pf::TabBar& tabBar) { tabBar.setSelectedItem(nullptr); }

void BlgDetailViewController::collect() {
  if (!blog) return;
  const bool wasCollected = isCollected;
  const bool done = wasCollected ? blogService->cancelCollectBlogWithBlogID(blog->blogId)
                                 : blogService->collectBlogWithBlogID(blog->blogId);
  if (!done) return;
  showErrorInfoWithMessage(wasCollected ? kBlgDetailCollectCancelled : kBlgDetailCollected);
  isCollected = !wasCollected;
  updateBlogFavItem();
}

void BlgDetailViewController::showUserInfo() {
  if (!blog) return;
  auto statistics = blogUserService->getUserDetailWithUserID(blog->createBy);
  if (!statistics) return;
  auto profile = std::dynamic_pointer_cast<BlgUserInfoViewController>(
      ViewUtil::viewControllerFromNibOfClass(BlgUserInfoViewController::kClassName));
  auto navigation = navigationController();
  if (!profile || !navigation) return;
  profile->needBack = true;
  profile->setUserStatistics(statistics);
  profile->parentController = parentController;
  navigation->pushViewController(profile, true);
}

void BlgDetailViewController::onError(const pf::ErrorPtr& error, const std::string& requestUri) {
  if (handleSessionError(error)) return;
  auto info = error ? OpenError::firstOrDefaultErrorInfo(*error) : nullptr;
  if (!info || requestUri == kGetUri) return;
  if (requestUri == kCollectUri || requestUri == kCancelCollectUri) {
    if (info->errorCode == kCollectedCode) {
      isCollected = true;
      updateBlogFavItem();
    } else if (info->errorCode == kCancelCollectedCode) {
      isCollected = false;
      updateBlogFavItem();
    }
  }
  if (info->cause) showErrorInfoWithMessage(*info->cause);
}
