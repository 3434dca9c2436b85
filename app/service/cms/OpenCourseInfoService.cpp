#include "app/service/cms/OpenCourseInfoService.h"

#include "app/model/cms/CourseSco.h"
#include "app/model/cms/PopularizeResource.h"
#include "app/service/cmn/OpenText.h"
#include "app/service/cms/OpenArgument.h"
#include "core/open/OpenExtension.h"
#include "core/open/ServiceManager.h"
#include "core/reflect/ReflectionUtil.h"

namespace {

// Every answer that may carry courses carries their teachers.
void registerCourseTeachers() {
  ReflectionUtil::setArrayType(Teacher::kClassName, "teacherList", CourseInfo::kClassName);
}

}  // namespace

std::shared_ptr<CourseInfo> OpenCourseInfoService::getCourseById(const std::optional<std::string>& courseId) {
  ServiceManager::ParamDic params{{"courseId", openText(courseId)}};
  registerCourseTeachers();
  return ServiceManager::performRemoteMethod(kGetCourseByIdPath, params, CourseInfo::kClassName, delegate())
      .objectAs<CourseInfo>();
}

std::shared_ptr<CourseInfo> OpenCourseInfoService::getByCode(const std::optional<std::string>& courseCode) {
  ServiceManager::ParamDic params{{"courseCode", openText(courseCode)}};
  registerCourseTeachers();
  return ServiceManager::performRemoteMethod(kGetByCodePath, params, CourseInfo::kClassName, delegate())
      .objectAs<CourseInfo>();
}

std::shared_ptr<SyncDetail> OpenCourseInfoService::syncCourse(const pf::ArrayPtr& clientCourses) {
  ServiceManager::ParamDic params{{"clientCourses", openValue(pf::Value(clientCourses))}};
  ReflectionUtil::setArrayType(CourseInfo::kClassName, "deleteList", SyncDetail::kClassName);
  ReflectionUtil::setArrayType(CourseInfo::kClassName, "updateList", SyncDetail::kClassName);
  ReflectionUtil::setArrayType(CourseInfo::kClassName, "addList", SyncDetail::kClassName);
  registerCourseTeachers();
  const pf::Value answer =
      ServiceManager::performRemoteMethod(kSyncCoursePath, params, SyncDetail::kClassName, delegate());
  auto detail = answer.objectAs<SyncDetail>();
  if (!detail && !answer.isNil()) reportUnexpectedAnswer(kSyncCoursePath, SyncDetail::kClassName);
  return detail;
}

pf::ArrayPtr OpenCourseInfoService::getCourseScoList(const std::optional<std::string>& courseId) {
  ServiceManager::ParamDic params{{"courseId", openText(courseId)}};
  return ServiceManager::performRemoteMethod(kGetCourseScoListPath, params, CourseSco::kClassName, delegate())
      .array();
}

pf::DictionaryPtr OpenCourseInfoService::getCourseInfoByCourseIds(const pf::ArrayPtr& courseIds) {
  ServiceManager::ParamDic params{{"courseIds", openValue(pf::Value(courseIds))}};
  return ServiceManager::performRemoteMethod(kGetCourseInfoByCourseIdsPath, params, "NSDictionary",
                                             delegate())
      .dictionary();
}

float OpenCourseInfoService::getCourseRate() {
  ServiceManager::ParamDic params;
  return ServiceManager::performRemoteMethod(kGetCourseRatePath, params, "f", delegate()).floatValue();
}

pf::ArrayPtr OpenCourseInfoService::loadPopularizeCourse() {
  ServiceManager::ParamDic params;
  return ServiceManager::performRemoteMethod(kLoadPopularizeCoursePath, params,
                                             PopularizeResource::kClassName, delegate())
      .array();
}

std::shared_ptr<Page> OpenCourseInfoService::loadCourseInfoList(const std::shared_ptr<Page>& page,
                                                                const std::optional<std::string>& categoryId,
                                                                const std::optional<std::string>& keywords,
                                                                bool supportMobile) {
  ServiceManager::ParamDic params{{"page", openValue(pf::Value(page))},
                                  {"keywords", openText(keywords)},
                                  {"categoryId", openText(categoryId)},
                                  {"supportMobile", openValue(pf::Value(pf::Number(supportMobile)))}};
  ReflectionUtil::setArrayType(CourseInfo::kClassName, "rows", Page::kClassName);
  registerCourseTeachers();
  return ServiceManager::performRemoteMethod(kLoadCourseInfoListPath, params, Page::kClassName, delegate())
      .objectAs<Page>();
}

int OpenCourseInfoService::myCourseReminder() {
  ServiceManager::ParamDic params;
  return ServiceManager::performRemoteMethod(kMyCourseReminderPath, params, "i", delegate()).intValue();
}

std::shared_ptr<CourseStudyRecord> OpenCourseInfoService::selectCourse(
    const std::optional<std::string>& courseId, const std::optional<pf::Date>& startTime,
    const std::optional<pf::Date>& endTime) {
  ServiceManager::ParamDic params{{"courseId", openText(courseId)},
                                  {"startTime", openValue(openArgument(startTime))},
                                  {"endTime", openValue(openArgument(endTime))}};
  ReflectionUtil::setArrayType(ScoStudyRecord::kClassName, "scoStudyRecordList",
                               CourseStudyRecord::kClassName);
  return ServiceManager::performRemoteMethod(kSelectCoursePath, params, CourseStudyRecord::kClassName,
                                             delegate())
      .objectAs<CourseStudyRecord>();
}

bool OpenCourseInfoService::removeSelectedCourse(const std::optional<std::string>& courseId) {
  ServiceManager::ParamDic params{{"courseId", openText(courseId)}};
  return ServiceManager::performRemoteMethod(kRemoveSelectedCoursePath, params, "c", delegate()).boolValue();
}

bool OpenCourseInfoService::hasPurview(const std::optional<std::string>& courseId) {
  ServiceManager::ParamDic params{{"courseId", openText(courseId)}};
  return ServiceManager::performRemoteMethod(kHasPurviewPath, params, "c", delegate()).boolValue();
}
