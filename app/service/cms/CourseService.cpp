#include "app/service/cms/CourseService.h"

#include <algorithm>

#include "app/model/cmn/SelectedObject.h"
#include "app/model/cms/CourseStandard.h"
#include "app/service/cmn/ValueLists.h"
#include "app/service/cms/DownloadService.h"
#include "app/service/cms/ScoNameNumbering.h"
#include "core/reflect/TypeCode.h"
#include "core/util/CommonUtil.h"
#include "core/util/StringUtil.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/TextHelpers.h"
#include "platform/ui/Screen.h"

namespace {

// One select for the learner's course with his record: the list of his courses and the detail read it.
constexpr char kOwnCourseColumns[] =
    "select ci.id, ci.category_name, ci.course_title, ci.course_period, ci.score, ci.step_to_get_score, "
    "ci.teacher, ci.avg_point, ci.cover_path, ci.open_dsc, ci.course_standard, ci.objectives, ci.tag_name, "
    "ci.video_url, ci.outline, ci.orient_obj, ci.meaning, ci.teacher_introduction, ci.min_study_time, "
    "csr.study_rate, csr.last_study_time, csr.user_id, csr.study_time, csr.last_modify_time, "
    "csr.course_study_type, csr.obtained_way "
    "FROM course_info ci INNER JOIN course_study_record csr ON csr.course_id = ci.id ";

constexpr char kUnitColumns[] =
    "select si.course_id, si.sco_id, si.sco_name, si.is_chapter, si.show_order, si.video_url, "
    "si.lecture_url, si.min_study_time, ssr.user_id, ssr.current_position, ssr.study_complete, "
    "ssr.last_study_time, ssr.total_time, ssr.study_rate ";

std::shared_ptr<CourseViewInfo> courseViewOf(const CourseInfo& course) {
  auto view = std::make_shared<CourseViewInfo>();
  view->id = course.id;
  view->categoryName = course.categoryName;
  view->courseTitle = course.courseTitle;
  view->coursePeriod = course.coursePeriod;
  view->score = course.score;
  view->videoUrl = course.videoUrl;
  view->stepToGetScore = course.stepToGetScore;
  view->teacher = course.teacher;
  view->avgPoint = course.avgPoint;
  view->coverPath = course.coverPath;
  view->openDsc = course.openDsc;
  view->courseStandard = course.courseStandard;
  view->tagName = course.tagName;
  view->minStudyTime = static_cast<float>(course.minStudyTime);
  view->objectives = course.objectives;
  view->outline = course.outline;
  view->orientObj = course.orientObj;
  view->meaning = course.meaning;
  view->teacherIntroduction = course.teacherIntroduction;
  return view;
}

std::shared_ptr<CourseInfo> courseInfoOf(const CourseViewInfo& view) {
  auto course = std::make_shared<CourseInfo>();
  course->id = view.id;
  course->categoryName = view.categoryName;
  course->courseTitle = view.courseTitle;
  course->coursePeriod = view.coursePeriod;
  course->score = view.score;
  course->videoUrl = view.videoUrl;
  course->stepToGetScore = view.stepToGetScore;
  course->teacher = view.teacher;
  course->avgPoint = view.avgPoint;
  course->coverPath = view.coverPath;
  course->openDsc = view.openDsc;
  course->courseStandard = view.courseStandard;
  course->tagName = view.tagName;
  course->minStudyTime = view.minStudyTime;
  course->objectives = view.objectives;
  course->outline = view.outline;
  course->orientObj = view.orientObj;
  course->meaning = view.meaning;
  course->teacherIntroduction = view.teacherIntroduction;
  return course;
}

std::shared_ptr<CourseSco> scoOf(const ScoViewInfo& view) {
  auto sco = std::make_shared<CourseSco>();
  sco->courseId = view.courseId;
  sco->scoId = view.scoId;
  sco->scoName = view.scoName;
  sco->isChapter = view.isChapter;
  sco->showOrder = view.showOrder;
  sco->videoUrl = view.videoUrl;
  sco->lectureUrl = view.lectureUrl;
  sco->minStudyTime = view.minStudyTime;
  return sco;
}

std::shared_ptr<ScoViewInfo> scoViewOf(const CourseSco& sco) {
  auto view = std::make_shared<ScoViewInfo>();
  view->courseId = sco.courseId;
  view->scoId = sco.scoId;
  view->scoName = sco.scoName;
  view->isChapter = sco.isChapter;
  view->showOrder = sco.showOrder;
  view->videoUrl = sco.videoUrl;
  view->lectureUrl = sco.lectureUrl;
  view->minStudyTime = sco.minStudyTime;
  return view;
}

void sortByShowOrder(CourseService::Scos& scos) {
  std::stable_sort(scos.begin(), scos.end(), [](const auto& a, const auto& b) {
    return CourseService::scoSort(a->showOrder, b->showOrder);
  });
}

// The text as LIKE matches it literally: "%", "_" and the escape character itself are escaped.
std::string likeLiteral(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '\\' || c == '%' || c == '_') escaped += '\\';
    escaped += c;
  }
  return escaped;
}


}  // namespace

