#include "app/controller/stg/SettingViewController.h"

#include "app/controller/lgn/LoginViewController.h"
#include "app/controller/stg/SettingViewCell.h"
#include "app/model/lgn/User.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/cms/CourseSyncService.h"
#include "app/service/lgn/LoginService.h"
#include "app/util/ViewUtil.h"
#include "core/version/VersionPrompt.h"
#include "platform/foundation/Format.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Switch.h"
#include "ui/deck/PanelDeckController.h"
#include "ui/deck/PanelDeckItem.h"
#include "ui/hud/ProgressHUD.h"

namespace {

std::shared_ptr<pf::Image> settingPicture(const std::string& name) {
  return pf::Image::named(name, pf::Screen::mainScreen().scale());
}

}  // namespace

SettingViewController::SettingViewController() = default;
SettingViewController::SettingViewController(std::string nibName) : BaseViewController(std::move(nibName)) {}
SettingViewController::~SettingViewController() = default;

void SettingViewController::initService() {
  BaseViewController::initService();
  courseSyncService_ = std::make_shared<CourseSyncService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

void SettingViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  setNavgationItemTitle(kTitle);
  setShowBackBtn(false);
  resouceArr_ = {
      {"STG_MAIN_sync.png", "同步数据", "同步"},
      {"STG_MAIN_cleanCache.png", "清空缓存", "清空"},
      {"STG_MAIN_checkVer.png", "更新版本", "检查"},
      {"STG_MAIN_edtPass.png", "修改密码", "修改"},
      {"STG_MAIN_help.png", "使用帮助", "查看"},
      {"STG_MAIN_3G.png", "2G/3G网络时下载提醒", ""},
      {"STG_MAIN_logout.png", kLogoutTitleFormat, "退出"},
  };
  commonServer_ = std::make_shared<CommonService>();
  promptHUD_ = ProgressHUD::initWithView(view());
  promptHUD_->setMode(ProgressHUD::kCustomView);
  view()->addSubview(promptHUD_);
  if (auto table = tableView.lock()) ViewUtil::configForTableView(*table, sharedAs<SettingViewController>());
}

void SettingViewController::viewWillAppear(bool animated) {
  BaseViewController::viewWillAppear(animated);
  if (auto navigation = navigationController()) navigation->setNavigationBarHidden(false);
  setPanning(true);
}

long SettingViewController::numberOfRowsInSection(pf::TableView&, long) {
  return static_cast<long>(resouceArr_.size());
}

std::optional<double> SettingViewController::heightForRowAtIndexPath(pf::TableView&, const pf::IndexPath&) {
  return pf::Screen::mainScreen().bounds().height() / 480 * kRowHeight;
}

void SettingViewController::willDisplayCell(pf::TableView&, pf::TableViewCell& cell, const pf::IndexPath&) {
  cell.setBackgroundColor(pf::Color::clear());
}

std::shared_ptr<pf::TableViewCell> SettingViewController::cellForRowAtIndexPath(pf::TableView& table,
                                                                                const pf::IndexPath& indexPath) {
  auto cell = std::dynamic_pointer_cast<SettingViewCell>(ViewUtil::tableViewCellWithClass(kCellClass, table));
  if (!cell) return nullptr;
  const int row = static_cast<int>(indexPath.row);
  const Row& entry = resouceArr_.at(indexPath.row);
  cell->delegate = std::dynamic_pointer_cast<SettingViewCellDelegate>(shared_from_this());
  if (auto picture = cell->imgView.lock()) picture->setImage(settingPicture(entry.image));
  if (auto title = cell->content.lock()) {
    if (row == kLogout) {
      const auto user = commonServer_->getCurrentUser();
      title->setText(pf::format(kLogoutTitleFormat, user && user->userName ? *user->userName : std::string()));
    } else {
      title->setText(entry.title);
    }
  }
  auto button = cell->btn.lock();
  auto toggle = cell->wifiSwitch.lock();
  if (button) {
    button->setBackgroundImage(settingPicture("STG_MAIN_btn_n.png"), pf::Control::kNormal);
    button->setBackgroundImage(settingPicture("STG_MAIN_btn_p.png"), pf::Control::kHighlighted);
    button->setHidden(row == kPromptSwitch);
    button->setTag(row);
    button->setTitle(entry.btnText, pf::Control::kNormal);
  }
  if (toggle) {
    toggle->setHidden(row != kPromptSwitch);
    if (row == kPromptSwitch) toggle->setOn(commonServer_->g3PromptStatus());
  }
  return cell;
}

void SettingViewController::pressedTheBtnWithTag(int tag) {
  switch (tag) {
    case kSync: return synchronise();
    case kClearCache: return clearCache();
    case kCheckVersion: return VersionPrompt::sharedInstance()->checkForNewVersion();
    case kModifyPassword:
      pushScreen("ModifyViewController");
      return disableOpenAppnavigatorView();
    case kHelp: return pushScreen("HelpViewController");
    case kLogout: return logout();
    default: return;
  }
}

void SettingViewController::wifiSwithValueChange(bool) {
  // Flips what is stored, whatever the switch says.
  commonServer_->switchDownloadPromptStatus();
}

void SettingViewController::disableOpenAppnavigatorView() {
  setPanning(false);
}

void SettingViewController::setPanning(bool enabled) {
  if (auto deck = panelDeckController(*this)) deck->setPanningMode(enabled ? DeckPanningFullView : DeckPanningNone);
}

void SettingViewController::synchronise() {
  auto navigation = navigationController();
  if (!navigation) return;
  auto hud = ProgressHUD::initWithView(navigation->view());
  navigation->view()->addSubview(hud);
  hud->setLabelText(std::string(kSyncing));
  // A quick sync still leaves the notice up long enough to be read.
  hud->setMinShowTime(1.0f);
  hud->showAnimated(true, [service = courseSyncService_] { service->syncCourseInfoAndStudyRecord(); },
                    [hud] { hud->removeFromSuperview(); });
}

void SettingViewController::clearCache() {
  promptHUD_->setLabelText(std::string(commonServer_->clearCache() ? kCacheCleared : kNoCache));
  view()->bringSubviewToFront(promptHUD_.get());
  promptHUD_->show(true);
  promptHUD_->hide(true, kPromptSeconds);
}

void SettingViewController::pushScreen(const std::string& className) {
  auto screen = std::dynamic_pointer_cast<pf::ViewController>(ViewUtil::viewControllerFromNibOfClass(className));
  if (auto navigation = navigationController(); screen && navigation) navigation->pushViewController(screen, true);
}

// Forgets the user, the server session (a next user signing in offline must not work in this account)
// and the download service; the course list synchronises again after the next sign-in.
void SettingViewController::logout() {
  LoginService::signOut();
  commonServer_->updateAlreadyFisrtLoadSynCourse(false);
  auto root = std::dynamic_pointer_cast<pf::NavigationController>(ViewUtil::getWindowRootViewController());
  if (!root || root->viewControllers().empty()) return;
  if (auto login = std::dynamic_pointer_cast<LoginViewController>(root->viewControllers().front()))
    login->isLogout = true;
  root->popToRootViewControllerAnimated(true);
}
