#pragma once
// The topics a micro-blog user follows: the topic list's rows and choice over the user's topics.
//
// Main thread only; pages load on a global queue and are applied on the main queue.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/blg/BlgTopicTableViewController.h"

class BlgPageLoader;

class MyTopicTableViewController : public BlgTopicTableViewController {
  PF_OBJECT(MyTopicTableViewController, BlgTopicTableViewController)

  MyTopicTableViewController();
  ~MyTopicTableViewController() override;

  std::optional<std::string> userID;

  bool canLoadMore() const override;
  void refreshDataOnline() override;
  void refreshDataOffline() override { showOfflineAndComplete(); }
  bool loadMore() override;

 private:
  void load(bool more);
  std::shared_ptr<BlgPageLoader> pageLoader_;
};
