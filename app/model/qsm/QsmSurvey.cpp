#include "app/model/qsm/QsmSurvey.h"

#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/Format.h"

std::string QsmSurvey::durationText() const {
  const pf::DateFormatter formatter("yyyy-MM-dd");
  auto day = [&](const std::optional<pf::Date>& date) { return date ? formatter.stringFromDate(*date) : ""; };
  return pf::format("%@ ~ %@", day(startTime), day(endTime));
}

void QsmSurvey::declareProperties(pf::ClassBuilder<QsmSurvey>& b) {
  PF_PROPERTY(b, surveyId);
  PF_PROPERTY(b, userId);
  PF_PROPERTY(b, surveyCode);
  PF_PROPERTY(b, surveyName);
  PF_PROPERTY(b, comments);
  PF_PROPERTY(b, sponsor);
  PF_PROPERTY(b, startTime);
  PF_PROPERTY(b, endTime);
  PF_PROPERTY(b, joined);
  PF_PROPERTY(b, questionnaireId);
  PF_PROPERTY(b, surveyMode);
  PF_PROPERTY(b, status);
  PF_PROPERTY(b, questions);
  PF_PROPERTY(b, replyList);
  PF_PROPERTY(b, userAnswers);
  PF_PROPERTY(b, commitMessage);
  PF_PROPERTY(b, codeOrName);
  PF_PROPERTY(b, questionnaireCode);
  PF_PROPERTY(b, questionnaireName);
  PF_PROPERTY(b, questionnaireType);
  PF_PROPERTY(b, categoryId);
  PF_PROPERTY(b, statusText);
  PF_PROPERTY(b, publishTime);
}
