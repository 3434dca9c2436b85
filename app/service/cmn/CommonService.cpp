#include "app/service/cmn/CommonService.h"

#include <mutex>

#include "core/reachability/DeviceReachability.h"
#include "core/util/FileTool.h"
#include "core/version/VersionPrompt.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Device.h"
#include "ui/webimage/ImageCache.h"

namespace {

constexpr char kLastLoginUserId[] = "lastLoginUserId";
constexpr char kLastLoginPassword[] = "lastLoginPassword";
constexpr char kLastLoginCorpcode[] = "lastLoginCorpcode";
constexpr char kLastVersion[] = "lastVersion";
constexpr char kFirstLaunch[] = "firstLauch";
constexpr char kDownloadPromptKey[] = "download_prompt_status";
constexpr char kYes[] = "YES";
constexpr char kNo[] = "NO";

struct SharedState {
  std::mutex mutex;
  std::shared_ptr<User> currentUser;
  std::shared_ptr<const Resources> resources;
  bool firstCourseSyncDone = false;
  std::optional<std::string> imageUploadUrl;
};

SharedState& shared() {
  static SharedState state;
  return state;
}

std::shared_ptr<pf::UserDefaults> defaults() {
  return pf::UserDefaults::standardUserDefaults();
}

void setDefault(const std::optional<std::string>& value, const char* key) {
  if (value) {
    defaults()->setObject(pf::Value(*value), key);
  } else {
    defaults()->removeObjectForKey(key);
  }
}

std::optional<std::string> applicationVersion() {
  return VersionPrompt::sharedInstance()->applicationVersion();
}

}  // namespace

CommonService::CommonService(std::weak_ptr<ServiceDelegate> delegate)
    : BaseService(delegate), openFileService_(std::make_unique<OpenFileService>(delegate)) {}

std::shared_ptr<const Resources> CommonService::resources() {
  std::lock_guard lock(shared().mutex);
  if (!shared().resources) {
    shared().resources = std::make_shared<Resources>("CollectionDefine", *pf::Bundle::mainBundle());
  }
  return shared().resources;
}

std::shared_ptr<User> CommonService::getCurrentUser() {
  std::lock_guard lock(shared().mutex);
  return shared().currentUser;
}

void CommonService::updateCurrentUser(std::shared_ptr<User> user) {
  std::lock_guard lock(shared().mutex);
  shared().currentUser = std::move(user);
}

std::optional<std::string> CommonService::getCurrentUserId() {
  const auto user = getCurrentUser();
  return user ? user->userId : std::nullopt;
}

std::optional<std::string> CommonService::getCurrentCorpcode() {
  const auto user = getCurrentUser();
  return user ? user->corpCode : std::nullopt;
}

std::optional<std::string> CommonService::getCurrentLoginName() {
  const auto user = getCurrentUser();
  return user ? user->loginName : std::nullopt;
}

std::optional<std::string> CommonService::getLastLoginUserId() {
  return defaults()->stringForKey(kLastLoginUserId);
}

std::optional<std::string> CommonService::getLastLoginUserPassword() {
  return defaults()->stringForKey(kLastLoginPassword);
}

std::optional<std::string> CommonService::getLastLoginCorpcode() {
  return defaults()->stringForKey(kLastLoginCorpcode);
}

void CommonService::saveAndUpdateLastLoginUserId(const std::optional<std::string>& userId,
                                                 const std::optional<std::string>& password,
                                                 const std::optional<std::string>& corpcode) {
  setDefault(userId, kLastLoginUserId);
  setDefault(password, kLastLoginPassword);
  setDefault(corpcode, kLastLoginCorpcode);
  defaults()->synchronize();
}

void CommonService::updateLastLoginUserPassword(const std::optional<std::string>& password) {
  setDefault(password, kLastLoginPassword);
  defaults()->synchronize();
}

std::optional<std::string> CommonService::getLastVersion() {
  if (std::optional<std::string> last = defaults()->stringForKey(kLastVersion)) return last;
  const std::optional<std::string> current = applicationVersion();
  saveAndUpdateLastVersion(current);
  return current;
}

void CommonService::saveAndUpdateLastVersion(const std::optional<std::string>& version) {
  setDefault(version, kLastVersion);
}

