#pragma once
// The screen an employee signs in on: corporation code, user name and password, checked here for
// presence and signed in by LoginService (online, or offline against the users known on this device)
// under a busy overlay. It remembers the last user: every time it appears it fills the fields, and
// with the remember box ticked it signs in by itself once per process. It stays at the bottom of the
// root navigation controller, so logout and an expired session come back to it; on success it pushes
// the post-login screen, which builds the signed-in root.
//
// Main thread only; the sign-in itself runs on a global queue.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/cmn/BaseViewController.h"
#include "platform/ui/TextField.h"

namespace pf {
class Button;
class ImageView;
}  // namespace pf
class CommonService;
class LoginService;
class User;

class LoginViewController : public BaseViewController, public pf::TextFieldDelegate {
  PF_OBJECT(LoginViewController, BaseViewController)

  static constexpr char kCorpCodeMissing[] = "请输入公司ID！";
  static constexpr char kUserNameMissing[] = "请输入用户名！";
  static constexpr char kPasswordMissing[] = "请输入密码！";
  static constexpr char kSigningIn[] = "登录中，请稍候...";
  static constexpr char kUnknownError[] = "未知错误";
  static constexpr char kPostLoginScreenClass[] = "SynDataViewController";

  LoginViewController();
  explicit LoginViewController(std::string nibName);
  ~LoginViewController() override;

  std::weak_ptr<pf::Button> loginBtn;
  std::weak_ptr<pf::TextField> corpCode;
  std::weak_ptr<pf::TextField> userName;
  std::weak_ptr<pf::TextField> passWord;
  std::weak_ptr<pf::ImageView> checkImgView;

  // Set by the ways back to this screen (logout, expired session); never cleared in the process.
  bool isLogout = false;

  bool checked() const { return checked_; }
  bool autoLogin() const { return autoLogin_; }
  // A sign-in is under way (between the overlay showing and its completion).
  bool isSigningIn() const { return signingIn_; }

  void initService() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void onError(const pf::ErrorPtr& error, const std::string& requestUri) override;

  void pressLoginBtn();
  void checkBoxPressed();
  void updateCheckImageView();
  void loginWithCorpcode(const std::string& corp, const std::string& UserName, const std::string& Password);

  bool textFieldShouldReturn(pf::TextField& field) override;

  static void declareProperties(pf::ClassBuilder<LoginViewController>& b);

 private:
  void fillFields();
  void finishLogin(bool signedIn, const std::string& typedName);
  void pushPostLoginScreen();
  static std::string textOf(const std::weak_ptr<pf::TextField>& field);

  bool checked_ = true;
  bool autoLogin_ = false;
  bool signingIn_ = false;
  std::shared_ptr<User> user_;
  std::shared_ptr<LoginService> loginService_;
  std::shared_ptr<CommonService> commonService_;
};
