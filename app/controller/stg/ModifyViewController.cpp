#include "app/controller/stg/ModifyViewController.h"

#include "app/service/cmn/CommonService.h"
#include "app/service/lgn/LoginService.h"
#include "platform/foundation/Utf16.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

ModifyViewController::ModifyViewController() = default;
ModifyViewController::ModifyViewController(std::string nibName) : BaseViewController(std::move(nibName)) {}
ModifyViewController::~ModifyViewController() = default;

void ModifyViewController::initService() {
  BaseViewController::initService();
  const auto self = std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this());
  loginService_ = std::make_shared<LoginService>(self);
  commonService_ = std::make_shared<CommonService>(self);
}

void ModifyViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  setNavgationItemTitle(kTitle);
  const double scale = pf::Screen::mainScreen().scale();
  if (btn) {
    btn->setBackgroundImage(pf::Image::named("LGN_MAIN_login_btn_n.png", scale), pf::Control::kNormal);
    btn->setBackgroundImage(pf::Image::named("LGN_MAIN_login_btn_p.png", scale), pf::Control::kHighlighted);
  }
  const auto self = std::dynamic_pointer_cast<pf::TextFieldDelegate>(shared_from_this());
  for (const auto& field : {oldPassword, firstNewPW, secondNewPW}) {
    if (!field) continue;
    field->setDelegate(self);
    field->setBorderStyle(pf::TextField::BorderStyle::RoundedRect);
  }
}

std::optional<std::string> ModifyViewController::checkPasswords(const std::string& old, const std::string& first,
                                                                const std::string& second) {
  if (old.empty()) return kOldMissing;
  if (first.empty()) return kNewMissing;
  if (second.empty()) return kConfirmMissing;
  if (first != second) return kMismatch;
  const std::size_t length = pf::utf16::length(first);
  if (length < kMinLength || length > kMaxLength) return kBadLength;
  return std::nullopt;
}

void ModifyViewController::buttonPressed() {
  restoreView();
  for (const auto& field : {oldPassword, firstNewPW, secondNewPW})
    if (field) field->resignFirstResponder();
  const std::string old = oldPassword ? oldPassword->text() : std::string();
  const std::string first = firstNewPW ? firstNewPW->text() : std::string();
  const std::string second = secondNewPW ? secondNewPW->text() : std::string();
  if (const auto problem = checkPasswords(old, first, second)) return showErrorInfoWithMessage(*problem);
  // A refusal has already reached onError.
  if (!loginService_->modifyUserPasswordWithUserName(commonService_->getCurrentLoginName(), first, old)) return;
  commonService_->updateLastLoginUserPassword(first);
  showErrorInfoWithMessage(kChanged);
}

bool ModifyViewController::textFieldShouldBeginEditing(pf::TextField& field) {
  const pf::Rect screen = pf::Screen::mainScreen().bounds();
  const std::shared_ptr<pf::Label> anchor = field.tag() == 1 || field.tag() == 2 ? newPWLabel
                                            : field.tag() == 0                   ? oldPWLabel
                                                                                 : nullptr;
  if (anchor) viewAnimationWithFrame(pf::Rect(0, -anchor->frame().minY(), screen.width(), screen.height()));
  return true;
}

bool ModifyViewController::textFieldShouldReturn(pf::TextField& field) {
  restoreView();
  field.resignFirstResponder();
  return true;
}

void ModifyViewController::restoreView() {
  const pf::Rect screen = pf::Screen::mainScreen().bounds();
  viewAnimationWithFrame(pf::Rect(0, 0, screen.width(), screen.height()));
}

void ModifyViewController::viewAnimationWithFrame(const pf::Rect& frame) {
  pf::View::animateWithDuration(kMoveSeconds, [view = view(), frame] { view->setFrame(frame); });
}
