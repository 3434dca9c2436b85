#pragma once
// The module menu, the left side of the signed-in root: the user's name and photo, the user's modules
// and other applications with their badges (the app square last when the user has square entries),
// and a settings button. A module becomes the centre of the deck and the menu closes; another
// application opens through its URL scheme, or its store page is offered. The rows are read once,
// when the menu loads; modules this client has no screen for are left out.
//
// Main thread only.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/controller/cmn/BaseViewController.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/TableView.h"

namespace pf {
class ImageView;
class Label;
}  // namespace pf
class CommonService;
class MobileApp;
class UserMobileAppService;

class AppNavigatorViewController : public BaseViewController,
                                   public pf::TableViewDataSource,
                                   public pf::TableViewDelegate,
                                   public pf::AlertViewDelegate {
  PF_OBJECT(AppNavigatorViewController, BaseViewController)

  static constexpr char kSettingsScreenClass[] = "SettingViewController";
  static constexpr char kSettingsScreenNib[] = "SettingViewController";
  // Row height on a 480-point-high screen.
  static constexpr double kRowHeight = 60;
  static constexpr long kInstallButtonIndex = 1;

  AppNavigatorViewController();
  explicit AppNavigatorViewController(std::string nibName);
  ~AppNavigatorViewController() override;

  std::shared_ptr<pf::TableView> tableView;
  std::shared_ptr<pf::Label> userName;
  std::shared_ptr<pf::ImageView> userPic;

  const std::vector<std::shared_ptr<MobileApp>>& resourceArr() const { return resourceArr_; }
  const std::optional<std::string>& mobileAppID() const { return mobileAppID_; }

  void initService() override;
  void viewDidLoad() override;

  // Opens settings as the centre, in a navigation controller of its own, and closes the menu.
  void settingBtnPressed();

  long numberOfRowsInSection(pf::TableView& table, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& table, const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& table, const pf::IndexPath& indexPath) override;
  void willDisplayCell(pf::TableView& table, pf::TableViewCell& cell, const pf::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(pf::TableView& table, const pf::IndexPath& indexPath) override;
  void clickedButtonAtIndex(pf::AlertView& alertView, long buttonIndex) override;

 private:
  void openModule(const MobileApp& app);
  void offerInstallation(const MobileApp& app);

  std::vector<std::shared_ptr<MobileApp>> resourceArr_;
  std::optional<std::string> mobileAppID_;
  std::shared_ptr<UserMobileAppService> mobileAppService_;
  std::shared_ptr<CommonService> commonService_;
};
