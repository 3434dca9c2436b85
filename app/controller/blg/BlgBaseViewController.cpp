#include "app/controller/blg/BlgBaseViewController.h"

#include "app/controller/cmn/MyNavigationBar.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationItem.h"
#include "ui/extension/ColorExpanded.h"

void BlgBaseViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  setBackgroundImageWithName(kBackgroundImage);
  MyNavigationBar::setNavName(std::string(kNavigationBarImage));
}

void BlgBaseViewController::setShowBackBtn(bool show) {
  BaseViewController::setShowBackBtn(show);
  if (show) {
    setLeftBtnWithImageN("BLG_WBLG_back_n.png", "BLG_WBLG_back_p.png", std::nullopt);
  } else {
    setLeftBtnWithImageN("CMN_BASE_menu_n.png", "CMN_BASE_menu_p.png", std::nullopt);
  }
}

void BlgBaseViewController::setLeftBtnWithImageN(const std::string& normal, const std::string& highlighted,
                                                 const std::optional<std::string>& title) {
  BaseViewController::setLeftBtnWithImageN(normal, highlighted, title);
  if (!showBackBtn()) return;
  auto item = navigationItem()->leftBarButtonItem();
  if (auto button = item ? item->customView() : nullptr) {
    auto frame = button->frame();
    button->setFrame(pf::Rect(frame.minX(), frame.minY(), kBackButtonSide, kBackButtonSide));
  }
}

void BlgBaseViewController::setRightBtnWithBgImageN(const std::string& normal, const std::string& highlighted,
                                                    const std::optional<std::string>& title,
                                                    const std::optional<std::string>& image) {
  const std::string background = normal.empty() ? std::string("BLG_BASE_nav_btn_n.png") : normal;
  const std::string pressed = highlighted.empty() ? std::string("BLG_BASE_nav_btn_p.png") : highlighted;
  BaseViewController::setRightBtnWithBgImageN(background, pressed, title, image);
  if (!title || image) return;
  auto item = navigationItem()->rightBarButtonItem();
  if (auto button = std::dynamic_pointer_cast<pf::Button>(item ? item->customView() : nullptr))
    button->setTitleColor(ColorExpanded::colorWithRGBHex(kRightTitleRGB), pf::Control::kNormal);
}
