#pragma once
// A learner's profile in the questions-and-answers module, with their counts.

#include <optional>
#include <string>

#include "app/model/cmn/BaseDomain.h"

class QuestionUser : public BaseDomain {
  PF_OBJECT(QuestionUser, BaseDomain)

  std::optional<std::string> userId;
  int questionCount = 0;
  int answerCount = 0;
  int favoriteCount = 0;
  int topicCount = 0;
  std::optional<std::string> userFaceUrl;
  std::optional<std::string> userName;
  std::optional<std::string> nickName;

  static void declareProperties(pf::ClassBuilder<QuestionUser>& b) {
    PF_PROPERTY(b, userId);
    PF_PROPERTY(b, questionCount);
    PF_PROPERTY(b, answerCount);
    PF_PROPERTY(b, favoriteCount);
    PF_PROPERTY(b, topicCount);
    PF_PROPERTY(b, userFaceUrl);
    PF_PROPERTY(b, userName);
    PF_PROPERTY(b, nickName);
  }
};
