#include "app/controller/cmn/BaseViewController.h"

#include "app/controller/cmn/ScreenErrors.h"
#include "app/service/cmn/SystemLogRecordSevice.h"
#include "platform/graphics/Image.h"
#include "platform/text/Font.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "ui/deck/PanelDeckController.h"
#include "ui/deck/PanelDeckItem.h"

namespace {

std::shared_ptr<pf::Image> basePicture(const std::string& name) {
  return pf::Image::named(name, pf::Screen::mainScreen().scale());
}

std::shared_ptr<pf::Button> barButton(double width, const std::string& normal, const std::string& highlighted) {
  auto button = std::make_shared<pf::Button>(pf::Rect(0, 0, width, BaseViewController::kButtonHeight));
  button->titleLabel()->setFont(pf::Font::systemFont(14));
  button->setBackgroundColor(pf::Color::clear());
  button->setBackgroundImage(basePicture(normal), pf::Control::kNormal);
  button->setBackgroundImage(basePicture(highlighted), pf::Control::kHighlighted);
  return button;
}

}  // namespace

void BaseViewController::declareProperties(pf::ClassBuilder<BaseViewController>& b) {
  b.computed("viewName", "NSString", [](const BaseViewController& screen) {
    const auto name = screen.viewName();
    return name ? pf::Value(*name) : pf::Value();
  });
}

void BaseViewController::viewDidLoad() {
  pf::ViewController::viewDidLoad();
  const pf::Rect screen = pf::Screen::mainScreen().bounds();
  bgImageView = std::make_shared<pf::ImageView>(pf::Rect(0, 0, screen.width(), screen.height()));
  bgImageView->setImage(basePicture("CMN_BASE_bg.png"));
  view()->addSubview(bgImageView);
  view()->sendSubviewToBack(bgImageView.get());
  setShowBackBtn(true);
  initService();
  SystemLogRecordSevice::takeALogForViewController(shared_from_this());
}

void BaseViewController::setShowBackBtn(bool show) {
  showBackBtn_ = show;
  if (show) {
    setLeftBtnWithImageN("CMN_BASE_btn_n.png", "CMN_BASE_btn_p.png", "返回");
  } else {
    setLeftBtnWithImageN("CMN_BASE_menu_n.png", "CMN_BASE_menu_p.png", std::nullopt);
  }
}

void BaseViewController::setLeftBtnWithImageN(const std::string& normal, const std::string& highlighted,
                                              const std::optional<std::string>& title) {
  auto button = barButton(kLeftButtonWidth, normal, highlighted);
  if (title) button->setTitle(*title, pf::Control::kNormal);
  button->addTarget(weak_from_this(), "leftBtnPressed",
                    [this](pf::Control&, unsigned) { leftBtnPressed(); }, pf::Control::kTouchUpInside);
  navigationItem()->setLeftBarButtonItem(std::make_shared<pf::BarButtonItem>(button));
}

void BaseViewController::setRightBtnWithBgImageN(const std::string& normal, const std::string& highlighted,
                                                 const std::optional<std::string>& title,
                                                 const std::optional<std::string>& image) {
  auto button = barButton(kButtonHeight, normal, highlighted);
  if (title && !image) {
    button->setFrame(pf::Rect(0, 0, kLeftButtonWidth, kButtonHeight));
    button->setTitle(*title, pf::Control::kNormal);
  } else if (title && image) {
    button->setFrame(pf::Rect(0, 0, kIconAndTextButtonWidth, kButtonHeight));
    auto icon = std::make_shared<pf::ImageView>(pf::Rect(9, 10, 13, 12));
    icon->setImage(basePicture("CMN_BASE_sort.png"));
    auto label = std::make_shared<pf::Label>(pf::Rect(icon->frame().maxX(), icon->frame().minY(), 25, 12));
    label->setText("分类");
    label->setBackgroundColor(pf::Color::clear());
    label->setFont(pf::Font::systemFont(12));
    label->setTextColor(pf::Color::white());
    button->addSubview(icon);
    button->addSubview(label);
  }
  button->addTarget(weak_from_this(), "rightBtnPressed",
                    [this](pf::Control&, unsigned) { rightBtnPressed(); }, pf::Control::kTouchUpInside);
  navigationItem()->setRightBarButtonItem(std::make_shared<pf::BarButtonItem>(button));
}

void BaseViewController::leftBtnPressed() {
  if (showBackBtn_) {
    if (auto navigation = navigationController()) navigation->popViewControllerAnimated(true);
    return;
  }
  if (auto delegate = baseDelegate.lock(); delegate && delegate->showAppNavigatorView()) return;
  toggleSidePanel();
}

void BaseViewController::setBackgroundImageWithName(const std::string& name) {
  bgImageView->setImage(basePicture(name));
}

void BaseViewController::setNavgationItemTitle(const std::string& title) {
  navigationItem()->setTitleView(ScreenErrors::navigationTitleLabel(title));
}

void BaseViewController::showErrorInfoWithMessage(const std::string& message, std::weak_ptr<ProgressHUDDelegate> delegate) {
  ScreenErrors::showErrorInfoWithMessage(*this, message, std::move(delegate));
}

void BaseViewController::onError(const pf::ErrorPtr& error, const std::string&) {
  if (handleSessionError(error)) return;
  ScreenErrors::showFirstCause(*this, error);
}

bool BaseViewController::handleSessionError(const pf::ErrorPtr& error) {
  return ScreenErrors::handleSessionError(*this, error, [screen = sharedAs<BaseViewController>()] {
    screen->backToLoginViewController();
  });
}

void BaseViewController::backToLoginViewController() {
  ScreenErrors::backToLoginViewController();
}

void BaseViewController::toggleSidePanel() {
  if (auto deck = panelDeckController(*this)) deck->toggleLeftView();
}
