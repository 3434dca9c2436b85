#pragma once
// The course service the course screens call. Reading: catalogue pages from the server, the learner's
// own courses and a course's detail from the local database, and a course's units kept in step with
// the server and joined with the learner's unit records and download state. Writing: selecting a
// course for a study window and giving it up, the course brief as HTML, comments, the corporation's
// pass rate and the course badge.
//
// Course and unit rows are shared by every learner of the device; course and unit records and
// downloads belong to one learner, the one signed in. Every SQL value is bound.
//
// Threads: synchronous; screens call it on a global queue. getMyCourse runs on a connection of its
// own (queue mode), the rest on the store's per-call connections.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/model/cmn/Page.h"
#include "app/model/cms/CourseInfo.h"
#include "app/model/cms/CourseSco.h"
#include "app/model/cms/CourseStudyRecord.h"
#include "app/model/cms/CourseViewInfo.h"
#include "app/model/cms/Discuss.h"
#include "app/model/cms/ScoStudyRecord.h"
#include "app/model/cms/ScoViewInfo.h"
#include "app/service/cmn/BaseService.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/cmn/ReminderService.h"
#include "app/service/cms/OpenCourseInfoService.h"
#include "app/service/cms/OpenCourseStudyRecordService.h"
#include "app/service/cms/OpenDiscussService.h"
#include "app/service/cms/OpenPhoneCourseStudyRecordService.h"

class DownloadService;

class CourseService : public BaseService {
 public:
  using CourseViews = std::vector<std::shared_ptr<CourseViewInfo>>;
  using ScoViews = std::vector<std::shared_ptr<ScoViewInfo>>;
  using Scos = std::vector<std::shared_ptr<CourseSco>>;
  using Courses = std::vector<std::shared_ptr<CourseInfo>>;

  // The badge of the course module in the menu.
  static constexpr char kCourseAppCode[] = "up_my_course";
  static constexpr char kCorpStudyRateKeyFormat[] = "corp_study_rate_%@";
  static constexpr char kBriefFormat[] =
      "<div style=\"width:%dpx;word-break:break-all;font-size:%dpx\">%@：%@</div></br>";
  static constexpr char kEmptyBriefSection[] = " 无";
  // The study window the course screens ask for when selecting: 90 days.
  static constexpr double kSelectionWindowSeconds = 7776000;

  explicit CourseService(std::weak_ptr<ServiceDelegate> delegate = {});
  ~CourseService() override;

  // ---- catalogue (server); pages whose rows are CourseViewInfo, null on failure ----

  std::shared_ptr<Page> getAllCourseWithPage(const std::shared_ptr<Page>& page);
  std::shared_ptr<Page> getCourseWithPage(const std::shared_ptr<Page>& page,
                                          const std::optional<std::string>& categoryId);
  std::shared_ptr<Page> searchCourseWithSearchStr(const std::optional<std::string>& searchStr,
                                                  const std::shared_ptr<Page>& page);
  // PopularizeResource objects, as the server sends them.
  pf::ArrayPtr getRecommendResource();
  // The courses as view records in the same order, not selected and without record fields.
  static CourseViews getCourseViewInfosWithCourseInfos(const pf::ArrayPtr& courseInfos);

  // ---- the learner's courses and units (local) ----

  // Newest change first, each selected; units are not loaded.
  CourseViews getMyCourse();
  // Own courses whose title, teacher or tags hold the text as typed ("%" and "_" included). Sets the
  // page's rows (CourseViewInfo) and then moves it to the next page number.
  std::shared_ptr<Page> searchLocalCourseWithSearchStr(const std::optional<std::string>& searchStr,
                                                       const std::shared_ptr<Page>& page);
  // The learner's course with his record and units; else the server's course, not selected; else null.
  std::shared_ptr<CourseViewInfo> getCourseViewInfoWithCourseID(const std::optional<std::string>& courseId);
  // The units in display order. selected: the learner holds the course, so the units are stored
  // first and joined with his records and downloads; otherwise they come from the server unstored.
  std::optional<ScoViews> getScoViewInfosWithCourseViewInfo(const std::shared_ptr<CourseViewInfo>& course,
                                                            bool selected);
  std::optional<ScoViews> getScoViewInfosWithCourseViewInfo(const std::shared_ptr<CourseViewInfo>& course);
  // The units after refreshing the stored ones from the server (the current list when it has none).
  std::optional<ScoViews> synScoInfoWithCourseViewInfo(const std::shared_ptr<CourseViewInfo>& course,
                                                       bool selected);
  std::shared_ptr<ScoViewInfo> getScoViewInfoWithScoID(const std::optional<std::string>& scoId);
  // The stored unit, or else the unit of the course the learner downloaded it from, refreshed.
  pf::ObjectPtr scoInfoWithScoId(const std::optional<std::string>& scoId);
  std::shared_ptr<CourseInfo> courseInfoWithCourseId(const std::optional<std::string>& courseId);
  std::shared_ptr<CourseInfo> courseInfoOfSco(const std::shared_ptr<CourseSco>& sco);
  std::shared_ptr<ScoStudyRecord> scoStudyInfoOfScoInfo(const std::shared_ptr<CourseSco>& sco);
  std::shared_ptr<CourseStudyRecord> courseStudyRecordOfCourse(const std::optional<std::string>& courseId);
  bool hasSelectedCourse(const std::optional<std::string>& courseId);
  // Stored units of the course, fetched and stored first when there are none; by show order.
  Scos scoInfosOfCourse(const std::optional<std::string>& courseId);
  Scos scosOfCourses(const Courses& courses);
  // Moves the course to the top of the learner's list.
  bool updateCourseLastModifyTimeWithCourseID(const std::optional<std::string>& courseId);

