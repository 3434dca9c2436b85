#include "app/service/cms/CourseSyncService.h"

#include <algorithm>
#include <map>
#include <set>

#include "app/model/cms/CourseInfo.h"
#include "app/service/cmn/ValueLists.h"
#include "app/service/cms/DownloadService.h"
#include "core/reflect/TypeCode.h"
#include "core/util/CommonUtil.h"

namespace {

pf::Value dateValue(const std::optional<pf::Date>& date) {
  return date ? pf::Value(*date) : pf::Value();
}

// Clears the running mark however the sync ends.
struct RunningMark {
  std::atomic<bool>& mark;
  ~RunningMark() { mark = false; }
};

// What the device sent of one course record, to tell whether a player changed the rows since.
struct SentRecord {
  std::shared_ptr<CourseStudyRecord> record;
  std::map<std::string, std::shared_ptr<ScoStudyRecord>> units;
};

}  // namespace

std::atomic<bool> CourseSyncService::syncing_{false};

CourseSyncService::CourseSyncService(std::weak_ptr<ServiceDelegate> delegate)
    : BaseService(delegate),
      commonService_(std::make_unique<CommonService>(delegate)),
      courseInfoService_(std::make_unique<OpenCourseInfoService>(delegate)),
      courseService_(std::make_unique<CourseService>(delegate)),
      courseStudyService_(std::make_unique<OpenPhoneCourseStudyRecordService>(delegate)),
      courseStudyRecordService_(std::make_unique<OpenCourseStudyRecordService>(delegate)) {}

bool CourseSyncService::isSyncCourse() {
  return syncing_;
}

void CourseSyncService::syncCourseInfoAndStudyRecord() {
  if (syncing_.exchange(true)) return;
  RunningMark running{syncing_};
  dbHelper->queueInDatabase([this](VelkDBHelper& db) {
    syncCourse(db);
    syncCourseStudy(db);
  });
}

bool CourseSyncService::syncCourse(VelkDBHelper& db) {
  const pf::Value userId = textValue(commonService_->getCurrentUserId());
  const pf::Array held = db.queryForList(
      CourseInfo::kClassName,
      "select ci.id from course_info ci inner join course_study_record csr on csr.course_id = ci.id where "
      "csr.user_id = ?",
      {userId});
  const auto detail = courseInfoService_->syncCourse(std::make_shared<pf::Array>(held));
  if (!detail) return false;
  // Course rows are shared: another learner may already hold a course the server adds for this one,
  // so each row is inserted or replaced on its own, all in one transaction.
  db.queueInTransaction([&](VelkDBHelper& tx, bool& rollback) {
    for (const pf::ArrayPtr& list : {detail->addList, detail->updateList}) {
      if (!list) continue;
      for (const auto& course : objectsOf<CourseInfo>(*list))
        if (course->id && !tx.saveOrUpdateObject(course)) rollback = true;
    }
  });
  if (detail->deleteList)
    courseService_->deleteCourseAndScoWithCourseID(objectsOf<CourseInfo>(*detail->deleteList));
  DownloadService::instance()->getDownloadInfos();
  return true;
}

CourseSyncService::Records CourseSyncService::localRecords(VelkDBHelper& db, const pf::Value& userId) {
  Records records = objectsOf<CourseStudyRecord>(db.queryForList(
      CourseStudyRecord::kClassName,
      "select csr.* from course_info ci inner join course_study_record csr on csr.course_id = ci.id where "
      "csr.user_id = ?",
      {userId}));
  for (const auto& record : records) {
    record->scoStudyRecordList = objectsOf<ScoStudyRecord>(db.queryForList(
        ScoStudyRecord::kClassName, "select * from sco_study_record where course_id = ? and user_id = ?",
        {textValue(record->courseId), textValue(record->userId)}));
  }
  return records;
}

bool CourseSyncService::syncCourseStudy(VelkDBHelper& db) {
  const pf::Value userId = textValue(commonService_->getCurrentUserId());
  const Records sent = localRecords(db, userId);
  const pf::ArrayPtr answer = courseStudyService_->sync(arrayOf(sent));
  if (!answer || answer->empty()) return false;

  std::vector<std::string> held;
  for (const pf::Value& id :
       db.queryForList("NSString", "select course_id from course_study_record where user_id = ?", {userId}))
    if (id.isString()) held.push_back(*id.string());
  Records toInsert;
  Records toUpdate;
  for (const auto& record : objectsOf<CourseStudyRecord>(*answer)) {
    const bool isHeld =
        record->courseId && std::find(held.begin(), held.end(), *record->courseId) != held.end();
    (isHeld ? toUpdate : toInsert).push_back(record);
  }
  if (!toInsert.empty()) insertCourseStudyRecordWithArr(toInsert, db);
  updateCourseStudyRecordWithArr(toUpdate, db, sent);
  courseService_->updateCourseReminder();
  return true;
}

