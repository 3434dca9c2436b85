#include "app/service/ans/AnsService.h"

#include "app/service/ans/TopicText.h"
#include "platform/ui/AlertView.h"

AnsService::AnsService(std::weak_ptr<ServiceDelegate> delegate)
    : BaseService(delegate),
      reminderService_(std::make_unique<ReminderService>(delegate)),
      openAnswerService_(std::make_unique<OpenAnswerService>(delegate)),
      openQuestionService_(std::make_unique<OpenQuestionService>(delegate)),
      openQuestionTopicService_(std::make_unique<OpenQuestionTopicService>(delegate)),
      openQuestionUserService_(std::make_unique<OpenQuestionUserService>(delegate)),
      commonService_(std::make_unique<CommonService>(delegate)),
      clientType_(commonService_->getClientType()) {}

std::shared_ptr<QaQuestion> AnsService::addQuestion(const std::shared_ptr<QaQuestion>& question) {
  if (!question) return nullptr;
  return openQuestionService_->add(question, clientType_);
}

std::shared_ptr<QaQuestion> AnsService::updateQuestion(const std::shared_ptr<QaQuestion>& question) {
  if (!question) return nullptr;
  return openQuestionService_->update(question);
}

std::shared_ptr<QaQuestion> AnsService::getQuestionById(const Text& questionId) {
  if (!questionId) return nullptr;
  return openQuestionService_->get(questionId);
}

AnsService::Text AnsService::getTopicNameByQuestionId(const Text& questionId) {
  if (!questionId) return std::nullopt;
  return openQuestionService_->getTopicName(questionId);
}

bool AnsService::shareQuestionWithQuestionId(const Text& questionId, const Text& comment) {
  if (!questionId) return false;
  return openQuestionService_->share(questionId, comment, clientType_);
}

AnsService::PagePtr AnsService::loadQuestionByContent(const Text& content, const PagePtr& page) {
  if (!page) return nullptr;
  return openQuestionService_->loadQuestions(content, page);
}

AnsService::PagePtr AnsService::loadMyAskedQuestions(const PagePtr& page) {
  if (!page) return nullptr;
  return openQuestionService_->loadMyAskedQuestions(page);
}

AnsService::PagePtr AnsService::loadMyAnsweredQuestions(const PagePtr& page) {
  if (!page) return nullptr;
  return openQuestionService_->loadMyAnsweredQuestions(page);
}

AnsService::PagePtr AnsService::loadMyFavoriteQuestions(const PagePtr& page) {
  if (!page) return nullptr;
  return openQuestionService_->loadMyFavoriteQuestions(page);
}

AnsService::PagePtr AnsService::loadTopicQuestionsByTopicId(const Text& topicId, const PagePtr& page) {
  if (!topicId || !page) return nullptr;
  return openQuestionService_->loadTopicQuestions(topicId, page);
}

bool AnsService::collect(const Text& questionId) {
  return questionId && openQuestionService_->collect(questionId);
}

bool AnsService::cancelCollect(const Text& questionId) {
  return questionId && openQuestionService_->cancelCollect(questionId);
}

bool AnsService::isFavoriteQuestion(const Text& questionId) {
  return questionId && openQuestionService_->isFavoriteQuestion(questionId);
}

bool AnsService::answerStatusOfQuestion(const Text& questionId) {
  return questionId && openQuestionService_->checkAnswered(questionId);
}

std::shared_ptr<Answer> AnsService::addAnswer(const std::shared_ptr<Answer>& answer) {
  if (!answer) return nullptr;
  return openAnswerService_->add(answer);
}

std::shared_ptr<Answer> AnsService::updateAnswer(const std::shared_ptr<Answer>& answer) {
  if (!answer) return nullptr;
  return openAnswerService_->update(answer);
}

bool AnsService::agree(const Text& answerId) {
  return answerId && openAnswerService_->agree(answerId);
}

AnsService::PagePtr AnsService::loadAnswersOfQuestion(const Text& questionId, const PagePtr& page) {
  if (!questionId || !page) return nullptr;
  return openAnswerService_->loadAnswers(questionId, page);
}

std::shared_ptr<QuestionTopic> AnsService::getQuestionByFilterText(const Text& topicName) {
  if (!topicName) return nullptr;
  return openQuestionTopicService_->getByContent(topicName);
}

AnsService::PagePtr AnsService::loadLatestTopicsBySearchText(const Text& searchText, const PagePtr& page) {
  if (!page) return nullptr;
  return openQuestionTopicService_->loadLatestTopics(searchText, page);
}

std::optional<std::vector<std::shared_ptr<QuestionTopic>>> AnsService::loadMyConcernedTopics() {
  return openQuestionTopicService_->loadMyConcernedTopics();
}

bool AnsService::followTopicById(const Text& topicId) {
  return topicId && openQuestionTopicService_->follow(topicId);
}

bool AnsService::cancelFollowTopicById(const Text& topicId) {
  return topicId && openQuestionTopicService_->cancelFollow(topicId);
}

bool AnsService::isAttentionTopic(const Text& topicId) {
  return topicId && openQuestionTopicService_->isAttentionTopic(topicId);
}

std::shared_ptr<QuestionUser> AnsService::getUserInfoByUserId(const Text& userId) {
  if (!userId) return nullptr;
  return openQuestionUserService_->getUserInfo(userId);
}

void AnsService::updateQuestionReminder() {
  reminderService_->updateMobileAppReminderWithAppCode(kAppCode, 0);
}

bool AnsService::checkTopicLegalWithTopicName(const std::string& topicName) {
  const std::optional<std::string> problem = TopicText::violation(topicName);
  if (!problem) return true;
  // No delegate: the learner only needs to read why before correcting the text.
  auto alert = std::make_shared<pf::AlertView>(kAlertTitle, *problem, std::weak_ptr<pf::AlertViewDelegate>(),
                                               kAlertButton);
  alert->show();
  return false;
}

std::string AnsService::reBuiltTopicNameOfTopicName(const std::string& topicName) {
  return TopicText::rebuilt(topicName);
}
