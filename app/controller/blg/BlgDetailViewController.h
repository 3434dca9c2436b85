#pragma once
// One blog at full length: the handed blog shows at once and is replaced by a fresh copy when the
// device is online, and again when it shows after a repost or comment was sent (its counts rise); an
// action bar refreshes, reposts, comments and collects it, the avatar opens the author's profile.
//
// Main thread only; the load runs on a global queue, collect and the profile look-up on the main thread.

#include <memory>

#include "app/controller/blg/BlgBaseViewController.h"
#include "app/controller/blg/BlgSentWatcher.h"
#include "platform/ui/TabBar.h"

namespace pf {
class ImageView;
class Label;
class TabBarItem;
class Timer;
class View;
}  // namespace pf
class Blog;
class BlgDetailTableViewController;
class BlgService;
class BlgUserService;

class BlgDetailViewController : public BlgBaseViewController, public pf::TabBarDelegate {
  PF_OBJECT(BlgDetailViewController, BlgBaseViewController)

  static constexpr char kTitle[] = "微博详情";
  static constexpr char kGetUri[] = "/v1/wb/blog/get";
  static constexpr char kCollectUri[] = "/v1/wb/blog/collect";
  static constexpr char kCancelCollectUri[] = "/v1/wb/blog/cancelCollect";
  static constexpr char kCollectedCode[] = "wb.blog.blogCollected";
  static constexpr char kCancelCollectedCode[] = "wb.blog.blogCancelCollected";
  static constexpr double kBarClearDelay = 0.2;
  enum ActionTag { kRefreshTag = 0, kRepostTag = 1, kCommentTag = 2, kCollectTag = 3 };

  BlgDetailViewController();
  explicit BlgDetailViewController(std::string nibName);
  ~BlgDetailViewController() override;

  std::weak_ptr<BlgDetailTableViewController> detailTableViewController;
  std::shared_ptr<BlgService> blogService;
  std::shared_ptr<BlgUserService> blogUserService;
  bool isCollected = false;
  // The blog shown; set by the opener before the screen loads.
  std::shared_ptr<Blog> blog;
  std::weak_ptr<pf::ImageView> userPic;
  std::weak_ptr<pf::Label> userName;
  std::weak_ptr<pf::TabBarItem> collectTabBarItem;
  // From the interface file: the action bar and where the list is laid.
  std::weak_ptr<pf::TabBar> actionBar;
  std::weak_ptr<pf::View> listContainer;

  void setBlog(const std::shared_ptr<Blog>& value) { blog = value; }

  void initService() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void loadData();
  void loadDataOnline();
  void initUserInfo();
  void updateBlogFavItem();
  void didSelectItem(pf::TabBar& tabBar, pf::TabBarItem& item) override;
  void cancelTabBarSelectedItem(pf::TabBar& tabBar);
  void showUserInfo();
  void onError(const pf::ErrorPtr& error, const std::string& requestUri) override;

 private:
  void installActionBar();
  void collect();

  // The bar's items; the bar holds them too, but the collect item is reached weakly.
  std::vector<std::shared_ptr<pf::TabBarItem>> items_;
  std::shared_ptr<pf::Timer> clearTimer_;
  BlgSentWatcher sentWatcher_;
};
