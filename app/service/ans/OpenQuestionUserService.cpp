#include "app/service/ans/OpenQuestionUserService.h"

#include "app/service/cmn/OpenText.h"
#include "core/open/ServiceManager.h"

std::shared_ptr<QuestionUser> OpenQuestionUserService::getUserInfo(const std::optional<std::string>& userId) {
  ServiceManager::ParamDic params{{"userId", openText(userId)}};
  return ServiceManager::performRemoteMethod("/v1/qa/questionuser/getUserInfo", params,
                                             QuestionUser::kClassName, delegate())
      .objectAs<QuestionUser>();
}
