#include "app/service/cms/OpenCourseStudyRecordService.h"

#include "app/model/cms/CourseStudyRecord.h"
#include "app/service/cms/OpenArgument.h"
#include "core/open/OpenExtension.h"
#include "core/open/ServiceManager.h"
#include "core/reflect/ReflectionUtil.h"

// Rows come back as course records; without a registered element type a page holding rows could not
// be read at all.
std::shared_ptr<Page> OpenCourseStudyRecordService::getCourseStudyRecordByTime(
    const std::optional<pf::Date>& beginDate, const std::optional<pf::Date>& endDate,
    const std::shared_ptr<Page>& page) {
  ServiceManager::ParamDic params{{"beginDate", openValue(openArgument(beginDate))},
                                  {"endDate", openValue(openArgument(endDate))},
                                  {"page", openValue(pf::Value(page))}};
  const std::string pageClass = page ? page->className() : std::string(Page::kClassName);
  ReflectionUtil::setArrayType(CourseStudyRecord::kClassName, "rows", pageClass);
  ReflectionUtil::setArrayType(ScoStudyRecord::kClassName, "scoStudyRecordList",
                               CourseStudyRecord::kClassName);
  return ServiceManager::performRemoteMethod(kGetCourseStudyRecordByTimePath, params, pageClass, delegate())
      .objectAs<Page>();
}
