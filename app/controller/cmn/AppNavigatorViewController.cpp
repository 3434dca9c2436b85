#include "app/controller/cmn/AppNavigatorViewController.h"

#include "app/controller/cmn/MainMenuCell.h"
#include "app/controller/cmn/ModuleScreens.h"
#include "app/controller/cmn/OtherApplications.h"
#include "app/model/cmn/MobileApp.h"
#include "app/model/lgn/User.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/cmn/UserMobileAppService.h"
#include "app/util/ViewUtil.h"
#include "platform/graphics/Image.h"
#include "platform/net/Url.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "ui/deck/PanelDeckController.h"
#include "ui/deck/PanelDeckItem.h"
#include "ui/webimage/ImageViewWebCache.h"

AppNavigatorViewController::AppNavigatorViewController() = default;
AppNavigatorViewController::AppNavigatorViewController(std::string nibName) : BaseViewController(std::move(nibName)) {}
AppNavigatorViewController::~AppNavigatorViewController() = default;

void AppNavigatorViewController::initService() {
  mobileAppService_ = std::make_shared<UserMobileAppService>();
  commonService_ = std::make_shared<CommonService>();
}

void AppNavigatorViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  // The menu keeps its own dark look under the common backdrop.
  bgImageView->setHidden(true);
  const auto user = commonService_->getCurrentUser();
  if (userName) userName->setText(user ? user->userName : std::nullopt);
  if (userPic) {
    const std::optional<pf::Url> face = user && user->faceUrl ? pf::Url::parse(*user->faceUrl) : std::nullopt;
    ImageViewWebCache::setImageWithURL(userPic, face,
                                       pf::Image::named("CMN_NAVI_avatar.png", pf::Screen::mainScreen().scale()));
  }
  resourceArr_.clear();
  for (auto& app : mobileAppService_->getLeftMenuApps()) {
    if (ModuleScreens::isShown(*mobileAppService_, *app)) resourceArr_.push_back(std::move(app));
  }
  if (tableView) {
    tableView->setDataSource(std::dynamic_pointer_cast<pf::TableViewDataSource>(shared_from_this()));
    tableView->setDelegate(std::dynamic_pointer_cast<pf::TableViewDelegate>(shared_from_this()));
    tableView->reloadData();
  }
}

void AppNavigatorViewController::settingBtnPressed() {
  // The plain interface file on every idiom.
  auto settings = ModuleScreens::screenOfClass(kSettingsScreenClass, kSettingsScreenNib);
  auto deck = panelDeckController(*this);
  if (!settings || !deck) return;
  deck->setCenterController(std::make_shared<pf::NavigationController>(settings));
  deck->closeLeftView();
}

long AppNavigatorViewController::numberOfRowsInSection(pf::TableView&, long) {
  return static_cast<long>(resourceArr_.size());
}

std::optional<double> AppNavigatorViewController::heightForRowAtIndexPath(pf::TableView&, const pf::IndexPath&) {
  return pf::Screen::mainScreen().bounds().height() / 480 * kRowHeight;
}

std::shared_ptr<pf::TableViewCell> AppNavigatorViewController::cellForRowAtIndexPath(pf::TableView& table,
                                                                                     const pf::IndexPath& indexPath) {
  auto cell = ViewUtil::tableViewCellWithClass(MainMenuCell::kReuseIdentifier, table);
  if (auto row = std::dynamic_pointer_cast<MainMenuCell>(cell)) row->fill(*resourceArr_.at(indexPath.row));
  return cell;
}

void AppNavigatorViewController::willDisplayCell(pf::TableView&, pf::TableViewCell& cell, const pf::IndexPath&) {
  cell.setBackgroundColor(pf::Color::clear());
}

void AppNavigatorViewController::didSelectRowAtIndexPath(pf::TableView& table, const pf::IndexPath& indexPath) {
  const auto app = resourceArr_.at(indexPath.row);
  if (ModuleScreens::isModule(*app)) {
    openModule(*app);
  } else if (!OtherApplications::launch(*app)) {
    offerInstallation(*app);
  }
  table.deselectRowAtIndexPath(indexPath, true);
}

void AppNavigatorViewController::openModule(const MobileApp& app) {
  auto screen = ModuleScreens::screenWithAppCode(*mobileAppService_, app.appCode);
  auto deck = panelDeckController(*this);
  if (!screen || !deck) return;
  deck->setCenterController(screen);
  deck->closeLeftView();
}

void AppNavigatorViewController::offerInstallation(const MobileApp& app) {
  mobileAppID_ = app.iosAppId;
  auto alert = std::make_shared<pf::AlertView>(
      std::string("提示"), std::string(OtherApplications::kNotInstalledMessage),
      std::dynamic_pointer_cast<pf::AlertViewDelegate>(shared_from_this()), std::string("取消"),
      std::vector<std::string>{"确定"});
  alert->show();
}

void AppNavigatorViewController::clickedButtonAtIndex(pf::AlertView&, long buttonIndex) {
  if (buttonIndex == kInstallButtonIndex) OtherApplications::openStorePage(mobileAppID_);
}