CourseService::CourseService(std::weak_ptr<ServiceDelegate> delegate)
    : BaseService(delegate),
      commonService_(std::make_unique<CommonService>(delegate)),
      courseInfoService_(std::make_unique<OpenCourseInfoService>(delegate)),
      courseStudyService_(std::make_unique<OpenPhoneCourseStudyRecordService>(delegate)),
      courseStudyRecordService_(std::make_unique<OpenCourseStudyRecordService>(delegate)),
      commentService_(std::make_unique<OpenDiscussService>(delegate)),
      reminderService_(std::make_unique<ReminderService>(delegate)),
      downloadService_(DownloadService::instance()) {}

CourseService::~CourseService() = default;

std::optional<std::string> CourseService::userId() {
  return commonService_->getCurrentUserId();
}

pf::Value CourseService::userIdValue() {
  return textValue(userId());
}

// ---- catalogue ----

std::shared_ptr<Page> CourseService::getAllCourseWithPage(const std::shared_ptr<Page>& page) {
  auto answer = courseInfoService_->loadCourseInfoList(page, std::nullopt, std::nullopt, true);
  if (answer && answer->rows) answer->rows = arrayOf(getCourseViewInfosWithCourseInfos(answer->rows));
  return answer;
}

std::shared_ptr<Page> CourseService::getCourseWithPage(const std::shared_ptr<Page>& page,
                                                       const std::optional<std::string>& categoryId) {
  auto answer = courseInfoService_->loadCourseInfoList(page, categoryId, std::nullopt, true);
  if (answer && answer->rows && !answer->rows->empty())
    answer->rows = arrayOf(getCourseViewInfosWithCourseInfos(answer->rows));
  return answer;
}

std::shared_ptr<Page> CourseService::searchCourseWithSearchStr(const std::optional<std::string>& searchStr,
                                                               const std::shared_ptr<Page>& page) {
  auto answer = courseInfoService_->loadCourseInfoList(page, std::nullopt, searchStr, true);
  if (answer && answer->rows && !answer->rows->empty())
    answer->rows = arrayOf(getCourseViewInfosWithCourseInfos(answer->rows));
  return answer;
}

pf::ArrayPtr CourseService::getRecommendResource() {
  return courseInfoService_->loadPopularizeCourse();
}

CourseService::CourseViews CourseService::getCourseViewInfosWithCourseInfos(const pf::ArrayPtr& courseInfos) {
  CourseViews views;
  if (!courseInfos) return views;
  for (const auto& course : objectsOf<CourseInfo>(*courseInfos)) views.push_back(courseViewOf(*course));
  return views;
}

// ---- the learner's courses ----

CourseService::CourseViews CourseService::getMyCourse() {
  CourseViews courses;
  const pf::Value user = userIdValue();
  dbHelper->queueInDatabase([&](VelkDBHelper& db) {
    courses = objectsOf<CourseViewInfo>(db.queryForList(
        CourseViewInfo::kClassName,
        std::string(kOwnCourseColumns) + "WHERE csr.user_id = ? ORDER BY csr.last_modify_time DESC", {user}));
  });
  for (const auto& course : courses) course->selected = true;
  return courses;
}

