#pragma once
// The base of every full micro-blog screen: the module's backdrop and bar picture, its own back and
// menu buttons, a default right-button background with the module's title colour, and the module
// root handed from screen to screen (blog lists zoom pictures over it).
//
// Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/cmn/BaseViewController.h"

class BlgBaseViewController : public BaseViewController {
  PF_OBJECT(BlgBaseViewController, BaseViewController)

  BlgBaseViewController() = default;
  explicit BlgBaseViewController(std::string nibName) : BaseViewController(std::move(nibName)) {}

  static constexpr char kBackgroundImage[] = "BLG_BASE_bg.png";
  static constexpr char kNavigationBarImage[] = "BLG_BASE_nav_bg.png";
  static constexpr double kBackButtonSide = 31;
  static constexpr unsigned kRightTitleRGB = 0x00608A;

  // The module root; weak so a closed root frees its tabs.
  std::weak_ptr<pf::ViewController> parentController;
  void setParentController(const std::weak_ptr<pf::ViewController>& parent) { parentController = parent; }

  void viewDidLoad() override;
  void setShowBackBtn(bool show) override;
  void setLeftBtnWithImageN(const std::string& normal, const std::string& highlighted,
                            const std::optional<std::string>& title) override;
  // An empty normal or pressed background takes the module's default.
  void setRightBtnWithBgImageN(const std::string& normal, const std::string& highlighted,
                               const std::optional<std::string>& title,
                               const std::optional<std::string>& image) override;
};
