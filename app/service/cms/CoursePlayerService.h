#pragma once
// Turns what the players report (a stretch of playback or reading has ended) into study progress by
// the rules of the course standard, in the caller's course and unit views and in the learner's rows
// of sco_study_record and course_study_record. THREESCREEN and TWOSCREEN keep progress per unit and
// derive the course rate from completed units; every other standard counts study time against the
// course's minimum. Rates are float percentages, positions and times milliseconds; the durations
// passed in are seconds. The server learns the values at the next study-record sync.
//
// A unit never completes on a length of 0 or a position of 0, and a unit the learner has no row for
// gets one (only one, also while a sync inserts the server's row of it), so no progress is dropped.
// Complete is final on the device.
//
// Threads: called on the main thread by the players; it may run while a sync holds its own
// connection on another thread, and writes through a connection of its own meanwhile.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/model/cms/CourseViewInfo.h"
#include "app/model/cms/ScoViewInfo.h"
#include "app/service/cmn/BaseService.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/cms/CourseService.h"

class CoursePlayerService : public BaseService {
 public:
  using Course = std::shared_ptr<CourseViewInfo>;
  using Sco = std::shared_ptr<ScoViewInfo>;

  // A TWOSCREEN unit completes at this rate of the smaller of its length and its minimum study time.
  static constexpr double kTwoScreenCompleteRate = 99.8;

  explicit CoursePlayerService(std::weak_ptr<ServiceDelegate> delegate = {});

  // After playback pauses, stops or is interrupted: currentStudyTime is the stretch just played,
  // totalTime the video's length, both in seconds; the unit's position is already raised.
  void saveStudyRecordWithCourse(const Course& course, const Sco& sco, double currentStudyTime,
                                 double totalTime);
  // When the learner leaves a lecture after reading it for currentStudyTime seconds.
  void saveStudyRecordOnlyLectureWithCourse(const Course& course, const Sco& sco, double currentStudyTime);

  void saveThreeScreenStudyRecordWithCourse(const Course& course, const Sco& sco, double totalTime);
  void saveTwoScreenStudyRecord(const Course& course, const Sco& sco, double totalTime);
  void saveOnlinePackageStudyRecord(const Course& course, const Sco& sco, double currentStudyTime);
  void saveTwoScreenStudyRecordOnlyLectureWithCourse(const Course& course, const Sco& sco,
                                                     double currentStudyTime);
  void saveOnlinePackageStudyRecordOnlyLectureWithCourse(const Course& course, double currentStudyTime);

  // The course rate from its units: completed units against all units that are not chapter headings.
  void updateCourseStudyRateWithCourseViewInfo(const Course& course);
  static std::size_t completeScoCountWithScoLists(const std::vector<Sco>& scos);

  CourseService& courseService() { return *courseService_; }

 private:
  // The learner the records belong to: the unit's, else the course's, else the one signed in.
  std::optional<std::string> learnerOf(const Course& course, const Sco& sco);
  // Makes the learner's row of the unit when there is none.
  void ensureUnitRecord(const Course& course, const Sco& sco);
  void completeUnit(const Course& course, const Sco& sco);
  // Rule of the package standard on the course's rate and time; true when the rate was below 100.
  bool addStudyTime(const Course& course, double seconds);
  void writeCourseRateAndTime(const Course& course, const Sco& sco);

  const std::unique_ptr<CommonService> commonService_;
  const std::unique_ptr<CourseService> courseService_;
};
