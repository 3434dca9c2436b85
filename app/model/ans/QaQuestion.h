#pragma once
// A question of the questions-and-answers module. topicName holds the topic names joined by "，",
// normalised before the question is sent.

#include <memory>
#include <optional>
#include <string>

#include "app/model/ans/QuestionTopic.h"
#include "app/model/ans/QuestionUser.h"
#include "app/model/cmn/BaseDomain.h"

class QaQuestion : public BaseDomain {
  PF_OBJECT(QaQuestion, BaseDomain)

  std::optional<std::string> questionId;
  // The question as asked.
  std::optional<std::string> title;
  std::optional<std::string> content;
  bool shareInWeibo = false;
  long long answerCount = 0;
  std::optional<std::string> topicId;
  std::optional<std::string> topicName;
  bool isFavorite = false;
  bool isAnswered = false;
  std::optional<std::string> createBy;
  std::optional<pf::Date> createTime;
  std::shared_ptr<QuestionUser> user;
  std::shared_ptr<QuestionTopic> questionTopic;

  static void declareProperties(pf::ClassBuilder<QaQuestion>& b) {
    PF_PROPERTY(b, questionId);
    PF_PROPERTY(b, title);
    PF_PROPERTY(b, content);
    PF_PROPERTY(b, shareInWeibo);
    PF_PROPERTY(b, answerCount);
    PF_PROPERTY(b, topicId);
    PF_PROPERTY(b, topicName);
    PF_PROPERTY(b, isFavorite);
    PF_PROPERTY(b, isAnswered);
    PF_PROPERTY(b, createBy);
    PF_PROPERTY(b, createTime);
    PF_PROPERTY(b, user);
    PF_PROPERTY(b, questionTopic);
  }
};
