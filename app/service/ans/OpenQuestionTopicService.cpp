#include "app/service/ans/OpenQuestionTopicService.h"

#include "app/service/cmn/OpenText.h"
#include "core/open/ServiceManager.h"
#include "core/reflect/ReflectionUtil.h"

namespace {

using Params = ServiceManager::ParamDic;

std::shared_ptr<QuestionTopic> topicAnswer(const char* uri, Params params,
                                           const std::shared_ptr<ServiceDelegate>& delegate) {
  return ServiceManager::performRemoteMethod(uri, params, QuestionTopic::kClassName, delegate)
      .objectAs<QuestionTopic>();
}

std::shared_ptr<Page> topicPage(const char* uri, Params params,
                                const std::shared_ptr<ServiceDelegate>& delegate) {
  ReflectionUtil::setArrayType(QuestionTopic::kClassName, "rows", Page::kClassName);
  return ServiceManager::performRemoteMethod(uri, params, Page::kClassName, delegate).objectAs<Page>();
}

bool topicCallSucceeded(const char* uri, Params params, const std::shared_ptr<ServiceDelegate>& delegate) {
  return ServiceManager::performRemoteMethod(uri, params, delegate);
}

}  // namespace

std::shared_ptr<QuestionTopic> OpenQuestionTopicService::get(const Text& topicId) {
  return topicAnswer("/v1/qa/questiontopic/get", {{"topicId", openText(topicId)}}, delegate());
}

std::shared_ptr<QuestionTopic> OpenQuestionTopicService::getByContent(const Text& content) {
  return topicAnswer("/v1/qa/questiontopic/getByContent", {{"content", openText(content)}}, delegate());
}

std::optional<std::vector<std::shared_ptr<QuestionTopic>>> OpenQuestionTopicService::loadMyConcernedTopics() {
  Params params;
  const pf::Value answer = ServiceManager::performRemoteMethod("/v1/qa/questiontopic/loadMyConcernedTopics",
                                                               params, QuestionTopic::kClassName, delegate());
  if (!answer.isArray()) return std::nullopt;
  std::vector<std::shared_ptr<QuestionTopic>> topics;
  for (const pf::Value& element : *answer.array()) {
    if (auto topic = element.objectAs<QuestionTopic>()) topics.push_back(std::move(topic));
  }
  return topics;
}

std::shared_ptr<Page> OpenQuestionTopicService::loadHotTopics(const Text& content,
                                                              const std::shared_ptr<Page>& page) {
  return topicPage("/v1/qa/questiontopic/loadHotTopics",
                   {{"content", openText(content)}, {"page", openValue(page)}}, delegate());
}

std::shared_ptr<Page> OpenQuestionTopicService::loadLatestTopics(const Text& content,
                                                                 const std::shared_ptr<Page>& page) {
  return topicPage("/v1/qa/questiontopic/loadLatestTopics",
                   {{"content", openText(content)}, {"page", openValue(page)}}, delegate());
}

bool OpenQuestionTopicService::follow(const Text& topicId) {
  return topicCallSucceeded("/v1/qa/questiontopic/follow", {{"topicId", openText(topicId)}}, delegate());
}

bool OpenQuestionTopicService::cancelFollow(const Text& topicId) {
  return topicCallSucceeded("/v1/qa/questiontopic/cancelFollow", {{"topicId", openText(topicId)}}, delegate());
}

bool OpenQuestionTopicService::isAttentionTopic(const Text& topicId) {
  Params params{{"topicId", openText(topicId)}};
  return ServiceManager::performRemoteMethod("/v1/qa/questiontopic/isAttentionTopic", params, "c", delegate())
      .boolValue();
}
