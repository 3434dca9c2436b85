#pragma once
// One user's progress on one course (table course_study_record, key sid): the user holds the course
// exactly while this row exists. Times are milliseconds, the rate a percentage 0 to 100.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/model/cmn/BaseDomain.h"
#include "app/model/cms/ScoStudyRecord.h"

class CourseStudyRecord : public BaseDomain {
  PF_OBJECT(CourseStudyRecord, BaseDomain)

  static constexpr char kRequired[] = "MUST";
  static constexpr char kElective[] = "SELECTIVE";
  // The user selected the course himself; only such courses may be given up.
  static constexpr char kObtainedBySelf[] = "SELF";

  std::optional<std::string> courseId;
  std::optional<std::string> userId;
  // The course's title at the server.
  std::optional<std::string> courseName;
  float studyRate = 0;
  // Credit obtained.
  float score = 0;
  std::optional<pf::Date> lastStudyTime;
  float minStudyTime = 0;
  // Accumulated study time.
  float studyTime = 0;
  // The list of the user's own courses is ordered by it, newest first.
  std::optional<pf::Date> lastModifyTime;
  // kRequired or kElective.
  std::optional<std::string> courseStudyType;
  std::optional<std::string> obtainedWay;
  // JSON only: the unit records that travel with the course record.
  std::vector<std::shared_ptr<ScoStudyRecord>> scoStudyRecordList;

  static void declareProperties(pf::ClassBuilder<CourseStudyRecord>& b);
};
