#include "app/controller/cmn/ScreenErrors.h"

#include <algorithm>
#include <cmath>

#include "app/util/ViewUtil.h"
#include "core/open/OpenError.h"
#include "platform/text/Font.h"
#include "platform/text/StringDrawing.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "ui/extension/ProgressHUDKivExtension.h"
#include "ui/hud/ProgressHUD.h"

namespace {

constexpr double kScreenErrorsTitleWidth = 90;
constexpr double kScreenErrorsTitleCentre = 100;

}  // namespace

std::shared_ptr<pf::Window> ScreenErrors::windowOf(pf::ViewController& screen) {
  if (screen.isViewLoaded()) {
    if (auto window = screen.view()->window()) return window;
  }
  return ViewUtil::getKeyWindow();
}

void ScreenErrors::showFirstCause(pf::ViewController& screen, const pf::ErrorPtr& error) {
  if (!error) return;
  const auto info = OpenError::firstOrDefaultErrorInfo(*error);
  if (info) showErrorInfoWithMessage(screen, info->cause.value_or(""), {});
}

bool ScreenErrors::handleSessionError(pf::ViewController& screen, const pf::ErrorPtr& error,
                                      std::function<void()> backToLogin) {
  if (!error) return false;
  const auto info = OpenError::firstOrDefaultErrorInfo(*error);
  if (!info || !info->errorCode || *info->errorCode != kSessionExpiredCode) return false;
  showBoxThen(windowOf(screen), kSessionExpiredText, std::move(backToLogin));
  return true;
}

void ScreenErrors::backToLoginViewController() {
  auto root = std::dynamic_pointer_cast<pf::NavigationController>(ViewUtil::getWindowRootViewController());
  if (!root || root->viewControllers().size() <= 1) return;
  const auto& first = root->viewControllers().front();
  if (first->className() == kLoginScreenClass) first->setValueForKey("isLogout", pf::Value(true));
  root->popToRootViewControllerAnimated(true);
}

std::shared_ptr<pf::Label> ScreenErrors::navigationTitleLabel(const std::string& title) {
  auto font = pf::Font::boldSystemFont(21);
  // Four characters fit the usual width; a longer title widens about the same centre rather than
  // losing its last character.
  const double width =
      std::max(kScreenErrorsTitleWidth, std::ceil(pf::StringDrawing::sizeOfText(title, *font).width));
  auto label = std::make_shared<pf::Label>(pf::Rect(kScreenErrorsTitleCentre - width / 2, 0, width, 44));
  label->setBackgroundColor(pf::Color::clear());
  label->setTextColor(pf::Color::white());
  label->setFont(std::move(font));
  label->setTextAlignment(pf::TextAlignment::center);
  label->setText(title);
  return label;
}

void ScreenErrors::showErrorInfoWithMessage(pf::ViewController& screen, const std::string& message,
                                            std::weak_ptr<ProgressHUDDelegate> delegate) {
  auto window = windowOf(screen);
  if (!window) return;
  auto hud = ProgressHUD::showHUDAddedTo(window, true);
  hud->setDelegate(std::move(delegate));
  ProgressHUDKivExtension::showAndDismissWithMessage(*hud, message);
}

void ScreenErrors::showBoxThen(const std::shared_ptr<pf::Window>& window, const std::string& text,
                               std::function<void()> then) {
  if (!window) {
    if (then) then();
    return;
  }
  ProgressHUDKivExtension::showAndDismissOnView(window, text, std::move(then));
}
