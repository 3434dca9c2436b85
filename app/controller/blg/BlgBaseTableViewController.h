#pragma once
// The base of every micro-blog list: the guarded refresh of the list base, split into an online and an
// offline hook that the paged lists override.
//
// Main thread only.

#include "app/controller/cmn/BaseTableViewController.h"

class BlgBaseTableViewController : public BaseTableViewController {
  PF_OBJECT(BlgBaseTableViewController, BaseTableViewController)

  using BaseTableViewController::BaseTableViewController;

  static constexpr char kOfflineMessage[] = "当前网络不可用";

  bool refreshData() override;
  virtual void refreshDataOnline() {}
  virtual void refreshDataOffline() {}

 protected:
  // What every paged list does offline: says so and ends the refresh, rows kept.
  void showOfflineAndComplete();
};
