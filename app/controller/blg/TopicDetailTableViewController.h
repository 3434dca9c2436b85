#pragma once
// The blogs filed under one topic, with pull to refresh and paging; a chosen row opens its detail.
//
// Main thread only; pages load on a global queue and are applied on the main queue.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/blg/BlgMainTableViewController.h"

class BlgService;

class TopicDetailTableViewController : public BlgMainTableViewController {
  PF_OBJECT(TopicDetailTableViewController, BlgMainTableViewController)

  TopicDetailTableViewController();
  ~TopicDetailTableViewController() override;

  std::shared_ptr<BlgService> blgService;
  std::optional<std::string> topicID;

  bool enableLoadmore() const override { return true; }

  void initService() override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;

 protected:
  PageFetch pageFetch() const override;
};
