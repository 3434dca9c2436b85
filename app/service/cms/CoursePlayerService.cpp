#include "app/service/cms/CoursePlayerService.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "app/model/cms/CourseStandard.h"
#include "app/model/cms/ScoStudyRecord.h"
#include "app/service/cmn/ValueLists.h"
#include "core/reflect/TypeCode.h"
#include "core/util/CommonUtil.h"

namespace {

// Durations from the players: anything not a finite positive number counts as nothing played.
double duration(double seconds) {
  return std::isfinite(seconds) && seconds > 0 ? seconds : 0;
}

// A length in whole milliseconds as the record keeps it: a movie header may claim a length far beyond
// an int, whose cast would be undefined.
int coursePlayerWholeMillis(double millis) {
  return millis < static_cast<double>(std::numeric_limits<int>::max()) ? static_cast<int>(millis)
                                                                       : std::numeric_limits<int>::max();
}

// This stretch's rate of a two-screen unit: 100 without a minimum study time; nullopt where it is
// undefined (a zero denominator at position 0), infinite for a zero denominator past position 0.
std::optional<float> twoScreenRate(const ScoViewInfo& sco, double length) {
  if (sco.minStudyTime <= 0) return 100.0f;
  const double span = static_cast<double>(sco.minStudyTime) > length ? length : static_cast<double>(sco.minStudyTime);
  const float denominator = static_cast<float>(std::trunc(span));
  if (denominator > 0) return static_cast<float>(sco.currentPosition) / denominator * 100.0f;
  if (sco.currentPosition > 0) return std::numeric_limits<float>::infinity();
  return std::nullopt;
}

}  // namespace

CoursePlayerService::CoursePlayerService(std::weak_ptr<ServiceDelegate> delegate)
    : BaseService(delegate),
      commonService_(std::make_unique<CommonService>(delegate)),
      courseService_(std::make_unique<CourseService>(delegate)) {}

void CoursePlayerService::saveStudyRecordWithCourse(const Course& course, const Sco& sco,
                                                    double currentStudyTime, double totalTime) {
  if (!course || !sco) return;
  if (course->courseStandard == CourseStandard::kThreeScreen)
    saveThreeScreenStudyRecordWithCourse(course, sco, totalTime);
  else if (course->courseStandard == CourseStandard::kTwoScreen)
    saveTwoScreenStudyRecord(course, sco, totalTime);
  else
    saveOnlinePackageStudyRecord(course, sco, currentStudyTime);
}

void CoursePlayerService::saveStudyRecordOnlyLectureWithCourse(const Course& course, const Sco& sco,
                                                               double currentStudyTime) {
  if (!course) return;
  if (course->courseStandard == CourseStandard::kThreeScreen) return;
  if (course->courseStandard == CourseStandard::kTwoScreen)
    saveTwoScreenStudyRecordOnlyLectureWithCourse(course, sco, currentStudyTime);
  else
    saveOnlinePackageStudyRecordOnlyLectureWithCourse(course, currentStudyTime);
}

void CoursePlayerService::saveThreeScreenStudyRecordWithCourse(const Course& course, const Sco& sco,
                                                               double totalTime) {
  if (!course || !sco) return;
  ensureUnitRecord(course, sco);
  const float passRate = courseService_->getCorpStudyRate();
  const double length = duration(totalTime) * 1000.0;
  // A zero length gives no rate only at position 0; above it the rate is infinite and the unit completes.
  if (!sco->studyComplete && (length > 0 || sco->currentPosition > 0)) {
    const float rate = length > 0 ? static_cast<float>(sco->currentPosition / length * 100.0)
                                  : std::numeric_limits<float>::infinity();
    if (rate > sco->studyRate) sco->studyRate = rate;
    if (sco->studyRate >= passRate) completeUnit(course, sco);
  }
  sco->totalTime = coursePlayerWholeMillis(length);
  dbHelper->executeUpdate(
      "update sco_study_record set current_position = ?, study_complete = ?, study_rate = ? ,total_time = ? "
      "where sco_id = ? and user_id = ?",
      {pf::Value(sco->currentPosition), pf::Value(pf::Number(sco->studyComplete)), pf::Value(sco->studyRate),
       pf::Value(sco->totalTime), textValue(sco->scoId), textValue(sco->userId)});
}

void CoursePlayerService::saveTwoScreenStudyRecord(const Course& course, const Sco& sco, double totalTime) {
  if (!course || !sco) return;
  ensureUnitRecord(course, sco);
  const double length = duration(totalTime) * 1000.0;
  if (!sco->studyComplete) {
    if (const std::optional<float> rate = twoScreenRate(*sco, length)) {
      if (*rate > sco->studyRate) sco->studyRate = *rate;
      if (static_cast<double>(*rate) >= kTwoScreenCompleteRate) completeUnit(course, sco);
    }
  }
  sco->totalTime = coursePlayerWholeMillis(length);
  dbHelper->executeUpdate(
      "update sco_study_record set current_position = ?, study_complete = ?, study_rate = ?, total_time = ? "
      "where sco_id = ? and user_id = ?",
      {pf::Value(sco->currentPosition), pf::Value(pf::Number(sco->studyComplete)), pf::Value(sco->studyRate),
       pf::Value(sco->totalTime), textValue(sco->scoId), textValue(sco->userId)});
}

