#include "app/service/qsm/OpenQuestionnaireUserService.h"

#include "app/model/qsm/QuestionnaireUser.h"
#include "app/service/cmn/OpenText.h"
#include "core/open/OpenExtension.h"
#include "core/open/ServiceManager.h"
#include "core/reflect/ReflectionUtil.h"

std::shared_ptr<Page> OpenQuestionnaireUserService::getAnsweredUsers(
    const std::optional<std::string>& surveyId, const std::optional<std::string>& userName,
    const std::optional<std::string>& organizationId, const std::optional<std::string>& positionId,
    const std::shared_ptr<Page>& page) {
  return loadUsers(kAnsweredUri, surveyId, userName, organizationId, positionId, page);
}

std::shared_ptr<Page> OpenQuestionnaireUserService::getUnAnsweredUsers(
    const std::optional<std::string>& surveyId, const std::optional<std::string>& userName,
    const std::optional<std::string>& organizationId, const std::optional<std::string>& positionId,
    const std::shared_ptr<Page>& page) {
  return loadUsers(kUnAnsweredUri, surveyId, userName, organizationId, positionId, page);
}

std::shared_ptr<Page> OpenQuestionnaireUserService::getSurveyRelUsers(
    const std::optional<std::string>& surveyId, const std::optional<std::string>& userName,
    const std::optional<std::string>& organizationId, const std::optional<std::string>& positionId,
    const std::shared_ptr<Page>& page) {
  return loadUsers(kRelatedUri, surveyId, userName, organizationId, positionId, page);
}

std::shared_ptr<Page> OpenQuestionnaireUserService::loadUsers(
    const char* uri, const std::optional<std::string>& surveyId, const std::optional<std::string>& userName,
    const std::optional<std::string>& organizationId, const std::optional<std::string>& positionId,
    const std::shared_ptr<Page>& page) {
  ServiceManager::ParamDic params{{"surveyId", openText(surveyId)},
                                  {"userName", openText(userName)},
                                  {"organizationId", openText(organizationId)},
                                  {"positionId", openText(positionId)},
                                  {"page", openValue(page)}};
  ReflectionUtil::setArrayType(QuestionnaireUser::kClassName, "rows", Page::kClassName);
  return ServiceManager::performRemoteMethod(uri, params, Page::kClassName, delegate()).objectAs<Page>();
}
