#pragma once
// One survey published to the learner, as the server lists it. Surveys are never stored: every visit
// of the list loads them again, and statusText is worked out on each load.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/model/cmn/BaseDomain.h"
#include "app/model/qsm/QsmQuestion.h"
#include "app/model/qsm/QsmSurveyReply.h"
#include "app/model/qsm/QsmUserAnswer.h"

class QsmSurvey : public BaseDomain {
  PF_OBJECT(QsmSurvey, BaseDomain)

  std::optional<std::string> surveyId;
  std::optional<std::string> userId;
  std::optional<std::string> surveyCode;
  std::optional<std::string> surveyName;
  std::optional<std::string> comments;
  std::optional<std::string> sponsor;
  std::optional<pf::Date> startTime;
  std::optional<pf::Date> endTime;
  // The learner has already submitted.
  bool joined = false;
  std::optional<std::string> questionnaireId;
  std::optional<std::string> surveyMode;
  // The server's own status; the client goes by statusText.
  std::optional<std::string> status;
  std::optional<std::vector<std::shared_ptr<QsmQuestion>>> questions;
  std::optional<std::vector<std::shared_ptr<QsmSurveyReply>>> replyList;
  // Set only on the copy that is submitted.
  std::optional<std::vector<std::shared_ptr<QsmUserAnswer>>> userAnswers;
  std::optional<std::string> commitMessage;
  std::optional<std::string> codeOrName;
  std::optional<std::string> questionnaireCode;
  std::optional<std::string> questionnaireName;
  std::optional<std::string> questionnaireType;
  std::optional<std::string> categoryId;
  std::optional<std::string> statusText;
  std::optional<pf::Date> publishTime;

  // "yyyy-MM-dd ~ yyyy-MM-dd" of the start and end time in the device's time zone; a missing time
  // reads as an empty side.
  std::string durationText() const;

  static void declareProperties(pf::ClassBuilder<QsmSurvey>& b);
};