std::shared_ptr<Page> CourseService::searchLocalCourseWithSearchStr(
    const std::optional<std::string>& searchStr, const std::shared_ptr<Page>& page) {
  if (!page) return nullptr;
  const std::string pattern = "%" + likeLiteral(searchStr.value_or("")) + "%";
  const long long offset =
      static_cast<long long>(std::max<std::uint32_t>(page->pageNo, 1) - 1) * page->pageSize;
  const pf::Array found = dbHelper->queryForList(
      CourseInfo::kClassName,
      "select ci.* from course_info ci inner join course_study_record csr on csr.course_id = ci.id "
      "where (ci.course_title like ? escape '\\' OR ci.teacher like ? escape '\\' OR ci.tag_name like ? "
      "escape '\\') and csr.user_id = ? limit ?,?",
      {pattern, pattern, pattern, userIdValue(), pf::Value(offset),
       pf::Value(static_cast<long long>(page->pageSize))});
  page->rows = std::make_shared<pf::Array>(found);
  page->pageNo = page->pageNo + 1;
  if (!found.empty()) page->rows = arrayOf(getCourseViewInfosWithCourseInfos(page->rows));
  return page;
}

std::shared_ptr<CourseViewInfo> CourseService::ownCourseView(const std::string& courseId) {
  return dbHelper
      ->queryForObject(CourseViewInfo::kClassName,
                       std::string(kOwnCourseColumns) + "WHERE csr.course_id = ? AND csr.user_id = ?",
                       {courseId, userIdValue()})
      .objectAs<CourseViewInfo>();
}

std::shared_ptr<CourseViewInfo> CourseService::getCourseViewInfoWithCourseID(
    const std::optional<std::string>& courseId) {
  if (!courseId) return nullptr;
  if (auto own = ownCourseView(*courseId)) {
    own->selected = true;
    own->scoInfoList = getScoViewInfosWithCourseViewInfo(own, true).value_or(ScoViews{});
    return own;
  }
  const auto course = courseInfoService_->getCourseById(courseId);
  if (!course) return nullptr;
  auto view = courseViewOf(*course);
  view->scoInfoList = getScoViewInfosWithCourseViewInfo(view, false).value_or(ScoViews{});
  return view;
}

// ---- units ----

std::optional<CourseService::ScoViews> CourseService::getScoViewInfosWithCourseViewInfo(
    const std::shared_ptr<CourseViewInfo>& course, bool selected) {
  if (!course || !course->id) return std::nullopt;
  if (selected) {
    if (!judgeHasScoInfoAndDownloadScoInfoWithCourseViewInfo(course)) return std::nullopt;
    const std::optional<ScoViews> stored = storedUnitViews(*course->id);
    if (!stored) return std::nullopt;
    return getScoViewInfosForIsDownloadWithScoInfos(*stored, course->id);
  }
  ScoViews views = unitViewsFromServer(*course);
  if (views.empty()) return std::nullopt;
  return views;
}

std::optional<CourseService::ScoViews> CourseService::getScoViewInfosWithCourseViewInfo(
    const std::shared_ptr<CourseViewInfo>& course) {
  if (!course) return std::nullopt;
  const int records =
      dbHelper
          ->queryForSingleResult(TypeCode::Int,
                                 "select count(*) from course_study_record where course_id = ? "
                                 "and user_id = ?",
                                 {textValue(course->id), userIdValue()})
          .intValue();
  return getScoViewInfosWithCourseViewInfo(course, records > 0);
}

CourseService::ScoViews CourseService::unitViewsFromServer(const CourseViewInfo& course) {
  Scos scos;
  if (CourseStandard::isSingleVideo(course.courseStandard)) {
    scos.push_back(addOneScreenScoWithCourseViewInfo(course));
  } else {
    const pf::ArrayPtr fetched = courseInfoService_->getCourseScoList(course.id);
    if (!fetched) return {};
    scos = objectsOf<CourseSco>(*fetched);
    sortByShowOrder(scos);
  }
  ScoViews views;
  for (const auto& sco : scos) views.push_back(scoViewOf(*sco));
  return views;
}

std::optional<CourseService::ScoViews> CourseService::storedUnitViews(const std::string& courseId) {
  const pf::Array rows =
      dbHelper->queryForList(ScoViewInfo::kClassName,
                             std::string(kUnitColumns) +
                                 "FROM ( SELECT * FROM course_sco WHERE course_id = ? ) si LEFT JOIN ( "
                                 "SELECT * FROM sco_study_record "
                                 "WHERE user_id = ? AND course_id = ? ) ssr ON si.sco_id = ssr.sco_id "
                                 "ORDER BY CAST(si.show_order as FLOAT) ASC",
                             {courseId, userIdValue(), courseId});
  return objectsOf<ScoViewInfo>(rows);
}

CourseService::Scos CourseService::storedScos(const std::string& courseId) {
  return objectsOf<CourseSco>(dbHelper->queryForList(
      CourseSco::kClassName, "select * from course_sco where course_id = ?", {courseId}));
}

