#include "app/service/lgn/LoginService.h"

#include "app/service/cmn/OpenText.h"
#include "app/service/cms/DownloadService.h"
#include "core/open/OpenError.h"
#include "core/open/OpenExtension.h"
#include "core/open/ServiceManager.h"
#include "core/util/MD5HexDigest.h"
#include "platform/foundation/DispatchQueue.h"

namespace {

std::optional<std::string> autoLoginKey(const std::optional<std::string>& loginName) {
  if (!loginName) return std::nullopt;
  return LoginService::kAutoLoginKeyPrefix + *loginName;
}

bool sessionBelongsTo(const std::string& loginName, const std::string& corpCode) {
  const SessionCache& session = ServiceManager::sessionCache();
  // The session keeps its sign-in parameters as the JSON texts it sent.
  return session.loginName() == openValue(pf::Value(loginName)) && session.corpCode() == openValue(pf::Value(corpCode));
}

}  // namespace

LoginService::LoginService(std::weak_ptr<ServiceDelegate> delegate)
    : BaseService(delegate),
      commonService_(std::make_unique<CommonService>(delegate)),
      openLoginService_(std::make_unique<OpenLoginService>(delegate)),
      openUserService_(std::make_unique<OpenUserService>(delegate)),
      courseService_(std::make_unique<CourseService>(delegate)),
      userMobileAppService_(std::make_unique<UserMobileAppService>(delegate)) {}

bool LoginService::login(const std::string& loginName, const std::string& password,
                         const std::string& corpCode) {
  const bool online = commonService_->isOnline();
  std::shared_ptr<User> user;
  if (online) {
    user = signInOnline(loginName, password, corpCode);
  } else {
    user = searchUserByLoginName(loginName, MD5HexDigest::MD5TO32Lower(password), corpCode);
    if (!user) reportOnMainQueue(kLoginFailedMessage);
    // A session opened earlier for someone else must not carry this learner's calls.
    if (user && !sessionBelongsTo(loginName, corpCode)) ServiceManager::sessionCache().clear();
  }
  if (!user) return false;
  commonService_->updateCurrentUser(user);
  commonService_->saveAndUpdateLastLoginUserId(user->userId, password, corpCode);
  if (online) dbHelper->saveOrUpdateObject(user);
  DownloadService::instance()->getDownloadInfos();
  return true;
}

// The profile, the pass rate and the menu of the new session's user; null, with the delegate told,
// when any of them is missing: the screens after sign-in need a user with an id and a menu.
std::shared_ptr<User> LoginService::signInOnline(const std::string& loginName, const std::string& password,
                                                 const std::string& corpCode) {
  if (!openLoginService_->ologin(loginName, password, corpCode)) return nullptr;
  std::shared_ptr<User> user = openUserService_->get();
  if (!user || !user->userId || user->userId->empty()) {
    ServiceManager::sessionCache().clear();
    return nullptr;
  }
  courseService_->syncCorpStudyRateWithCorpCode(corpCode);
  if (!userMobileAppService_->saveAndUpdateUserMobileAppsWithUserID(*user->userId)) {
    ServiceManager::sessionCache().clear();
    reportOnMainQueue(kNoPermissionMessage);
    return nullptr;
  }
  return user;
}

std::shared_ptr<User> LoginService::searchUserByLoginName(const std::optional<std::string>& loginName,
                                                          const std::optional<std::string>& password,
                                                          const std::optional<std::string>& corpCode) {
  if (!loginName || !password || !corpCode) return nullptr;
  return dbHelper
      ->queryForObject(User::kClassName,
                       "SELECT * FROM user WHERE login_name = ? and password = ? and corp_code = ?",
                       {pf::Value(*loginName), pf::Value(*password), pf::Value(*corpCode)})
      .objectAs<User>();
}

bool LoginService::modifyUserPasswordWithUserName(const std::optional<std::string>& userName,
                                                  const std::optional<std::string>& Password,
                                                  const std::optional<std::string>& OldPassword) {
  if (!openUserService_->modifyUserPassword(userName, Password, OldPassword)) return false;
  const std::optional<std::string> digest =
      Password ? std::optional(MD5HexDigest::MD5TO32Lower(*Password)) : std::nullopt;
  // Every stored profile of that login name in the current corporation: the one an offline
  // sign-in would match.
  const pf::Array stored = dbHelper->queryForList(
      User::kClassName, "select * from user where login_name = ? and corp_code = ?",
      {userName ? pf::Value(*userName) : pf::Value(), commonService_->getCurrentCorpcode()
                                                          ? pf::Value(*commonService_->getCurrentCorpcode())
                                                          : pf::Value()});
  for (const pf::Value& row : stored) {
    auto user = row.objectAs<User>();
    user->password = digest;
    dbHelper->updateObject(user);
  }
  if (auto current = commonService_->getCurrentUser(); current && current->loginName == userName) {
    current->password = digest;
  }
  // Else the next renewal of the session would log in with the old password and fail.
  ServiceManager::sessionCache().replacePassword(openText(userName), openText(Password));
  return true;
}

void LoginService::saveLoginCheckBox(bool checked, const std::optional<std::string>& UserID) {
  if (const auto key = autoLoginKey(UserID)) dbHelper->setValue(checked ? "1" : "0", *key);
}

bool LoginService::getLoginCheckBox() {
  const std::optional<std::string> userId = commonService_->getLastLoginUserId();
  if (!userId) return true;
  const auto user = dbHelper->queryForObject(User::kClassName, pf::Value(*userId));
  const auto key = autoLoginKey(user ? std::static_pointer_cast<User>(user)->loginName : std::nullopt);
  if (!key) return true;
  const std::optional<std::string> value = dbHelper->valueForSettingKey(*key);
  return !value || pf::Value(*value).boolValue();
}

void LoginService::signOut() {
  CommonService().updateCurrentUser(nullptr);
  ServiceManager::sessionCache().clear();
  DownloadService::unload();
}

void LoginService::reportOnMainQueue(const char* message) {
  const std::shared_ptr<ServiceDelegate> listener = delegate();
  if (!listener) return;
  const pf::ErrorPtr error = OpenError::serviceErrorWithMsg(message);
  pf::DispatchQueue::main()->async(
      [listener, error] { listener->onError(error, OpenLoginService::kOloginUri); });
}
