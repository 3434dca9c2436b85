#pragma once
// Brings the device's copy of the learner's courses and study progress in line with the server, in
// two phases on one database connection: first the course list (the server says which courses to
// add, change or delete), then the study records (the device sends all of its records with their
// unit records and takes the server's answer). The server's values win, except over progress the
// players wrote while the sync ran: that stays and goes up at the next sync. Phase 2 runs whatever
// phase 1 answered.
//
// Threads: synchronous, on the caller's background queue, which it blocks until both phases end. At
// most one sync runs in the process; a second call meanwhile returns at once. Store calls of the
// sync's thread go through its one connection; the players keep writing through their own.

#include <atomic>
#include <memory>
#include <vector>

#include "app/model/cms/CourseStudyRecord.h"
#include "app/service/cmn/BaseService.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/cms/CourseService.h"
#include "app/service/cms/OpenCourseInfoService.h"
#include "app/service/cms/OpenCourseStudyRecordService.h"
#include "app/service/cms/OpenPhoneCourseStudyRecordService.h"

class CourseSyncService : public BaseService {
 public:
  using Records = std::vector<std::shared_ptr<CourseStudyRecord>>;

  explicit CourseSyncService(std::weak_ptr<ServiceDelegate> delegate = {});

  // Both phases; returns at once when a sync is already running.
  void syncCourseInfoAndStudyRecord();
  static bool isSyncCourse();

  // Phase 1, the courses; false when the server gave no answer (nothing changes then).
  bool syncCourse(VelkDBHelper& db);
  // Phase 2, the study records; false when the server gave none.
  bool syncCourseStudy(VelkDBHelper& db);
  // Records of courses the learner has no record of yet, with their unit records, under new keys.
  void insertCourseStudyRecordWithArr(const Records& records, VelkDBHelper& db);
  // The server's values over the learner's records, but not over rows changed since `sent` was read.
  void updateCourseStudyRecordWithArr(const Records& records, VelkDBHelper& db, const Records& sent = {});

 private:
  Records localRecords(VelkDBHelper& db, const pf::Value& userId);

  const std::unique_ptr<CommonService> commonService_;
  const std::unique_ptr<OpenCourseInfoService> courseInfoService_;
  const std::unique_ptr<CourseService> courseService_;
  const std::unique_ptr<OpenPhoneCourseStudyRecordService> courseStudyService_;
  const std::unique_ptr<OpenCourseStudyRecordService> courseStudyRecordService_;

  static std::atomic<bool> syncing_;
};
