#pragma once
// The square's people list: every micro-blog user, filtered by nick name when one is searched, page by
// page; a chosen row opens the person's profile.
//
// Main thread only; pages load on a global queue and are applied on the main queue; the profile
// look-up of a chosen row runs on the main thread.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/controller/blg/BlgBaseTableViewController.h"

class BlgUserService;
class BlogUser;

class SearchPeopleViewController : public BlgBaseTableViewController {
  PF_OBJECT(SearchPeopleViewController, BlgBaseTableViewController)

  static constexpr char kFansFormat[] = "粉丝%lli人";

  std::shared_ptr<BlgUserService> blogUserService;
  // Nil until a load succeeds.
  std::optional<std::vector<std::shared_ptr<BlogUser>>> usersArr;
  std::optional<std::string> searchStr;
  std::weak_ptr<pf::ViewController> parentController;

  void setSearchStr(std::optional<std::string> text) { searchStr = std::move(text); }
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

 protected:
  // The filter is read when the call starts: a later search does not change a page in flight.
  PageFetch pageFetch() const override;
  void showPage(const pf::ArrayPtr& rows, bool more) override;
};