bool CourseService::judgeHasScoInfoAndDownloadScoInfoWithCourseViewInfo(
    const std::shared_ptr<CourseViewInfo>& course) {
  if (!course || !course->id) return false;
  const int stored =
      dbHelper
          ->queryForSingleResult(TypeCode::Int, "select count(*) from course_sco where course_id = ?",
                                 {*course->id})
          .intValue();
  if (stored < 1) {
    Scos scos;
    if (CourseStandard::isSingleVideo(course->courseStandard)) {
      scos.push_back(addOneScreenScoWithCourseViewInfo(*course));
    } else {
      const pf::ArrayPtr fetched = courseInfoService_->getCourseScoList(course->id);
      if (!fetched || fetched->empty()) return false;
      scos = objectsOf<CourseSco>(*fetched);
    }
    if (!dbHelper->insertObjectsUseBatch(arrayOf(updateScoNameWithScoInfos(scos)))) return false;
  }
  downloadService_->getDownloadInfos();
  return true;
}

std::optional<CourseService::ScoViews> CourseService::getScoViewInfosForIsDownloadWithScoInfos(
    const ScoViews& scoInfos, const std::optional<std::string>& courseId) {
  if (scoInfos.empty()) return std::nullopt;
  const std::vector<std::string> downloaded = downloadService_->scoDownloadedWithCourseID(courseId);
  for (const auto& unit : scoInfos) {
    unit->hasDownload =
        unit->scoId && std::find(downloaded.begin(), downloaded.end(), *unit->scoId) != downloaded.end();
  }
  return scoInfos;
}

std::shared_ptr<CourseSco> CourseService::addOneScreenScoWithCourseViewInfo(const CourseViewInfo& course) {
  auto sco = std::make_shared<CourseSco>();
  sco->courseId = course.id;
  sco->scoId = CommonUtil::createNewUUID();
  sco->scoName = course.courseTitle;
  sco->showOrder = "1.0";
  sco->videoUrl = course.videoUrl;
  return sco;
}

CourseService::Scos CourseService::updateScoNameWithScoInfos(Scos scoInfos) {
  std::stable_sort(scoInfos.begin(), scoInfos.end(),
                   [](const auto& a, const auto& b) { return a->compare(*b) < 0; });
  Scos named;
  for (std::size_t i = 0; i < scoInfos.size(); ++i) {
    auto& sco = scoInfos[i];
    if (!sco->scoName) continue;  // left out, but its position number stays used
    sco->scoName = pf::format("%d.%@", static_cast<int>(i + 1), ScoNameNumbering::withoutNumbering(*sco->scoName));
    named.push_back(sco);
  }
  return named;
}

bool CourseService::scoSort(const std::optional<std::string>& a, const std::optional<std::string>& b) {
  const double left = a ? pf::Value(*a).doubleValue() : 0;
  const double right = b ? pf::Value(*b).doubleValue() : 0;
  return left < right;
}

std::optional<CourseService::ScoViews> CourseService::synScoInfoWithCourseViewInfo(
    const std::shared_ptr<CourseViewInfo>& course, bool selected) {
  if (!course) return std::nullopt;
  if (CourseStandard::isSingleVideo(course->courseStandard)) return course->scoInfoList;
  const pf::ArrayPtr fetched = courseInfoService_->getCourseScoList(course->id);
  if (!fetched || fetched->empty()) return course->scoInfoList;
  if (selected)
    dbHelper->updateObjectsUseBatch(arrayOf(updateScoNameWithScoInfos(objectsOf<CourseSco>(*fetched))));
  return getScoViewInfosWithCourseViewInfo(course, selected);
}

std::shared_ptr<ScoViewInfo> CourseService::getScoViewInfoWithScoID(const std::optional<std::string>& scoId) {
  if (!scoId) return nullptr;
  auto unit =
      dbHelper
          ->queryForObject(ScoViewInfo::kClassName,
                           std::string(kUnitColumns) +
                               "FROM (SELECT * FROM course_sco WHERE sco_id = ?) si LEFT JOIN (SELECT * "
                               "FROM sco_study_record WHERE user_id = ? and sco_id = ?) ssr ON si.sco_id = "
                               "ssr.sco_id",
                           {*scoId, userIdValue(), *scoId})
          .objectAs<ScoViewInfo>();
  if (unit) unit->hasDownload = downloadService_->sdiWithScoId(scoId) != nullptr;
  return unit;
}

