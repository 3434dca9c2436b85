#pragma once
// What the questions-and-answers screens call. Everything lives on the server: this adds to the
// remote calls only the nil guards (a nil argument answers null or false without a call), the
// client type, the topic-text rules and the badge reset. Synchronous; the lists are loaded on a
// global queue, single actions and the topic check run on the main thread.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/model/ans/Answer.h"
#include "app/model/ans/QaQuestion.h"
#include "app/model/ans/QuestionTopic.h"
#include "app/model/ans/QuestionUser.h"
#include "app/model/cmn/Page.h"
#include "app/service/ans/OpenAnswerService.h"
#include "app/service/ans/OpenQuestionService.h"
#include "app/service/ans/OpenQuestionTopicService.h"
#include "app/service/ans/OpenQuestionUserService.h"
#include "app/service/cmn/BaseService.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/cmn/ReminderService.h"

class AnsService : public BaseService {
 public:
  using Text = std::optional<std::string>;
  using PagePtr = std::shared_ptr<Page>;

  static constexpr char kAppCode[] = "qa_wenda";
  static constexpr char kAlertTitle[] = "提示";
  static constexpr char kAlertButton[] = "确定";

  explicit AnsService(std::weak_ptr<ServiceDelegate> delegate = {});

  std::shared_ptr<QaQuestion> addQuestion(const std::shared_ptr<QaQuestion>& question);
  std::shared_ptr<QaQuestion> updateQuestion(const std::shared_ptr<QaQuestion>& question);
  std::shared_ptr<QaQuestion> getQuestionById(const Text& questionId);
  Text getTopicNameByQuestionId(const Text& questionId);
  bool shareQuestionWithQuestionId(const Text& questionId, const Text& comment);
  // The filter may be nil (sent as "null"); the page may not.
  PagePtr loadQuestionByContent(const Text& content, const PagePtr& page);
  PagePtr loadMyAskedQuestions(const PagePtr& page);
  PagePtr loadMyAnsweredQuestions(const PagePtr& page);
  PagePtr loadMyFavoriteQuestions(const PagePtr& page);
  PagePtr loadTopicQuestionsByTopicId(const Text& topicId, const PagePtr& page);
  bool collect(const Text& questionId);
  bool cancelCollect(const Text& questionId);
  bool isFavoriteQuestion(const Text& questionId);
  // Whether the current user has answered the question.
  bool answerStatusOfQuestion(const Text& questionId);

  std::shared_ptr<Answer> addAnswer(const std::shared_ptr<Answer>& answer);
  std::shared_ptr<Answer> updateAnswer(const std::shared_ptr<Answer>& answer);
  bool agree(const Text& answerId);
  PagePtr loadAnswersOfQuestion(const Text& questionId, const PagePtr& page);

  // The topic of that name.
  std::shared_ptr<QuestionTopic> getQuestionByFilterText(const Text& topicName);
  // The text may be nil; the page may not.
  PagePtr loadLatestTopicsBySearchText(const Text& searchText, const PagePtr& page);
  std::optional<std::vector<std::shared_ptr<QuestionTopic>>> loadMyConcernedTopics();
  bool followTopicById(const Text& topicId);
  bool cancelFollowTopicById(const Text& topicId);
  bool isAttentionTopic(const Text& topicId);

  std::shared_ptr<QuestionUser> getUserInfoByUserId(const Text& userId);

  // Resets the module's badge once the question list has been seen.
  void updateQuestionReminder();

  // Whether the topic field may be sent: at most five topics of at most ten UTF-16 units each. A
  // rejected text shows an alert telling why. Main thread only.
  bool checkTopicLegalWithTopicName(const std::string& topicName);
  // The topic field as it is sent: see TopicText::rebuilt.
  std::string reBuiltTopicNameOfTopicName(const std::string& topicName);

  const std::string& clientType() const { return clientType_; }
  void setClientType(std::string clientType) { clientType_ = std::move(clientType); }

 private:
  std::unique_ptr<ReminderService> reminderService_;
  std::unique_ptr<OpenAnswerService> openAnswerService_;
  std::unique_ptr<OpenQuestionService> openQuestionService_;
  std::unique_ptr<OpenQuestionTopicService> openQuestionTopicService_;
  std::unique_ptr<OpenQuestionUserService> openQuestionUserService_;
  std::unique_ptr<CommonService> commonService_;
  std::string clientType_;
};
