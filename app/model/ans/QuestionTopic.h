#pragma once
// A topic questions are tagged with; content is the topic's name.

#include <optional>
#include <string>

#include "app/model/cmn/BaseDomain.h"

class QuestionTopic : public BaseDomain {
  PF_OBJECT(QuestionTopic, BaseDomain)

  std::optional<std::string> topicId;
  std::optional<std::string> content;
  int attentionCount = 0;
  int answerCount = 0;
  int questionCount = 0;
  // The current user follows it.
  bool isFocused = false;

  static void declareProperties(pf::ClassBuilder<QuestionTopic>& b) {
    PF_PROPERTY(b, topicId);
    PF_PROPERTY(b, content);
    PF_PROPERTY(b, attentionCount);
    PF_PROPERTY(b, answerCount);
    PF_PROPERTY(b, questionCount);
    PF_PROPERTY(b, isFocused);
  }
};
