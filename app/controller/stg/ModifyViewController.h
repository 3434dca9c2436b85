#pragma once
// "修改密码": the old password and the new one twice, checked here in a fixed order and then changed at
// the server (on the main thread, which waits). On success the new password is the remembered login
// password and the server session renews with it; the stored profile takes its digest, so an offline
// sign-in accepts it too. The view moves up while a field is edited so the field stays in sight.
//
// Main thread only.

#include <memory>
#include <string>

#include "app/controller/cmn/BaseViewController.h"
#include "platform/ui/TextField.h"

namespace pf {
class Button;
class Label;
}  // namespace pf
class CommonService;
class LoginService;

class ModifyViewController : public BaseViewController, public pf::TextFieldDelegate {
  PF_OBJECT(ModifyViewController, BaseViewController)

  static constexpr char kTitle[] = "修改密码";
  static constexpr char kOldMissing[] = "请输入原始密码!";
  static constexpr char kNewMissing[] = "请输入新密码!";
  static constexpr char kConfirmMissing[] = "请输入确认密码";
  static constexpr char kMismatch[] = "两次密码不一致";
  static constexpr char kBadLength[] = "密码长度必须在6-20位之间!";
  static constexpr char kChanged[] = "密码修改成功!";
  static constexpr std::size_t kMinLength = 6;
  static constexpr std::size_t kMaxLength = 20;
  static constexpr double kMoveSeconds = 0.3;

  ModifyViewController();
  explicit ModifyViewController(std::string nibName);
  ~ModifyViewController() override;

  std::shared_ptr<pf::TextField> oldPassword;
  std::shared_ptr<pf::TextField> firstNewPW;
  std::shared_ptr<pf::TextField> secondNewPW;
  std::shared_ptr<pf::Label> oldPWLabel;
  std::shared_ptr<pf::Label> newPWLabel;
  std::shared_ptr<pf::Button> btn;

  void initService() override;
  void viewDidLoad() override;

  void buttonPressed();
  // The first message the typed texts fail on, none when they pass.
  static std::optional<std::string> checkPasswords(const std::string& old, const std::string& first,
                                                   const std::string& second);
  bool textFieldShouldBeginEditing(pf::TextField& field) override;
  bool textFieldShouldReturn(pf::TextField& field) override;
  void viewAnimationWithFrame(const pf::Rect& frame);

 private:
  void restoreView();

  std::shared_ptr<LoginService> loginService_;
  std::shared_ptr<CommonService> commonService_;
};
