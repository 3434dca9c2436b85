#pragma once
// An answer to a question. operationType tells the server whether it is new ("ADD") or edited
// ("MODIFY"); the screens set it before sending.

#include <memory>
#include <optional>
#include <string>

#include "app/model/ans/QuestionUser.h"
#include "app/model/cmn/BaseDomain.h"

class Answer : public BaseDomain {
  PF_OBJECT(Answer, BaseDomain)

  static constexpr char kOperationAdd[] = "ADD";
  static constexpr char kOperationModify[] = "MODIFY";

  std::optional<std::string> answerId;
  std::optional<std::string> content;
  std::optional<std::string> questionId;
  long long agreeCount = 0;
  std::optional<std::string> ip;
  bool isOfficial = false;
  // The current user has agreed with it.
  bool isAgree = false;
  int countQuestion = 0;
  int countAnswer = 0;
  std::optional<pf::Date> answerTime;
  std::optional<std::string> userId;
  std::optional<std::string> operationType;
  std::shared_ptr<QuestionUser> user;

  static void declareProperties(pf::ClassBuilder<Answer>& b) {
    PF_PROPERTY(b, answerId);
    PF_PROPERTY(b, content);
    PF_PROPERTY(b, questionId);
    PF_PROPERTY(b, agreeCount);
    PF_PROPERTY(b, ip);
    PF_PROPERTY(b, isOfficial);
    PF_PROPERTY(b, isAgree);
    PF_PROPERTY(b, countQuestion);
    PF_PROPERTY(b, countAnswer);
    PF_PROPERTY(b, answerTime);
    PF_PROPERTY(b, userId);
    PF_PROPERTY(b, operationType);
    PF_PROPERTY(b, user);
  }
};
