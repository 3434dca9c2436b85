#pragma once
// The server's course operations: catalogue pages, promoted courses, one course by id or code, its
// units, selecting and giving up a course, study rights, the corporation's pass rate, the course badge
// and the sync of the device's course list. Each method is one blocking remote call on the calling
// thread; a failure answers null, 0 or false and reaches the delegate with the method's path. A nil
// argument goes out as null.

#include <memory>
#include <optional>
#include <string>

#include "app/model/cmn/Page.h"
#include "app/model/cmn/SyncDetail.h"
#include "app/model/cms/CourseInfo.h"
#include "app/model/cms/CourseStudyRecord.h"
#include "core/open/OpenService.h"
#include "platform/foundation/Value.h"

class OpenCourseInfoService : public OpenService {
 public:
  static constexpr char kGetCourseByIdPath[] = "/v1/lcms/courseinfo/getCourseById";
  static constexpr char kGetByCodePath[] = "/v1/lcms/courseinfo/getByCode";
  static constexpr char kSyncCoursePath[] = "/v1/lcms/courseinfo/syncCourse";
  static constexpr char kGetCourseScoListPath[] = "/v1/lcms/courseinfo/getCourseScoList";
  static constexpr char kGetCourseInfoByCourseIdsPath[] = "/v1/lcms/courseinfo/getCourseInfoByCourseIds";
  static constexpr char kGetCourseRatePath[] = "/v1/lcms/courseinfo/getCourseRate";
  static constexpr char kLoadPopularizeCoursePath[] = "/v1/lcms/courseinfo/loadPopularizeCourse";
  static constexpr char kLoadCourseInfoListPath[] = "/v1/lcms/courseinfo/loadCourseInfoList";
  static constexpr char kMyCourseReminderPath[] = "/v1/lcms/courseinfo/myCourseReminder";
  static constexpr char kSelectCoursePath[] = "/v1/lcms/courseinfo/selectCourse";
  static constexpr char kRemoveSelectedCoursePath[] = "/v1/lcms/courseinfo/removeSelectedCourse";
  static constexpr char kHasPurviewPath[] = "/v1/lcms/courseinfo/hasPurview";

  using OpenService::OpenService;

  std::shared_ptr<CourseInfo> getCourseById(const std::optional<std::string>& courseId);
  std::shared_ptr<CourseInfo> getByCode(const std::optional<std::string>& courseCode);
  // clientCourses: the CourseInfo objects the device holds (ids suffice). The answer's lists hold
  // CourseInfo.
  std::shared_ptr<SyncDetail> syncCourse(const pf::ArrayPtr& clientCourses);
  // CourseSco objects in the server's order.
  pf::ArrayPtr getCourseScoList(const std::optional<std::string>& courseId);
  // courseIds: texts. The dictionary as the server sends it.
  pf::DictionaryPtr getCourseInfoByCourseIds(const pf::ArrayPtr& courseIds);
  // The corporation's pass rate in percent.
  float getCourseRate();
  // PopularizeResource objects.
  pf::ArrayPtr loadPopularizeCourse();
  // The page's rows are CourseInfo.
  std::shared_ptr<Page> loadCourseInfoList(const std::shared_ptr<Page>& page,
                                           const std::optional<std::string>& categoryId,
                                           const std::optional<std::string>& keywords, bool supportMobile);
  // The count for the course badge.
  int myCourseReminder();
  // The user's new record of the course, with its unit records.
  std::shared_ptr<CourseStudyRecord> selectCourse(const std::optional<std::string>& courseId,
                                                  const std::optional<pf::Date>& startTime,
                                                  const std::optional<pf::Date>& endTime);
  bool removeSelectedCourse(const std::optional<std::string>& courseId);
  // The user may study the course.
  bool hasPurview(const std::optional<std::string>& courseId);
};