void CoursePlayerService::saveOnlinePackageStudyRecord(const Course& course, const Sco& sco,
                                                       double currentStudyTime) {
  if (!course || !sco) return;
  ensureUnitRecord(course, sco);
  addStudyTime(course, currentStudyTime);
  dbHelper->executeUpdate("update sco_study_record set current_position = ? where sco_id = ? and user_id = ?",
                          {pf::Value(sco->currentPosition), textValue(sco->scoId), textValue(sco->userId)});
  writeCourseRateAndTime(course, sco);
}

void CoursePlayerService::saveTwoScreenStudyRecordOnlyLectureWithCourse(const Course& course, const Sco& sco,
                                                                        double currentStudyTime) {
  if (!course || !sco || sco->studyComplete) return;
  ensureUnitRecord(course, sco);
  if (sco->minStudyTime <= 0) {
    completeUnit(course, sco);
  } else {
    const float rate = static_cast<float>(sco->studyRate + duration(currentStudyTime) * 1000.0 * 100.0 /
                                                               static_cast<double>(sco->minStudyTime));
    if (rate >= 100.0f)
      completeUnit(course, sco);
    else
      sco->studyRate = rate;
  }
  dbHelper->executeUpdate(
      "update sco_study_record set study_rate = ?, study_complete = ? where sco_id = ? and user_id = ?",
      {pf::Value(sco->studyRate), pf::Value(pf::Number(sco->studyComplete)), textValue(sco->scoId),
       textValue(sco->userId)});
}

void CoursePlayerService::saveOnlinePackageStudyRecordOnlyLectureWithCourse(const Course& course,
                                                                            double currentStudyTime) {
  if (!course) return;
  if (addStudyTime(course, currentStudyTime)) writeCourseRateAndTime(course, nullptr);
}

void CoursePlayerService::updateCourseStudyRateWithCourseViewInfo(const Course& course) {
  if (!course) return;
  std::size_t units = 0;
  std::size_t completed = 0;
  for (const auto& unit : course->scoInfoList) {
    if (!unit || unit->isChapter) continue;
    ++units;
    if (unit->studyComplete) ++completed;
  }
  if (units > 0)
    course->studyRate = std::min(100.0f, static_cast<float>(completed) / static_cast<float>(units) * 100.0f);
  courseService_->updateCourseReminder();
  dbHelper->executeUpdate(
      "update course_study_record set study_rate = ? where course_id = ? and user_id = ?",
      {pf::Value(course->studyRate), textValue(course->id), textValue(learnerOf(course, nullptr))});
}

std::size_t CoursePlayerService::completeScoCountWithScoLists(const std::vector<Sco>& scos) {
  return static_cast<std::size_t>(
      std::count_if(scos.begin(), scos.end(), [](const Sco& sco) { return sco && sco->studyComplete; }));
}

std::optional<std::string> CoursePlayerService::learnerOf(const Course& course, const Sco& sco) {
  if (sco && sco->userId) return sco->userId;
  if (course && course->userId) return course->userId;
  return commonService_->getCurrentUserId();
}

void CoursePlayerService::ensureUnitRecord(const Course& course, const Sco& sco) {
  sco->userId = learnerOf(course, sco);
  if (!sco->userId || !sco->scoId) return;
  const auto rowsOfUnit = [&](VelkDBHelper& db) {
    return db
        .queryForSingleResult(TypeCode::Int,
                              "select count(*) from sco_study_record where sco_id = ? and user_id = ?",
                              {*sco->scoId, *sco->userId})
        .intValue();
  };
  if (rowsOfUnit(*dbHelper) > 0) return;
  // Counted again under the write lock: a sync may be inserting the server's row of the unit.
  dbHelper->queueInTransaction([&](VelkDBHelper& db, bool&) {
    if (rowsOfUnit(db) > 0) return;
    auto record = std::make_shared<ScoStudyRecord>();
    record->sid = CommonUtil::createNewUUID();
    record->scoId = sco->scoId;
    record->courseId = sco->courseId ? sco->courseId : course->id;
    record->userId = sco->userId;
    db.insertObject(record);
  });
}

void CoursePlayerService::completeUnit(const Course& course, const Sco& sco) {
  sco->studyComplete = true;
  sco->studyRate = 100.0f;
  // The players pass the list's own element; a copy of it counts the same.
  for (const auto& unit : course->scoInfoList)
    if (unit && unit != sco && unit->scoId == sco->scoId) {
      unit->studyComplete = true;
      unit->studyRate = 100.0f;
    }
  courseService_->updateCourseReminder();
  updateCourseStudyRateWithCourseViewInfo(course);
}

bool CoursePlayerService::addStudyTime(const Course& course, double seconds) {
  if (course->studyRate >= 100.0f) return false;
  const double studied = duration(seconds) * 1000.0;
  if (course->minStudyTime > 0) {
    const float rate = static_cast<float>(studied / course->minStudyTime * 100.0 + course->studyRate);
    if (rate >= 100.0f) {
      course->studyRate = 100.0f;
      courseService_->updateCourseReminder();
    } else {
      course->studyRate = rate;
    }
  } else {
    course->studyRate = 100.0f;
    courseService_->updateCourseReminder();
  }
  course->studyTime = static_cast<float>(studied + course->studyTime);
  return true;
}

void CoursePlayerService::writeCourseRateAndTime(const Course& course, const Sco& sco) {
  dbHelper->executeUpdate(
      "update course_study_record set study_rate = ?, study_time = ? where course_id = ? and user_id = ?",
      {pf::Value(course->studyRate), pf::Value(course->studyTime), textValue(course->id),
       textValue(learnerOf(course, sco))});
}