pf::ObjectPtr CourseService::scoInfoWithScoId(const std::optional<std::string>& scoId) {
  if (!scoId) return nullptr;
  if (auto stored =
          dbHelper
              ->queryForObject(CourseSco::kClassName, "select * from course_sco where sco_id = ?", {*scoId})
              .objectAs<CourseSco>())
    return stored;
  // Other learners may hold download rows of the unit too: only this learner's course counts.
  const pf::Value courseId = dbHelper->queryForSingleResult(
      TypeCode::String, "select course_id from sco_download_info where sco_id = ? and user_id = ? limit 1",
      {*scoId, userIdValue()});
  if (!courseId.isString()) return nullptr;
  const auto course = ownCourseView(*courseId.string());
  if (!course) return nullptr;
  const std::optional<ScoViews> refreshed = synScoInfoWithCourseViewInfo(course, true);
  if (!refreshed) return nullptr;
  for (const auto& unit : *refreshed)
    if (unit->scoId == scoId) return unit;
  return nullptr;
}

std::shared_ptr<CourseInfo> CourseService::courseInfoWithCourseId(
    const std::optional<std::string>& courseId) {
  if (!courseId) return nullptr;
  return dbHelper
      ->queryForObject(CourseInfo::kClassName, "select * from course_info where id = ?", {*courseId})
      .objectAs<CourseInfo>();
}

std::shared_ptr<CourseInfo> CourseService::courseInfoOfSco(const std::shared_ptr<CourseSco>& sco) {
  return sco ? courseInfoWithCourseId(sco->courseId) : nullptr;
}

std::shared_ptr<ScoStudyRecord> CourseService::scoStudyInfoOfScoInfo(const std::shared_ptr<CourseSco>& sco) {
  if (!sco || !sco->scoId) return nullptr;
  return dbHelper
      ->queryForObject(ScoStudyRecord::kClassName,
                       "select * from sco_study_record where sco_id = ? and user_id = ?",
                       {*sco->scoId, userIdValue()})
      .objectAs<ScoStudyRecord>();
}

std::shared_ptr<CourseStudyRecord> CourseService::courseStudyRecordOfCourse(
    const std::optional<std::string>& courseId) {
  if (!courseId) return nullptr;
  return dbHelper
      ->queryForObject(CourseStudyRecord::kClassName,
                       "select * from course_study_record where course_id = ? and user_id = ?",
                       {*courseId, userIdValue()})
      .objectAs<CourseStudyRecord>();
}

bool CourseService::hasSelectedCourse(const std::optional<std::string>& courseId) {
  return courseStudyRecordOfCourse(courseId) != nullptr;
}

CourseService::Scos CourseService::scoInfosOfCourse(const std::optional<std::string>& courseId) {
  if (!courseId) return {};
  Scos scos = storedScos(*courseId);
  if (scos.empty()) {
    const pf::ArrayPtr fetched = courseInfoService_->getCourseScoList(courseId);
    if (fetched && !fetched->empty()) {
      scos = objectsOf<CourseSco>(*fetched);
      dbHelper->insertObjectsUseBatch(fetched);
    }
  }
  sortByShowOrder(scos);
  return scos;
}

CourseService::Scos CourseService::scosOfCourses(const Courses& courses) {
  Scos scos;
  for (const auto& course : courses) {
    if (!course || !course->id) continue;
    const Scos ofCourse = storedScos(*course->id);
    scos.insert(scos.end(), ofCourse.begin(), ofCourse.end());
  }
  return scos;
}

bool CourseService::updateCourseLastModifyTimeWithCourseID(const std::optional<std::string>& courseId) {
  return dbHelper->executeUpdate(
      "update course_study_record set last_modify_time = ? where course_id = ? and user_id = ?",
      {pf::Date::now(), textValue(courseId), userIdValue()});
}

// ---- selection and removal ----

std::shared_ptr<CourseViewInfo> CourseService::addSelectCourse(const std::shared_ptr<CourseViewInfo>& course,
                                                               const std::optional<pf::Date>& startStudyTime,
                                                               const std::optional<pf::Date>& endStudyTime) {
  if (!course || !course->id) return nullptr;
  const auto record = courseInfoService_->selectCourse(course->id, startStudyTime, endStudyTime);
  if (!record) return course;
  auto stored = saveCourseInfoAndCourseStudyRecordWithCourseViewInfo(course, record);
  downloadService_->getDownloadInfos();
  return stored;
}