void CourseSyncService::insertCourseStudyRecordWithArr(const Records& records, VelkDBHelper& db) {
  std::vector<std::shared_ptr<ScoStudyRecord>> units;
  for (const auto& record : records) {
    record->sid = CommonUtil::createNewUUID();
    for (const auto& unit : record->scoStudyRecordList) {
      unit->sid = CommonUtil::createNewUUID();
      units.push_back(unit);
    }
  }
  db.insertObjectsUseBatch(arrayOf(records));
  db.insertObjectsUseBatch(arrayOf(units));
}

void CourseSyncService::updateCourseStudyRecordWithArr(const Records& records, VelkDBHelper& db,
                                                       const Records& sent) {
  std::map<std::string, SentRecord> sentByCourse;
  for (const auto& record : sent) {
    if (!record->courseId) continue;
    SentRecord& entry = sentByCourse[*record->courseId];
    entry.record = record;
    for (const auto& unit : record->scoStudyRecordList)
      if (unit->scoId) entry.units[*unit->scoId] = unit;
  }
  const std::optional<std::string> currentUser = commonService_->getCurrentUserId();
  db.queueInTransaction([&](VelkDBHelper& tx, bool&) {
    for (const auto& record : records) {
      const pf::Value user = textValue(record->userId ? record->userId : currentUser);
      const auto found = record->courseId ? sentByCourse.find(*record->courseId) : sentByCourse.end();
      const SentRecord* before = found == sentByCourse.end() ? nullptr : &found->second;
      // A player write since the records were read wins over the server: the guard then matches no row.
      std::string courseGuard;
      pf::Array courseArgs{
          textValue(record->courseName),     pf::Value(record->studyRate),    pf::Value(record->score),
          dateValue(record->lastStudyTime),  pf::Value(record->minStudyTime), pf::Value(record->studyTime),
          dateValue(record->lastModifyTime), textValue(record->courseId),     user};
      if (before) {
        courseGuard = " and abs(ifnull(study_rate, 0) - ?) < 0.0001 and abs(ifnull(study_time, 0) - ?) < 0.5";
        courseArgs.push_back(pf::Value(before->record->studyRate));
        courseArgs.push_back(pf::Value(before->record->studyTime));
      }
      tx.executeUpdate(
          "update course_study_record set course_name = ?,study_rate = ?,score = ?, last_study_time = ?, "
          "min_study_time = ?, study_time = ?, last_modify_time = ? where course_id = ? and user_id = ?" +
              courseGuard,
          courseArgs);

      // The learner's unit rows of the course in one read; only units missing from it are looked up.
      std::set<std::string> stored;
      for (const pf::Value& id : tx.queryForList(
               "NSString", "select sco_id from sco_study_record where course_id = ? and user_id = ?",
               {textValue(record->courseId), user}))
        if (id.isString()) stored.insert(*id.string());
      for (const auto& unit : record->scoStudyRecordList) {
        if (!unit->scoId) continue;
        const pf::Value unitUser = unit->userId ? pf::Value(*unit->userId) : user;
        const bool known = unitUser == user && stored.contains(*unit->scoId);
        const int rows =
            known ? 1
                  : tx.queryForSingleResult(TypeCode::Int,
                                            "select count(*) from sco_study_record where sco_id = ? and "
                                            "user_id = ?",
                                            {*unit->scoId, unitUser})
                        .intValue();
        if (rows == 0) {
          // Progress made on another device for a unit this one never opened.
          unit->sid = CommonUtil::createNewUUID();
          if (!unit->courseId) unit->courseId = record->courseId;
          if (!unit->userId && unitUser.isString()) unit->userId = *unitUser.string();
          tx.insertObject(unit);
          continue;
        }
        const ScoStudyRecord* sentUnit = nullptr;
        if (before) {
          const auto it = before->units.find(*unit->scoId);
          if (it == before->units.end()) continue;  // the row appeared while the sync ran: a player made it
          sentUnit = it->second.get();
        }
        std::string unitGuard;
        pf::Array unitArgs{pf::Value(unit->currentPosition), pf::Value(pf::Number(unit->studyComplete)),
                           dateValue(unit->lastStudyTime), pf::Value(*unit->scoId), unitUser};
        if (sentUnit) {
          unitGuard =
              " and ifnull(current_position, 0) = ? and ifnull(study_complete, 0) = ? and "
              "abs(ifnull(study_rate, 0) - ?) < 0.0001";
          unitArgs.push_back(pf::Value(sentUnit->currentPosition));
          unitArgs.push_back(pf::Value(pf::Number(sentUnit->studyComplete)));
          unitArgs.push_back(pf::Value(sentUnit->studyRate));
        }
        tx.executeUpdate(
            "update sco_study_record set current_position = ?, study_complete = ?, last_study_time = ? where "
            "sco_id = ? and user_id = ?" +
                unitGuard,
            unitArgs);
      }
    }
  });
}
