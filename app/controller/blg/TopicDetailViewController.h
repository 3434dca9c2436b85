#pragma once
// One topic: its name, the blogs filed under it, an item to follow or stop following it and one to
// write a blog with the topic filled in; the right button refreshes the list.
//
// Main thread only; the follow query and the follow calls run on the main thread.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/controller/blg/BlgBaseViewController.h"
#include "platform/ui/TabBar.h"

namespace pf {
class Label;
class TabBarItem;
class Timer;
class View;
}  // namespace pf
class TopicDetailTableViewController;
class TopicService;

class TopicDetailViewController : public BlgBaseViewController, public pf::TabBarDelegate {
  PF_OBJECT(TopicDetailViewController, BlgBaseViewController)

  static constexpr char kTitle[] = "话题";
  static constexpr char kFollowUri[] = "/v1/wb/topic/follow";
  static constexpr char kCancelFollowUri[] = "/v1/wb/topic/cancelFollow";
  static constexpr char kFollowedCode[] = "wb.topic.followed";
  static constexpr char kCancelFollowedCode[] = "wb.topic.cancelFollowed";
  static constexpr double kBarClearDelay = 0.2;
  enum ActionTag { kFollowTag = 0, kWriteTag = 1 };

  TopicDetailViewController();
  explicit TopicDetailViewController(std::string nibName);
  ~TopicDetailViewController() override;

  std::weak_ptr<TopicDetailTableViewController> detailTableViewCon;
  std::shared_ptr<TopicService> topicService;
  bool isFollow = false;
  std::weak_ptr<pf::TabBarItem> followTabBarItem;
  std::weak_ptr<pf::Label> titleLabel;
  // From the interface file: the action bar and where the list is laid.
  std::weak_ptr<pf::TabBar> actionBar;
  std::weak_ptr<pf::View> listContainer;
  // Set by the opener.
  std::optional<std::string> topicID;
  std::optional<std::string> topicName;

  void initService() override;
  void viewDidLoad() override;
  void rightBtnPressed() override;
  void updateTopicFollowItem();
  void didSelectItem(pf::TabBar& tabBar, pf::TabBarItem& item) override;
  void cancelTabBarSelectedItem(pf::TabBar& tabBar);
  void onError(const pf::ErrorPtr& error, const std::string& requestUri) override;

 private:
  void installActionBar();
  void follow();
  void write();

  std::vector<std::shared_ptr<pf::TabBarItem>> items_;
  std::shared_ptr<pf::Timer> clearTimer_;
};