std::shared_ptr<CourseViewInfo> CourseService::saveCourseInfoAndCourseStudyRecordWithCourseViewInfo(
    const std::shared_ptr<CourseViewInfo>& course, const std::shared_ptr<CourseStudyRecord>& record) {
  if (!course || !course->id) return nullptr;
  const std::string courseId = *course->id;
  Scos units;
  for (const auto& unit : course->scoInfoList)
    if (unit) units.push_back(scoOf(*unit));
  if (dbHelper->queryForObject(CourseInfo::kClassName, pf::Value(courseId))) {
    // Another learner holds the course: its shared rows stay as they are.
    if (storedScos(courseId).empty() && !units.empty()) dbHelper->insertObjectsUseBatch(arrayOf(units));
  } else {
    dbHelper->insertObject(courseInfoOf(*course));
    if (!units.empty()) dbHelper->insertObjectsUseBatch(arrayOf(updateScoNameWithScoInfos(units)));
  }
  if (!record) return nullptr;

  const pf::Value recordCourse = textValue(record->courseId ? record->courseId : course->id);
  dbHelper->executeUpdate("delete from course_study_record where course_id = ? and user_id = ?",
                          {recordCourse, userIdValue()});
  dbHelper->executeUpdate("delete from sco_study_record where course_id = ? and user_id = ?",
                          {recordCourse, userIdValue()});
  record->sid = CommonUtil::createNewUUID();
  dbHelper->insertObject(record);
  if (!record->scoStudyRecordList.empty()) {
    for (const auto& unitRecord : record->scoStudyRecordList) unitRecord->sid = CommonUtil::createNewUUID();
    dbHelper->insertObjectsUseBatch(arrayOf(record->scoStudyRecordList));
  }
  return getCourseViewInfoWithCourseID(courseId);
}

bool CourseService::removeSelectCourse(const std::optional<std::string>& courseId) {
  if (!courseId) return false;
  const bool removed = courseInfoService_->removeSelectedCourse(courseId);
  if (removed) {
    auto course = std::make_shared<CourseInfo>();
    course->id = courseId;
    try {
      deleteCourseAndScoWithCourseID({course});
    } catch (const std::exception& e) {
      pf::logf("giving up course %@: %@", *courseId, e.what());
    }
    removeDownloadInfosOfCourses({course});
  }
  downloadService_->getDownloadInfos();
  return removed;
}

void CourseService::deleteCourseAndScoWithCourseID(const Courses& courses) {
  if (courses.empty()) return;
  const pf::Value user = userIdValue();
  for (const auto& course : courses) {
    if (!course || !course->id) continue;
    const pf::Value id(*course->id);
    dbHelper->executeUpdate("delete from course_study_record where course_id = ? and user_id = ?",
                            {id, user});
    dbHelper->executeUpdate("delete from sco_study_record where course_id = ? and user_id = ?", {id, user});
    const int holders =
        dbHelper
            ->queryForSingleResult(TypeCode::Int,
                                   "select count(*) from course_study_record where course_id = ?", {id})
            .intValue();
    if (holders < 1) {
      dbHelper->executeUpdate("delete from course_info where id = ?", {id});
      dbHelper->executeUpdate("delete from course_sco where course_id = ?", {id});
    }
  }
  removeDownloadInfosOfCourses(courses);
}

void CourseService::removeDownloadInfosOfCourses(const Courses& courses) {
  if (courses.empty()) return;
  // The lists may not have been loaded yet: the learner's downloads are found in the table then.
  downloadService_->getDownloadInfos();
  for (const auto& course : courses) {
    if (!course || !course->id) continue;
    std::vector<std::shared_ptr<SelectedObject>> marked;
    for (const auto& record : downloadService_->downloadInfos()) {
      if (record->courseId != course->id) continue;
      auto item = std::make_shared<SelectedObject>(pf::Value(pf::ObjectPtr(record)));
      item->selected = true;
      marked.push_back(std::move(item));
    }
    downloadService_->removeDownloadScosInMarkableDownloadScos(marked);
    downloadService_->getDownloadInfos();
  }
}

// ---- brief, comments, rights ----

