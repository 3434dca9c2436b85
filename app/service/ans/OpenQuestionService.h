#pragma once
// The question operations of the server under "/v1/qa/question/" (and the answered check under
// "/v1/qa/answer/"). Holds no state; every call blocks its thread. A nil argument is sent as "null";
// a failure reaches the delegate on the main queue and the call answers null, false or 0.

#include <memory>
#include <optional>
#include <string>

#include "app/model/ans/QaQuestion.h"
#include "app/model/cmn/Page.h"
#include "core/open/OpenService.h"

class OpenQuestionService : public OpenService {
 public:
  using OpenService::OpenService;
  using Text = std::optional<std::string>;

  std::shared_ptr<QaQuestion> get(const Text& questionId);
  // Pages of QaQuestion.
  std::shared_ptr<Page> loadQuestions(const Text& title, const std::shared_ptr<Page>& page);
  std::shared_ptr<Page> loadMyAskedQuestions(const std::shared_ptr<Page>& page);
  std::shared_ptr<Page> loadMyAnsweredQuestions(const std::shared_ptr<Page>& page);
  std::shared_ptr<Page> loadMyFavoriteQuestions(const std::shared_ptr<Page>& page);
  std::shared_ptr<Page> loadMyEditedQuestions(const std::shared_ptr<Page>& page);
  std::shared_ptr<Page> loadTopicQuestions(const Text& topicId, const std::shared_ptr<Page>& page);
  // Shares the question to the micro-blog with a comment.
  bool share(const Text& questionId, const Text& content, const Text& clientType);
  bool collect(const Text& questionId);
  bool cancelCollect(const Text& questionId);
  // The question as stored, with its key.
  std::shared_ptr<QaQuestion> add(const std::shared_ptr<QaQuestion>& question, const Text& clientType);
  std::shared_ptr<QaQuestion> update(const std::shared_ptr<QaQuestion>& question);
  bool isFavoriteQuestion(const Text& questionId);
  Text getTopicName(const Text& questionId);
  // The count behind the module's badge.
  int reminder();
  // Whether the current user has answered the question.
  bool checkAnswered(const Text& questionId);
};