bool CommonService::isFirstLauch() {
  const bool first = defaults()->objectForKey(kFirstLaunch).isNil() || defaults()->boolForKey(kFirstLaunch);
  const std::optional<std::string> current = applicationVersion();
  const std::optional<std::string> last = getLastVersion();
  if (current == last) {
    if (!first) return false;
  } else if (!first) {
    saveAndUpdateLastVersion(current);
  }
  defaults()->setBool(false, kFirstLaunch);
  return true;
}

bool CommonService::getAlreadyFisrtLoadSynCourse() {
  std::lock_guard lock(shared().mutex);
  return shared().firstCourseSyncDone;
}

void CommonService::updateAlreadyFisrtLoadSynCourse(bool done) {
  std::lock_guard lock(shared().mutex);
  shared().firstCourseSyncDone = done;
}

std::string CommonService::getClientType() {
  return pf::Device::currentDevice().userInterfaceIdiom() == pf::Device::Idiom::Pad ? kClientTypePad
                                                                                    : kClientTypePhone;
}

bool CommonService::netIsWifi() {
  return DeviceReachability::activeWLAN();
}

bool CommonService::isOnline() {
  return DeviceReachability::activeWWAN() || DeviceReachability::activeWLAN();
}

std::shared_ptr<VelkSetting> CommonService::downloadPromptRow() {
  auto row =
      std::dynamic_pointer_cast<VelkSetting>(dbHelper->queryForObject("VelkSetting", kDownloadPromptKey));
  if (row) return row;
  row = VelkSetting::settingWithKey(kDownloadPromptKey, kYes);
  dbHelper->saveObject(row);
  return row;
}

bool CommonService::g3PromptStatus() {
  return downloadPromptRow()->value == kYes;
}

void CommonService::switchDownloadPromptStatus() {
  const auto row = downloadPromptRow();
  row->value = row->value == kYes ? kNo : kYes;
  dbHelper->updateObject(row);
}

bool CommonService::clearCache() {
  const bool pictures = cleanPicCache();
  const bool drafts = cleanDraft();
  return pictures && drafts;
}

bool CommonService::cleanPicCache() {
  const std::string path = ImageCache::defaultDiskCachePath();
  if (!FileTool::dirExistAtPath(path)) return true;
  return FileTool::clearDir(path);
}

bool CommonService::cleanDraft() {
  const std::optional<std::string> corpCode = getCurrentCorpcode();
  const std::optional<std::string> userId = getCurrentUserId();
  if (!corpCode || !userId) return true;
  // Compared as text, not as a LIKE pattern: "%" or "_" in an id must not reach other users' drafts.
  const std::string prefix = kDraftPrefix + *corpCode + "_" + *userId;
  const std::string keyed = prefix + "_";
  const pf::Array rows = dbHelper->queryForList(
      "VelkSetting", "select * from settings where key = ? or substr(key, 1, length(?)) = ?",
      {pf::Value(prefix), pf::Value(keyed), pf::Value(keyed)});
  return dbHelper->deleteObjectsUseBatch(std::make_shared<pf::Array>(rows));
}

bool CommonService::createOrUpdateDraft(const std::shared_ptr<VelkSetting>& draft) {
  if (!draft || !draft->key) return false;
  if (!draft->value || draft->value->empty()) return dbHelper->deleteObject(draft);
  return dbHelper->saveOrUpdateObject(draft);
}

std::optional<std::string> CommonService::getDraftOfDraftIdentifier(const std::string& identifier) {
  return dbHelper->valueForSettingKey(identifier);
}

void CommonService::chectDbVersionAndUpdate() {
  if (!dbHelper->isDatabaseExist()) dbHelper->createDatabase();
}

std::optional<std::string> CommonService::getImageUploadUrl() {
  {
    std::lock_guard lock(shared().mutex);
    if (shared().imageUploadUrl) return shared().imageUploadUrl;
  }
  std::optional<std::string> url = openFileService_->getImgUploadUrl(false);
  std::lock_guard lock(shared().mutex);
  if (url) shared().imageUploadUrl = url;
  return url;
}

void CommonService::clearSharedState() {
  std::lock_guard lock(shared().mutex);
  shared().currentUser.reset();
  shared().resources.reset();
  shared().firstCourseSyncDone = false;
  shared().imageUploadUrl.reset();
}
