#include "app/service/ans/OpenQuestionService.h"

#include "app/service/cmn/OpenText.h"
#include "core/open/ServiceManager.h"
#include "core/reflect/ReflectionUtil.h"

namespace {

using Params = ServiceManager::ParamDic;

std::shared_ptr<QaQuestion> questionAnswer(const char* uri, Params params,
                                           const std::shared_ptr<ServiceDelegate>& delegate) {
  return ServiceManager::performRemoteMethod(uri, params, QaQuestion::kClassName, delegate)
      .objectAs<QaQuestion>();
}

std::shared_ptr<Page> questionPage(const char* uri, Params params,
                                   const std::shared_ptr<ServiceDelegate>& delegate) {
  ReflectionUtil::setArrayType(QaQuestion::kClassName, "rows", Page::kClassName);
  return ServiceManager::performRemoteMethod(uri, params, Page::kClassName, delegate).objectAs<Page>();
}

bool flag(const char* uri, Params params, const std::shared_ptr<ServiceDelegate>& delegate) {
  return ServiceManager::performRemoteMethod(uri, params, "c", delegate).boolValue();
}

}  // namespace

std::shared_ptr<QaQuestion> OpenQuestionService::get(const Text& questionId) {
  return questionAnswer("/v1/qa/question/get", {{"questionId", openText(questionId)}}, delegate());
}

std::shared_ptr<Page> OpenQuestionService::loadQuestions(const Text& title,
                                                         const std::shared_ptr<Page>& page) {
  return questionPage("/v1/qa/question/loadQuestions",
                      {{"title", openText(title)}, {"page", openValue(page)}}, delegate());
}

std::shared_ptr<Page> OpenQuestionService::loadMyAskedQuestions(const std::shared_ptr<Page>& page) {
  return questionPage("/v1/qa/question/loadMyAskedQuestions", {{"page", openValue(page)}}, delegate());
}

std::shared_ptr<Page> OpenQuestionService::loadMyAnsweredQuestions(const std::shared_ptr<Page>& page) {
  return questionPage("/v1/qa/question/loadMyAnsweredQuestions", {{"page", openValue(page)}}, delegate());
}

std::shared_ptr<Page> OpenQuestionService::loadMyFavoriteQuestions(const std::shared_ptr<Page>& page) {
  return questionPage("/v1/qa/question/loadMyFavoriteQuestions", {{"page", openValue(page)}}, delegate());
}

std::shared_ptr<Page> OpenQuestionService::loadMyEditedQuestions(const std::shared_ptr<Page>& page) {
  return questionPage("/v1/qa/question/loadMyEditedQuestions", {{"page", openValue(page)}}, delegate());
}

std::shared_ptr<Page> OpenQuestionService::loadTopicQuestions(const Text& topicId,
                                                              const std::shared_ptr<Page>& page) {
  return questionPage("/v1/qa/question/loadTopicQuestions",
                      {{"topicId", openText(topicId)}, {"page", openValue(page)}}, delegate());
}

bool OpenQuestionService::share(const Text& questionId, const Text& content, const Text& clientType) {
  Params params{{"questionId", openText(questionId)},
                {"content", openText(content)},
                {"clientType", openText(clientType)}};
  return ServiceManager::performRemoteMethod("/v1/qa/question/share", params, delegate());
}

bool OpenQuestionService::collect(const Text& questionId) {
  Params params{{"questionId", openText(questionId)}};
  return ServiceManager::performRemoteMethod("/v1/qa/question/collect", params, delegate());
}

bool OpenQuestionService::cancelCollect(const Text& questionId) {
  Params params{{"questionId", openText(questionId)}};
  return ServiceManager::performRemoteMethod("/v1/qa/question/cancelCollect", params, delegate());
}

std::shared_ptr<QaQuestion> OpenQuestionService::add(const std::shared_ptr<QaQuestion>& question,
                                                     const Text& clientType) {
  return questionAnswer("/v1/qa/question/add",
                        {{"question", openValue(question)}, {"clientType", openText(clientType)}},
                        delegate());
}

std::shared_ptr<QaQuestion> OpenQuestionService::update(const std::shared_ptr<QaQuestion>& question) {
  return questionAnswer("/v1/qa/question/update", {{"question", openValue(question)}}, delegate());
}

bool OpenQuestionService::isFavoriteQuestion(const Text& questionId) {
  return flag("/v1/qa/question/isFavoriteQuestion", {{"questionId", openText(questionId)}}, delegate());
}

OpenQuestionService::Text OpenQuestionService::getTopicName(const Text& questionId) {
  Params params{{"questionId", openText(questionId)}};
  const pf::Value name =
      ServiceManager::performRemoteMethod("/v1/qa/question/getTopicName", params, "NSString", delegate());
  if (const std::string* text = name.string()) return *text;
  return std::nullopt;
}

int OpenQuestionService::reminder() {
  Params params;
  return ServiceManager::performRemoteMethod("/v1/qa/question/reminder", params, "i", delegate()).intValue();
}

bool OpenQuestionService::checkAnswered(const Text& questionId) {
  return flag("/v1/qa/answer/checkAnswered", {{"questionId", openText(questionId)}}, delegate());
}
