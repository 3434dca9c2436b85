#include "app/controller/blg/BlgAllViewController.h"

#include <numbers>

#include "app/controller/blg/BlgAllTableViewController.h"
#include "app/controller/blg/BlgAllViewControllerDelegate.h"
#include "app/controller/cmn/CmnEmbeddedChild.h"
#include "app/util/ViewUtil.h"
#include "platform/graphics/Image.h"
#include "platform/text/Font.h"
#include "platform/ui/BasicAnimation.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"

BlgAllViewController::BlgAllViewController() = default;
BlgAllViewController::BlgAllViewController(std::string nibName) : BlgBaseViewController(std::move(nibName)) {}
BlgAllViewController::~BlgAllViewController() = default;

void BlgAllViewController::viewDidLoad() {
  BlgBaseViewController::viewDidLoad();
  setShowBackBtn(false);
  setNavgationItemTitle(kTitle);
  setRightBtnWithBgImageN("BLG_ABLG_write_n.png", "BLG_ABLG_write_p.png", std::nullopt, std::nullopt);
  installTitleView();
  list_ = std::make_shared<BlgAllTableViewController>();
  list_->baseTableViewDelegate = std::dynamic_pointer_cast<BaseTableViewControllerdelegate>(shared_from_this());
  CmnEmbeddedChild::embed(*this, list_, listContainer.lock());
  allTableViewController = list_;
  reloadList();
}

void BlgAllViewController::reloadList() {
  if (!list_) return;
  list_->willBeginRefreshData();
  list_->refreshData();
}

void BlgAllViewController::installTitleView() {
  auto titleView = std::make_shared<pf::View>(pf::Rect(0, 0, 200, 44));
  titleView->setBackgroundColor(pf::Color::clear());
  auto label = std::make_shared<pf::Label>(pf::Rect(55, 0, 90, 44));
  label->setBackgroundColor(pf::Color::clear());
  label->setTextColor(pf::Color::white());
  label->setFont(pf::Font::boldSystemFont(21));
  label->setText(std::string(kTitle));
  titleView->addSubview(label);
  refreshImgView = std::make_shared<pf::ImageView>(pf::Rect(label->frame().maxX(), 15, 15, 15));
  refreshImgView->setImage(pf::Image::named("BLG_DETL_footrefresh.png", pf::Screen::mainScreen().scale()));
  refreshImgView->setBackgroundColor(pf::Color::clear());
  titleView->addSubview(refreshImgView);
  auto button = std::make_shared<pf::Button>(pf::Rect(0, 0, 200, 44));
  button->addTarget(weak_from_this(), "refreshBtnPressedAndAnimationView",
                    [this](pf::Control&, unsigned) { refreshBtnPressedAndAnimationView(); }, pf::Control::kTouchUpInside);
  titleView->addSubview(button);
  navigationItem()->setTitleView(titleView);
}

void BlgAllViewController::viewWillAppear(bool animated) {
  BlgBaseViewController::viewWillAppear(animated);
  if (list_) list_->parentController = parentController;
  if (sentWatcher_.takeSent()) reloadList();
  if (auto delegate = blgAllDelegate.lock()) delegate->blgAllViewEnableAppNavigator();
}

void BlgAllViewController::refreshBtnPressedAndAnimationView() {
  auto spin = pf::BasicAnimation::make("transform.rotation.z");
  spin->toValue = 2 * std::numbers::pi_v<float>;
  spin->duration = 1.0;
  spin->repeatCount = 1;
  refreshImgView->layer()->addAnimation(spin, kRotationKey);
  reloadList();
}

void BlgAllViewController::rightBtnPressed() {
  auto navigation = navigationController();
  if (!navigation || !ViewUtil::isScreenClassRegistered("WriteBlogViewController")) return;
  auto composer = std::dynamic_pointer_cast<pf::ViewController>(
      ViewUtil::viewControllerFromNibOfClass("WriteBlogViewController"));
  if (!composer) return;
  composer->setHidesBottomBarWhenPushed(true);
  navigation->pushViewController(composer, true);
  disableAppNavigator();
}

void BlgAllViewController::disableAppNavigator() {
  if (auto delegate = blgAllDelegate.lock()) delegate->blgAllViewDisableAppNavigator();
}

void BlgAllViewController::tableViewDidSelectRow(const pf::IndexPath&) { disableAppNavigator(); }
