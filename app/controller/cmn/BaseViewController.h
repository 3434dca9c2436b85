#pragma once
// The base of every full screen that is not a list: the common backdrop, a back or menu button at the
// left of the navigation bar, an optional right button, a title label, the screen's services made in
// one hook, errors shown as self-hiding boxes, and the way back to the login screen when the server
// says the session expired. Made through ViewUtil from the class's interface file.
//
// Main thread only; services report errors on the main queue.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/cmn/BaseViewDelegate.h"
#include "core/open/ServiceDelegate.h"
#include "ui/hud/ProgressHUD.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/ViewController.h"

namespace pf {
class ImageView;
}

class BaseViewController : public pf::ViewController, public ServiceDelegate, public ProgressHUDDelegate {
  PF_OBJECT(BaseViewController, pf::ViewController)

  static constexpr double kLeftButtonWidth = 42;
  static constexpr double kButtonHeight = 31;
  static constexpr double kIconAndTextButtonWidth = 55;

  BaseViewController() = default;
  explicit BaseViewController(std::string nibName) : pf::ViewController(std::move(nibName)) {}

  // Asked to open the module menu by the menu button.
  std::weak_ptr<BaseViewDelegate> baseDelegate;
  // The full-screen background picture, made when the view loads.
  std::shared_ptr<pf::ImageView> bgImageView;

  bool showBackBtn() const { return showBackBtn_; }
  // Back button ("返回") for YES, menu button for NO.
  virtual void setShowBackBtn(bool show);
  // Read by the view log; the base has none.
  virtual std::optional<std::string> viewName() const { return std::nullopt; }

  // Hooks.
  virtual void initService() {}
  virtual void leftBtnPressed();
  virtual void rightBtnPressed() {}
  void onError(const pf::ErrorPtr& error, const std::string& requestUri) override;
  // Answers whether the error was a session expiry (then the way back to login has begun).
  virtual bool handleSessionError(const pf::ErrorPtr& error);

  void viewDidLoad() override;

  virtual void setLeftBtnWithImageN(const std::string& normal, const std::string& highlighted,
                                    const std::optional<std::string>& title);
  // A title alone makes a 42-point button with it; a title and an image make the 55-point "分类"
  // button with the sort icon (their values are not shown); neither, the plain 31-point button.
  virtual void setRightBtnWithBgImageN(const std::string& normal, const std::string& highlighted,
                                       const std::optional<std::string>& title,
                                       const std::optional<std::string>& image);
  void setBackgroundImageWithName(const std::string& name);
  void setNavgationItemTitle(const std::string& title);
  // A self-hiding box on the screen's window; the delegate, if any, hears when it has gone.
  void showErrorInfoWithMessage(const std::string& message, std::weak_ptr<ProgressHUDDelegate> delegate = {});
  void backToLoginViewController();

  static void declareProperties(pf::ClassBuilder<BaseViewController>& b);

 private:
  // Opens or closes the side panel of the deck the screen lives in; nothing outside a deck.
  void toggleSidePanel();

  bool showBackBtn_ = false;
};
