#pragma once
// Signing in, with and without a network, the password change and the remember-me flag.
//
// Online, the server checks the credentials and opens a session; the user's profile, the
// corporation's pass rate and the user's module menu are then refreshed, and the profile is stored so
// the same user can later sign in offline: the stored password is the lower-case MD5 hex of the typed
// one. A sign-in succeeds only with a profile and a non-empty module menu. Either way the user becomes
// the current user, the sign-in is remembered for the next launch and the download lists are rebuilt
// for the user. Local failures reach the delegate on the main queue under the ologin path.
//
// Threads: synchronous; screens call it on a global queue.

#include <memory>
#include <optional>
#include <string>

#include "app/model/lgn/User.h"
#include "app/service/cmn/BaseService.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/cmn/UserMobileAppService.h"
#include "app/service/cms/CourseService.h"
#include "app/service/lgn/OpenLoginService.h"
#include "app/service/lgn/OpenUserService.h"

class LoginService : public BaseService {
 public:
  static constexpr char kNoPermissionMessage[] = "您没有使用权限，请联系管理员!";
  static constexpr char kLoginFailedMessage[] = "登录失败!";
  static constexpr char kAutoLoginKeyPrefix[] = "auto_login_";

  explicit LoginService(std::weak_ptr<ServiceDelegate> delegate = {});

  // YES when signed in; the road (online or offline) is chosen once, by the network.
  bool login(const std::string& loginName, const std::string& password, const std::string& corpCode);
  // The stored user with these credentials (password already hashed), or null.
  std::shared_ptr<User> searchUserByLoginName(const std::optional<std::string>& loginName,
                                              const std::optional<std::string>& password,
                                              const std::optional<std::string>& corpCode);
  // YES when the server changed the password; the stored profile then holds the new digest, so an
  // offline sign-in takes the new password and refuses the old one.
  bool modifyUserPasswordWithUserName(const std::optional<std::string>& userName,
                                      const std::optional<std::string>& Password,
                                      const std::optional<std::string>& OldPassword);
  // Remembers the remember-me flag of the login name.
  void saveLoginCheckBox(bool checked, const std::optional<std::string>& UserID);
  // The flag of the last signed-in user; YES when no flag or no user is remembered.
  bool getLoginCheckBox();
  // Nobody signed in: no current user, no session to renew, no download service of the old user.
  static void signOut();

 private:
  std::shared_ptr<User> signInOnline(const std::string& loginName, const std::string& password,
                                     const std::string& corpCode);
  void reportOnMainQueue(const char* message);

  std::unique_ptr<CommonService> commonService_;
  std::unique_ptr<OpenLoginService> openLoginService_;
  std::unique_ptr<OpenUserService> openUserService_;
  std::unique_ptr<CourseService> courseService_;
  std::unique_ptr<UserMobileAppService> userMobileAppService_;
};