std::optional<std::string> CourseService::courseBriefOfCourse(const std::optional<std::string>& courseId) {
  if (!courseId) return std::nullopt;
  auto course = dbHelper
                    ->queryForObject(CourseInfo::kClassName,
                                     "select objectives,outline,orient_obj,teacher_introduction,meaning from "
                                     "course_info where id = ?",
                                     {*courseId})
                    .objectAs<CourseInfo>();
  if (CommonUtil::isOnline()) {
    // A failed call keeps the stored brief rather than showing none.
    if (auto fresh = courseInfoService_->getCourseById(courseId)) {
      dbHelper->updateObject(fresh);
      course = fresh;
    }
  }
  if (!course) return std::nullopt;
  return courseBriefWithCourse(*course);
}

std::optional<std::string> CourseService::courseBriefWithCourse(const CourseInfo& course) {
  if (!course.objectives && !course.meaning && !course.teacherIntroduction && !course.orientObj &&
      !course.outline)
    return std::nullopt;
  return constructBranchedBrief(course.objectives, "课程目标") +
         constructBranchedBrief(course.outline, "课程提纲") +
         constructBranchedBrief(course.orientObj, "课程对象") +
         constructBranchedBrief(course.teacherIntroduction, "讲师介绍") +
         constructBranchedBrief(course.meaning, "课程意义");
}

std::string CourseService::constructBranchedBrief(const std::optional<std::string>& content,
                                                  const std::string& title) {
  const double screenWidth = pf::Screen::mainScreen().bounds().size.width;
  const int width = static_cast<int>(screenWidth / 320 * 310);
  const int fontSize = static_cast<int>(screenWidth / 320 * 14);
  return pf::format(kBriefFormat, width, fontSize, StringUtil::htmlEscaped(title),
                    content ? StringUtil::htmlEscaped(*content) : std::string(kEmptyBriefSection));
}

std::optional<std::vector<std::shared_ptr<Discuss>>> CourseService::courseCommentsOfCourse(
    const std::optional<std::string>& courseId, const std::shared_ptr<Page>& page) {
  const auto answer = commentService_->loadDiscuss(page, courseId);
  if (!answer || !answer->rows) return std::nullopt;
  return objectsOf<Discuss>(*answer->rows);
}

bool CourseService::addCommentForCourse(const std::optional<std::string>& courseId,
                                        const std::optional<std::string>& content) {
  if (!courseId || !content || content->empty()) return false;
  return commentService_->commentCourse(content, courseId) != nullptr;
}

bool CourseService::addReplyForCourseComment(const std::shared_ptr<Discuss>& comment,
                                             const std::optional<std::string>& content,
                                             const std::optional<std::string>& courseId) {
  if (!comment || !content || content->empty() || !courseId) return false;
  return commentService_->replyCourse(content, comment->idPath, courseId) != nullptr;
}

bool CourseService::hasPurview(const std::optional<std::string>& courseId) {
  return courseInfoService_->hasPurview(courseId);
}

// ---- pass rate and badge ----

std::string CourseService::corpStudyRateKey(const std::string& corpCode) {
  return pf::format(kCorpStudyRateKeyFormat, corpCode);
}

void CourseService::syncCorpStudyRateWithCorpCode(const std::optional<std::string>& corpCode) {
  if (!corpCode) return;
  const float rate = courseInfoService_->getCourseRate();
  const std::string key = corpStudyRateKey(*corpCode);
  const std::optional<std::string> stored = dbHelper->valueForSettingKey(key);
  if (!stored) {
    dbHelper->setValue(pf::format("%f", rate > 0 ? static_cast<double>(rate) : 100.0), key);
  } else if (rate > 0 && pf::Value(*stored).floatValue() != rate) {
    dbHelper->setValue(pf::format("%f", static_cast<double>(rate)), key);
  }
}

float CourseService::getCorpStudyRate() {
  const std::optional<std::string> corpCode = commonService_->getCurrentCorpcode();
  if (!corpCode) return 0;
  const std::optional<std::string> stored = dbHelper->valueForSettingKey(corpStudyRateKey(*corpCode));
  return stored ? pf::Value(*stored).floatValue() : 0;
}

void CourseService::updateCourseReminder() {
  const int unfinished =
      dbHelper
          ->queryForSingleResult(
              TypeCode::Int,
              "select count(*) from course_study_record where study_rate < 100.0 and user_id = ?",
              {userIdValue()})
          .intValue();
  reminderService_->updateMobileAppReminderWithAppCode(kCourseAppCode, unfinished);
}
