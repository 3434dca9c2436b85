#include "app/service/cms/OpenPhoneCourseStudyRecordService.h"

#include "core/open/OpenExtension.h"
#include "core/open/ServiceManager.h"
#include "core/reflect/ReflectionUtil.h"

pf::ArrayPtr OpenPhoneCourseStudyRecordService::sync(const pf::ArrayPtr& clientRecords) {
  ServiceManager::ParamDic params{{"clientRecords", openValue(pf::Value(clientRecords))}};
  ReflectionUtil::setArrayType(ScoStudyRecord::kClassName, "scoStudyRecordList",
                               CourseStudyRecord::kClassName);
  const pf::Value answer =
      ServiceManager::performRemoteMethod(kSyncPath, params, CourseStudyRecord::kClassName, delegate());
  if (!answer.isNil() && !answer.isArray()) reportUnexpectedAnswer(kSyncPath, "list of study records");
  return answer.array();
}
