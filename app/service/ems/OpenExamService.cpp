#include "app/service/ems/OpenExamService.h"

#include "app/model/ems/EmsExam.h"
#include "core/open/OpenExtension.h"
#include "core/open/ServiceManager.h"
#include "core/reflect/ReflectionUtil.h"

namespace {

int countAt(const char* path, const std::shared_ptr<ServiceDelegate>& delegate) {
  ServiceManager::ParamDic params;
  return ServiceManager::performRemoteMethod(path, params, "i", delegate).intValue();
}

}  // namespace

std::shared_ptr<SyncResult> OpenExamService::loadExamsAfter(const std::optional<pf::Date>& lastUpdateTime) {
  ServiceManager::ParamDic params;
  if (lastUpdateTime) params["lastUpdateTime"] = openValue(pf::Value(*lastUpdateTime));
  ReflectionUtil::setArrayType(EmsExam::kClassName, "results", SyncResult::kClassName);
  return ServiceManager::performRemoteMethod("/v1/ems/exam/loadExamsAfter", params, SyncResult::kClassName,
                                             delegate())
      .objectAs<SyncResult>();
}

int OpenExamService::myExamReminder() {
  return countAt("/v1/ems/exam/myExamReminder", delegate());
}

int OpenExamService::judgingExamReminder() {
  return countAt("/v1/ems/exam/judgingExamReminder", delegate());
}
