#include "app/service/qsm/OpenSurveyService.h"

#include "core/open/OpenExtension.h"
#include "core/open/ServiceManager.h"
#include "core/reflect/ReflectionUtil.h"

std::shared_ptr<SyncResult> OpenSurveyService::sync(const std::optional<pf::Date>& lastUpdateTime) {
  ServiceManager::ParamDic params;
  if (lastUpdateTime) params["lastUpdateTime"] = openValue(*lastUpdateTime);
  ReflectionUtil::setArrayType(QsmSurvey::kClassName, "results", SyncResult::kClassName);
  ReflectionUtil::setArrayType(QsmQuestion::kClassName, "questions", QsmSurvey::kClassName);
  ReflectionUtil::setArrayType(QsmSurveyReply::kClassName, "replyList", QsmSurvey::kClassName);
  ReflectionUtil::setArrayType(QsmUserAnswer::kClassName, "userAnswers", QsmSurvey::kClassName);
  ReflectionUtil::setArrayType(QsmQuestionOption::kClassName, "items", QsmQuestion::kClassName);
  return ServiceManager::performRemoteMethod(kSyncUri, params, SyncResult::kClassName, delegate())
      .objectAs<SyncResult>();
}

bool OpenSurveyService::batchSubmit(const std::vector<std::shared_ptr<QsmSurvey>>& surveys) {
  ServiceManager::ParamDic params{
      {"surveys", openValue(pf::Value(pf::Array(surveys.begin(), surveys.end())))}};
  return ServiceManager::performRemoteMethod(kBatchSubmitUri, params, delegate());
}

int OpenSurveyService::reminder() {
  ServiceManager::ParamDic params;
  return ServiceManager::performRemoteMethod(kReminderUri, params, "i", delegate()).intValue();
}
