#pragma once
// All topics of the corporation, page by page; a chosen row opens the topic's detail. The followed
// topics of a profile reuse the rows, height and selection with their own loads.
//
// Main thread only; loads run on a global queue and their answers are applied on the main queue.

#include <memory>

#include "app/controller/blg/BlgBaseTableViewController.h"
#include "platform/foundation/Value.h"

class TopicService;

class BlgTopicTableViewController : public BlgBaseTableViewController {
  PF_OBJECT(BlgTopicTableViewController, BlgBaseTableViewController)

  static constexpr double kRowHeight = 55;

  BlgTopicTableViewController();
  ~BlgTopicTableViewController() override;

  std::shared_ptr<TopicService> topicService;
  // The Topic rows; null before the first successful load.
  pf::ArrayPtr topicsArr;
  // The module root, handed on to the topic's detail; weak so a closed module is freed.
  std::weak_ptr<pf::ViewController> parentController;

  bool enableRefresh() const override { return true; }
  bool enableLoadmore() const override { return true; }
  bool displayNodataViewIfNeeded() const override { return true; }

  void initService() override;

  long numberOfRowsInSection(pf::TableView& tableView, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& tableView,
                                                           const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;

 protected:
  PageFetch pageFetch() const override;
  void showPage(const pf::ArrayPtr& rows, bool more) override;
};
