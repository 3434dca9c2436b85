#pragma once
// The list inside a topic's detail: the topic with the number of its questions, then its questions.
// A question row opens the question's detail on the topic screen's navigation stack.
//
// Main thread only; the first page loads on the main thread, refresh and load-more on a global queue.

#include <memory>
#include <string>
#include <vector>

#include "app/controller/ans/AnsBaseTableViewController.h"

class AnsService;
class QaQuestion;
class QuestionTopic;

class AnsTopicDetailContentViewController : public AnsBaseTableViewController {
  PF_OBJECT(AnsTopicDetailContentViewController, AnsBaseTableViewController)

  static constexpr char kUserPlaceholder[] = "ANS_PESN_uer_default.png";

  AnsTopicDetailContentViewController();
  explicit AnsTopicDetailContentViewController(std::string nibName);
  ~AnsTopicDetailContentViewController() override;

  // The topic screen, whose navigation stack the question details go on.
  std::weak_ptr<pf::ViewController> pVC;
  std::shared_ptr<QuestionTopic> topic;
  std::vector<std::shared_ptr<QaQuestion>> quesList;
  std::shared_ptr<AnsService> ansService;

  Request requestData(int type, std::shared_ptr<Page> page) override;
  void viewDidLoad() override;

  long numberOfRowsInSection(pf::TableView& tableView, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& tableView,
                                                           const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
};
