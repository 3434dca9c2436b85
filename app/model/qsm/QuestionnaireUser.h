#pragma once
// A learner's participation in a survey: the element of the answered, unanswered and related user lists.

#include <optional>
#include <string>

#include "app/model/cmn/BaseDomain.h"

class QuestionnaireUser : public BaseDomain {
  PF_OBJECT(QuestionnaireUser, BaseDomain)

  std::optional<std::string> id;
  std::optional<std::string> surveyId;
  std::optional<std::string> questionnaireId;
  std::optional<std::string> userId;
  std::optional<pf::Date> startTime;
  std::optional<pf::Date> finishTime;
  std::optional<std::string> userIp;
  std::optional<std::string> userComputerInfo;

  static void declareProperties(pf::ClassBuilder<QuestionnaireUser>& b) {
    PF_PROPERTY(b, id);
    PF_PROPERTY(b, surveyId);
    PF_PROPERTY(b, questionnaireId);
    PF_PROPERTY(b, userId);
    PF_PROPERTY(b, startTime);
    PF_PROPERTY(b, finishTime);
    PF_PROPERTY(b, userIp);
    PF_PROPERTY(b, userComputerInfo);
  }
};