  // ---- unit lists ----

  // Stores the course's units when none are stored; false when there are none to store or the
  // store refused them.
  bool judgeHasScoInfoAndDownloadScoInfoWithCourseViewInfo(const std::shared_ptr<CourseViewInfo>& course);
  // The units with hasDownload set from the learner's download records of the course.
  std::optional<ScoViews> getScoViewInfosForIsDownloadWithScoInfos(
      const ScoViews& scoInfos, const std::optional<std::string>& courseId);
  // The one unit of a single-video course, made from the course itself under a new id.
  static std::shared_ptr<CourseSco> addOneScreenScoWithCourseViewInfo(const CourseViewInfo& course);
  // Sorted by the integer show order and named "<position>.<name without its leading numbering>";
  // units without a name are left out and still use up their position.
  static Scos updateScoNameWithScoInfos(Scos scoInfos);
  // By the whole show order ("2.5" between "2" and "10"): a strict weak ordering.
  static bool scoSort(const std::optional<std::string>& a, const std::optional<std::string>& b);

  // ---- selection and removal ----

  // The stored course view after the server accepted the selection; the given view when it refused;
  // null without a course id.
  std::shared_ptr<CourseViewInfo> addSelectCourse(const std::shared_ptr<CourseViewInfo>& course,
                                                  const std::optional<pf::Date>& startStudyTime,
                                                  const std::optional<pf::Date>& endStudyTime);
  std::shared_ptr<CourseViewInfo> saveCourseInfoAndCourseStudyRecordWithCourseViewInfo(
      const std::shared_ptr<CourseViewInfo>& course, const std::shared_ptr<CourseStudyRecord>& record);
  // The server's verdict; when it removed the selection, so does the device.
  bool removeSelectCourse(const std::optional<std::string>& courseId);
  // The learner's records of the courses; shared rows go with the last learner's record; then the
  // learner's downloads of them.
  void deleteCourseAndScoWithCourseID(const Courses& courses);
  void removeDownloadInfosOfCourses(const Courses& courses);

  // ---- brief, comments, rights ----

  // The server's brief when online, the stored one otherwise or when the server fails.
  std::optional<std::string> courseBriefOfCourse(const std::optional<std::string>& courseId);
  // Five sections in a fixed order, or nullopt when the course has no brief at all. Text is escaped.
  static std::optional<std::string> courseBriefWithCourse(const CourseInfo& course);
  static std::string constructBranchedBrief(const std::optional<std::string>& content,
                                            const std::string& title);
  std::optional<std::vector<std::shared_ptr<Discuss>>> courseCommentsOfCourse(
      const std::optional<std::string>& courseId, const std::shared_ptr<Page>& page);
  bool addCommentForCourse(const std::optional<std::string>& courseId,
                           const std::optional<std::string>& content);
  bool addReplyForCourseComment(const std::shared_ptr<Discuss>& comment,
                                const std::optional<std::string>& content,
                                const std::optional<std::string>& courseId);
  bool hasPurview(const std::optional<std::string>& courseId);

  // ---- pass rate and badge ----

  // Stores the corporation's pass rate: 100 when there is none yet and the server gives none; a
  // server answer of 0 never replaces a stored rate.
  void syncCorpStudyRateWithCorpCode(const std::optional<std::string>& corpCode);
  // The stored pass rate of the signed-in learner's corporation, 0 when none.
  float getCorpStudyRate();
  static std::string corpStudyRateKey(const std::string& corpCode);
  // Counts the learner's unfinished courses into the module badge.
  void updateCourseReminder();

 private:
  std::optional<std::string> userId();
  pf::Value userIdValue();
  std::shared_ptr<CourseViewInfo> ownCourseView(const std::string& courseId);
  ScoViews unitViewsFromServer(const CourseViewInfo& course);
  std::optional<ScoViews> storedUnitViews(const std::string& courseId);
  Scos storedScos(const std::string& courseId);

  const std::unique_ptr<CommonService> commonService_;
  const std::unique_ptr<OpenCourseInfoService> courseInfoService_;
  const std::unique_ptr<OpenPhoneCourseStudyRecordService> courseStudyService_;
  const std::unique_ptr<OpenCourseStudyRecordService> courseStudyRecordService_;
  const std::unique_ptr<OpenDiscussService> commentService_;
  const std::unique_ptr<ReminderService> reminderService_;
  const std::shared_ptr<DownloadService> downloadService_;
};
