#include "app/service/cmn/DbDataMigrationService.h"

#include <filesystem>
#include <map>
#include <system_error>

#include "app/model/cms/CourseStudyRecord.h"
#include "app/model/cms/ScoDownloadInfo.h"
#include "app/model/cms/ScoStudyRecord.h"
#include "core/sqlite/SqlResultSet.h"
#include "core/util/CommonUtil.h"
#include "core/util/FileTool.h"
#include "core/util/MD5HexDigest.h"
#include "platform/runtime/Class.h"

namespace {

constexpr char kCourseStudySql[] =
    "select         cs.course_id,         cs.user_id,         cs.study_rate,         cs.last_study_time,"
    "         cs.study_time,         cs.last_study_time as last_modify_time,         ci.course_name,"
    "         ci.min_study_time         from courseStudy as cs inner join courseInfo as ci on "
    "cs.course_id=ci.course_id";
constexpr char kScoStudySql[] =
    "select         ss.sco_id,         ss.user_id,         ss.kiv_progress as study_rate,"
    "         ss.location as current_position,         ss.study_complete,         ss.last_study_time,"
    "         sci.course_id         from scoStudy as ss inner join scoInfo as sci on ss.sco_id=sci.sco_id";
// One row per earlier download: the unit's study row is the same learner's, when there is one.
constexpr char kDownloadSql[] =
    "select         fd.sco_id,         fd.user_id,         fd.sco_id as download_id,         fd.course_id,"
    "         fd.downpath as download_url_str,         fd.file_size as total_size,"
    "         fd.downlength as downloaded_size,         ss.download as has_downloaded"
    "         from filedownlog as fd left join scoStudy as ss on fd.sco_id = ss.sco_id"
    " and fd.user_id = ss.user_id";

std::shared_ptr<DataTransferObj> step(const char* sql, const char* className) {
  auto relation = std::make_shared<DataTransferObj>();
  relation->querySql = sql;
  relation->resultClassName = className;
  return relation;
}

std::string lastPathComponent(const std::optional<std::string>& address) {
  if (!address) return {};
  const std::string path = address->substr(0, address->find_first_of("?#"));
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

DbDataMigrationService::DbDataMigrationService()
    : dbHelper(VelkDBHelper::instance()),
      dbDir(FileTool::getDocumentPath()),
      dbPath(dbDir + "/Marlune/Marlune.db"),
      dbTemDir(dbDir + "/dbTem"),
      dbTemPath(dbTemDir + "/Marlune.db") {}

std::vector<std::shared_ptr<DataTransferObj>> DbDataMigrationService::migrationSteps() {
  return {step(kCourseStudySql, CourseStudyRecord::kClassName),
          step(kScoStudySql, ScoStudyRecord::kClassName), step(kDownloadSql, ScoDownloadInfo::kClassName)};
}

void DbDataMigrationService::beginMigrations() {
  FileTool::deleteDir(FileTool::getCourseResourcePath());
  FileTool::deleteDir(FileTool::getMicroBlogResourcePath());
  FileTool::deleteDir(FileTool::getQAResourcePath());
  if (!migrateDbFileToTemPath()) return;
  db = SqlDatabase::databaseWithPath(dbTemPath);
  if (!db->open()) return;
  relationships = migrationSteps();
  bool allSucceeded = true;
  for (const auto& relation : relationships) allSucceeded = migrateWithRelationObj(relation) && allSucceeded;
  db->close();
  if (!allSucceeded) return;
  FileTool::deleteDir(dbTemDir);
  FileTool::deleteDir(dbDir + "/Marlune");
}

bool DbDataMigrationService::migrateDbFileToTemPath() {
  renamePartialDownloads();
  if (!FileTool::fileExistAtPath(dbPath)) return false;
  // A copy left by a failed run is stale: the steps still to do read a fresh one.
  if (!FileTool::deleteDir(dbTemDir) || !FileTool::createDirAtPath(dbTemDir)) return false;
  return FileTool::copyFileFromPath(dbPath, dbTemPath);
}

void DbDataMigrationService::renamePartialDownloads() {
  const std::string folder = FileTool::getDownloadTmpDir();
  for (const std::string& name : FileTool::getFileListFromDir(folder)) {
    std::string plain = name;
    for (std::size_t at; (at = plain.find(".temp")) != std::string::npos;) plain.erase(at, 5);
    if (plain == name || plain.empty()) continue;
    std::error_code ignored;
    std::filesystem::rename(folder + "/" + name, folder + "/" + plain, ignored);
  }
}

bool DbDataMigrationService::migrateWithRelationObj(const std::shared_ptr<DataTransferObj>& relationObj) {
  if (!relationObj || !relationObj->querySql) return false;
  if (!relationObj->resultClassName || relationObj->resultClassName->empty()) return false;
  if (!db) return false;
  const std::string doneKey = kStepDoneKeyPrefix + *relationObj->resultClassName;
  if (dbHelper->valueForSettingKey(doneKey) == "1") return true;
  const std::shared_ptr<SqlResultSet> rows = db->executeQuery(*relationObj->querySql);
  if (!rows) return false;
  auto objects = std::make_shared<pf::Array>(dbHelper->readResultSet(*rows, *relationObj->resultClassName));
  rows->close();
  const pf::Class* downloadClass = pf::ClassRegistry::find(ScoDownloadInfo::kClassName);
  std::vector<std::shared_ptr<ScoDownloadInfo>> downloads;
  for (const pf::Value& value : *objects) {
    const pf::ObjectPtr& object = value.object();
    object->setValueForKey("sid", pf::Value(CommonUtil::createNewUUID()));
    if (!downloadClass || !object->isKindOf(*downloadClass)) continue;
    completeDownloadRecord(object);
    downloads.push_back(std::static_pointer_cast<ScoDownloadInfo>(object));
  }
  keepDownloadPathsApart(downloads);
  bool inserted = false;
  const bool ended = dbHelper->queueInTransaction([&](VelkDBHelper& store, bool& rollback) {
    inserted = store.insertObjectsUseBatch(objects) && store.setValue("1", doneKey);
    rollback = !inserted;
  });
  return ended && inserted;
}

// Paths and state from the earlier record's address and sizes. A record with no sizes is not known to
// be whole, so it is paused at 0 rather than finished.
void DbDataMigrationService::completeDownloadRecord(const pf::ObjectPtr& object) {
  auto record = std::static_pointer_cast<ScoDownloadInfo>(object);
  const std::string file = lastPathComponent(record->downloadUrlStr);
  // A name that would leave the download folders gives no paths.
  record->tempSavePath = FileTool::pathInDir(FileTool::getDownloadTmpDir(), file);
  record->savePath = FileTool::pathInDir(FileTool::getDownloadDir(), file);
  record->progress = record->totalSize == 0
                         ? 0.0f
                         : static_cast<float>(record->downloadedSize) / static_cast<float>(record->totalSize);
  record->hasDownloaded = record->totalSize > 0 && record->downloadedSize == record->totalSize;
  record->downloadState = record->hasDownloaded ? DownloadInfo::kFinished : DownloadInfo::kPaused;
}

// The earlier release kept every download under the last name of its address, so units whose
// addresses end alike shared one file. The first record of a name keeps the file where it is; a record
// of another address gets paths of its own (as new downloads are named) and starts over, since the
// shared file is not known to hold its unit. Records of one address (two learners) still share.
void DbDataMigrationService::keepDownloadPathsApart(const std::vector<std::shared_ptr<ScoDownloadInfo>>& records) {
  std::map<std::string, std::string> addressOfPath;
  for (const auto& record : records) {
    if (!record->savePath) continue;
    const std::string address = record->downloadUrlStr.value_or("");
    const auto [first, inserted] = addressOfPath.emplace(*record->savePath, address);
    if (inserted || first->second == address) continue;
    const std::string own = MD5HexDigest::MD5TO32Lower(address) + "_" + lastPathComponent(address);
    record->savePath = FileTool::pathInDir(FileTool::getDownloadDir(), own);
    record->tempSavePath = FileTool::pathInDir(FileTool::getDownloadTmpDir(), own);
    record->downloadedSize = 0;
    record->progress = 0;
    record->hasDownloaded = false;
    record->downloadState = DownloadInfo::kPaused;
  }
}

bool DbDataMigrationService::checkNewDbFileExisit() const {
  return FileTool::fileExistAtPath(dbDir + "/Marlune.db");
}
