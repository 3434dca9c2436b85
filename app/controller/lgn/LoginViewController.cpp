#include "app/controller/lgn/LoginViewController.h"

#include "app/model/lgn/User.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/lgn/LoginService.h"
#include "app/service/lgn/OpenLoginService.h"
#include "app/util/ViewUtil.h"
#include "core/db/VelkDBHelper.h"
#include "core/open/OpenError.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "ui/hud/ProgressHUD.h"

namespace {

std::shared_ptr<pf::Image> loginPicture(const std::string& name) {
  return pf::Image::named(name, pf::Screen::mainScreen().scale());
}

}  // namespace

LoginViewController::LoginViewController() = default;
LoginViewController::LoginViewController(std::string nibName) : BaseViewController(std::move(nibName)) {}
LoginViewController::~LoginViewController() = default;

void LoginViewController::declareProperties(pf::ClassBuilder<LoginViewController>& b) { PF_PROPERTY(b, isLogout); }

void LoginViewController::initService() {
  const auto self = std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this());
  loginService_ = std::make_shared<LoginService>(self);
  commonService_ = std::make_shared<CommonService>(self);
}

void LoginViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  if (auto button = loginBtn.lock()) {
    button->setBackgroundImage(loginPicture("LGN_MAIN_login_btn_n.png"), pf::Control::kNormal);
    button->setBackgroundImage(loginPicture("LGN_MAIN_login_btn_p.png"), pf::Control::kHighlighted);
  }
  const auto self = std::dynamic_pointer_cast<pf::TextFieldDelegate>(shared_from_this());
  for (const auto& field : {corpCode, userName, passWord}) {
    if (auto strong = field.lock()) {
      strong->setDelegate(self);
      strong->setBorderStyle(pf::TextField::BorderStyle::RoundedRect);
    }
  }
}

void LoginViewController::viewWillAppear(bool animated) {
  BaseViewController::viewWillAppear(animated);
  if (auto navigation = navigationController()) navigation->setNavigationBarHidden(true);
  fillFields();
}

// The last user's name, and with the remember box the password too; an empty corporation field takes
// the last corporation code. Signing in by itself needs a known user and all three fields.
void LoginViewController::fillFields() {
  autoLogin_ = false;
  const std::optional<std::string> lastUserId = commonService_->getLastLoginUserId();
  checked_ = loginService_->getLoginCheckBox();
  updateCheckImageView();
  if (auto corp = corpCode.lock(); corp && corp->text().empty()) {
    corp->setText(commonService_->getLastLoginCorpcode());
  }
  user_ = lastUserId ? std::dynamic_pointer_cast<User>(
                           VelkDBHelper::instance()->queryForObject(User::kClassName, pf::Value(*lastUserId)))
                     : nullptr;
  if (!user_) return;
  if (auto name = userName.lock()) name->setText(user_->loginName);
  if (!checked_) return;
  if (auto password = passWord.lock()) password->setText(commonService_->getLastLoginUserPassword());
  autoLogin_ = !textOf(corpCode).empty() && !textOf(userName).empty() && !textOf(passWord).empty();
}

void LoginViewController::viewDidAppear(bool animated) {
  BaseViewController::viewDidAppear(animated);
  if (!autoLogin_ || isLogout || !user_ || !user_->loginName) return;
  loginWithCorpcode(textOf(corpCode), *user_->loginName, commonService_->getLastLoginUserPassword().value_or(""));
}

void LoginViewController::pressLoginBtn() {
  const std::string corp = textOf(corpCode);
  const std::string name = textOf(userName);
  const std::string password = textOf(passWord);
  if (corp.empty()) return showErrorInfoWithMessage(kCorpCodeMissing);
  if (name.empty()) return showErrorInfoWithMessage(kUserNameMissing);
  if (password.empty()) return showErrorInfoWithMessage(kPasswordMissing);
  loginWithCorpcode(corp, name, password);
}

void LoginViewController::checkBoxPressed() {
  checked_ = !checked_;
  updateCheckImageView();
}

void LoginViewController::updateCheckImageView() {
  if (auto box = checkImgView.lock()) {
    box->setImage(loginPicture(checked_ ? "LGN_MAIN_checked.png" : "LGN_MAIN_unchecked.png"));
  }
}

void LoginViewController::loginWithCorpcode(const std::string& corp, const std::string& UserName,
                                            const std::string& Password) {
  auto navigation = navigationController();
  if (signingIn_ || !navigation) return;
  signingIn_ = true;
  auto hud = ProgressHUD::initWithView(navigation->view());
  navigation->view()->addSubview(hud);
  hud->setLabelText(std::string(kSigningIn));
  auto signedIn = std::make_shared<bool>(false);
  hud->showAnimated(
      true,
      [service = loginService_, signedIn, corp, UserName, Password] {
        *signedIn = service->login(UserName, Password, corp);
      },
      [weak = std::weak_ptr<LoginViewController>(sharedAs<LoginViewController>()), hud, signedIn, UserName] {
        hud->removeFromSuperview();
        if (auto self = weak.lock()) self->finishLogin(*signedIn, UserName);
      });
}

// The remember box belongs to the user as stored (the server's spelling of the name), which is the
// name the box is read back under at the next appearance.
void LoginViewController::finishLogin(bool signedIn, const std::string& typedName) {
  signingIn_ = false;
  if (!signedIn) return;
  loginService_->saveLoginCheckBox(checked_, commonService_->getCurrentLoginName().value_or(typedName));
  pushPostLoginScreen();
}

void LoginViewController::pushPostLoginScreen() {
  auto next = std::dynamic_pointer_cast<pf::ViewController>(ViewUtil::viewControllerFromNibOfClass(kPostLoginScreenClass));
  if (auto navigation = navigationController(); next && navigation) navigation->pushViewController(next, true);
}

// A failure without a record, or with a record without a cause (a transport failure), reads "未知错误".
void LoginViewController::onError(const pf::ErrorPtr& error, const std::string& requestUri) {
  if (requestUri != OpenLoginService::kOloginUri) {
    handleSessionError(error);
    return;
  }
  const auto info = error ? OpenError::firstOrDefaultErrorInfo(*error) : nullptr;
  const bool hasCause = info && info->cause && !info->cause->empty();
  showErrorInfoWithMessage(hasCause ? *info->cause : std::string(kUnknownError));
  if (auto password = passWord.lock()) password->setText(std::string());
}

bool LoginViewController::textFieldShouldReturn(pf::TextField& field) {
  field.resignFirstResponder();
  return true;
}

std::string LoginViewController::textOf(const std::weak_ptr<pf::TextField>& field) {
  auto strong = field.lock();
  return strong ? strong->text() : std::string();
}
