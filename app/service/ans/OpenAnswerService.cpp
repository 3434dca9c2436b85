#include "app/service/ans/OpenAnswerService.h"

#include "app/service/cmn/OpenText.h"
#include "core/open/ServiceManager.h"
#include "core/reflect/ReflectionUtil.h"

std::shared_ptr<Answer> OpenAnswerService::add(const std::shared_ptr<Answer>& answer) {
  ServiceManager::ParamDic params{{"answer", openValue(answer)}};
  return ServiceManager::performRemoteMethod("/v1/qa/answer/add", params, Answer::kClassName, delegate())
      .objectAs<Answer>();
}

std::shared_ptr<Page> OpenAnswerService::loadAnswers(const std::optional<std::string>& questionId,
                                                     const std::shared_ptr<Page>& page) {
  ServiceManager::ParamDic params{{"questionId", openText(questionId)}, {"page", openValue(page)}};
  ReflectionUtil::setArrayType(Answer::kClassName, "rows", Page::kClassName);
  return ServiceManager::performRemoteMethod("/v1/qa/answer/loadAnswers", params, Page::kClassName,
                                             delegate())
      .objectAs<Page>();
}

bool OpenAnswerService::agree(const std::optional<std::string>& answerId) {
  ServiceManager::ParamDic params{{"answerId", openText(answerId)}};
  return ServiceManager::performRemoteMethod("/v1/qa/answer/agree", params, delegate());
}

std::shared_ptr<Answer> OpenAnswerService::update(const std::shared_ptr<Answer>& answer) {
  ServiceManager::ParamDic params{{"answer", openValue(answer)}};
  return ServiceManager::performRemoteMethod("/v1/qa/answer/update", params, Answer::kClassName, delegate())
      .objectAs<Answer>();
}
