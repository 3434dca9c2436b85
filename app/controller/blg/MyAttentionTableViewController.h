#pragma once
// The users a micro-blog user follows, page by page, each row with a follow button for the signed-in
// user (none on the signed-in user's own row); a chosen row opens that user's profile.
//
// Main thread only; pages load on a global queue and are applied on the main queue; follow calls and
// the profile look-up run on the main thread.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/controller/blg/BlgAttentionCellDelegate.h"
#include "app/controller/blg/BlgBaseTableViewController.h"

class BlgUserService;
class BlogUser;
class CommonService;

class MyAttentionTableViewController : public BlgBaseTableViewController, public BlgAttentionCellDelegate {
  PF_OBJECT(MyAttentionTableViewController, BlgBaseTableViewController)

  std::shared_ptr<BlgUserService> userService;
  std::shared_ptr<CommonService> commonService;
  // Nil until a load succeeds.
  std::optional<std::vector<std::shared_ptr<BlogUser>>> resourceArr;
  std::optional<std::string> userID;
  std::weak_ptr<pf::ViewController> parentController;

  void setParentController(const std::weak_ptr<pf::ViewController>& parent) { parentController = parent; }

  bool enableRefresh() const override { return true; }
  bool enableLoadmore() const override { return true; }
  bool displayNodataViewIfNeeded() const override { return true; }

  void initService() override;

  long numberOfRowsInSection(pf::TableView& tableView, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& tableView,
                                                           const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) override;
  void attentionBtnPressedWithCell(MyAttentionCell& cell) override;

 protected:
  PageFetch pageFetch() const override;
  void showPage(const pf::ArrayPtr& rows, bool more) override;
};
