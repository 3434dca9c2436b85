#pragma once
// The topic list in two variants by view type: 0 all topics in the order of the server's latest
// topics (the module's second tab, paged, with the menu button) and 1 the topics the learner follows
// (from the personal page: the whole list at once, titled "我的话题", with a back button and a follow
// switch per row). A row opens the topic's detail.
//
// Followed rows are marked followed when they load, not when they draw, so an unfollowed row keeps
// reading "加关注" after it scrolls away and back; a failed switch springs back.
//
// Main thread only; the loads run on a global queue, the follow calls on the main thread.

#include <memory>
#include <string>
#include <vector>

#include "app/controller/ans/AnsBaseTableViewController.h"
#include "app/controller/ans/AnsTopicFocusCellDelegate.h"

class AnsService;
class QuestionTopic;

class AnsTopicViewController : public AnsBaseTableViewController, public AnsTopicFocusCellDelegate {
  PF_OBJECT(AnsTopicViewController, AnsBaseTableViewController)

  static constexpr int kAllTopics = 0;
  static constexpr int kMyTopics = 1;
  static constexpr char kNoTopicImage[] = "ANS_TOPI_no_topic.png";
  static constexpr char kNoTopicText[] = "没有话题信息";
  static constexpr char kFollowed[] = "添加关注成功";
  static constexpr char kFollowFailed[] = "添加关注失败";
  static constexpr char kUnfollowed[] = "取消关注成功";
  static constexpr char kUnfollowFailed[] = "取消关注失败";

  AnsTopicViewController();
  explicit AnsTopicViewController(std::string nibName);
  ~AnsTopicViewController() override;

  int viewType() const { return viewType_; }
  void setViewType(int viewType);

  std::vector<std::shared_ptr<QuestionTopic>> topicInfoList;
  std::shared_ptr<ProgressHUD> resultHUD;
  std::shared_ptr<AnsService> answerService;

  // The row height of both variants.
  static double rowHeight();

  Request requestData(int type, std::shared_ptr<Page> page) override;
  void viewDidLoad() override;
  void clickTopic(const std::shared_ptr<QuestionTopic>& topic) override;
  void hideAnsTabBar(bool hidden);
  void goback();

  long numberOfRowsInSection(pf::TableView& tableView, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& tableView,
                                                           const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;

 private:
  void toggleMenu();
  bool isOnTop() const;

  int viewType_ = kAllTopics;
};
