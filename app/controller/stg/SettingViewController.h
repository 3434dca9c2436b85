#pragma once
// "更多设置", opened from the module menu as the centre of the signed-in root in a navigation controller
// of its own: seven rows that synchronise the study data, clear the picture cache and drafts, check the
// store for a new version, change the password, show the help pages, switch the prompt before
// downloading over a cellular network, and log out. Logging out forgets the user, the server session
// and the download service, and returns to the login screen, which then waits for a tap.
//
// Main thread only; the synchronisation runs on a global queue under an overlay.

#include <memory>
#include <string>
#include <vector>

#include "app/controller/cmn/BaseViewController.h"
#include "app/controller/stg/SettingViewCellDelegate.h"
#include "platform/ui/TableView.h"

class CommonService;
class CourseSyncService;
class ProgressHUD;

class SettingViewController : public BaseViewController,
                              public SettingViewCellDelegate,
                              public pf::TableViewDataSource,
                              public pf::TableViewDelegate {
  PF_OBJECT(SettingViewController, BaseViewController)

  struct Row {
    std::string image;
    std::string title;
    std::string btnText;
  };

  static constexpr char kTitle[] = "更多设置";
  static constexpr char kCellClass[] = "SettingViewCell";
  static constexpr char kSyncing[] = "同步中，请稍候...";
  static constexpr char kCacheCleared[] = "清除成功";
  static constexpr char kNoCache[] = "暂无缓存文件";
  static constexpr char kLogoutTitleFormat[] = "退出帐户：%@";
  static constexpr double kRowHeight = 60;
  static constexpr double kPromptSeconds = 1.0;
  enum RowTag : int { kSync = 0, kClearCache = 1, kCheckVersion = 2, kModifyPassword = 3, kHelp = 4,
                      kPromptSwitch = 5, kLogout = 6 };

  SettingViewController();
  explicit SettingViewController(std::string nibName);
  ~SettingViewController() override;

  std::weak_ptr<pf::TableView> tableView;

  const std::vector<Row>& resouceArr() const { return resouceArr_; }
  const std::shared_ptr<ProgressHUD>& promptHUD() const { return promptHUD_; }

  void initService() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;

  void pressedTheBtnWithTag(int tag) override;
  void wifiSwithValueChange(bool on) override;
  void disableOpenAppnavigatorView();

  long numberOfRowsInSection(pf::TableView& table, long section) override;
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& table, const pf::IndexPath& indexPath) override;
  std::optional<double> heightForRowAtIndexPath(pf::TableView& table, const pf::IndexPath& indexPath) override;
  void willDisplayCell(pf::TableView& table, pf::TableViewCell& cell, const pf::IndexPath& indexPath) override;

 private:
  void synchronise();
  void clearCache();
  void pushScreen(const std::string& className);
  void logout();
  void setPanning(bool enabled);

  std::vector<Row> resouceArr_;
  std::shared_ptr<CommonService> commonServer_;
  std::shared_ptr<CourseSyncService> courseSyncService_;
  std::shared_ptr<ProgressHUD> promptHUD_;
};
