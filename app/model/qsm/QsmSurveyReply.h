#pragma once
// A reply attached to a survey; the survey list marks surveys that have any.

#include <optional>
#include <string>

#include "app/model/cmn/BaseDomain.h"

class QsmSurveyReply : public BaseDomain {
  PF_OBJECT(QsmSurveyReply, BaseDomain)

  std::optional<std::string> replyId;
  std::optional<std::string> surveyId;
  std::optional<std::string> title;
  std::optional<std::string> content;
  std::optional<std::string> userId;
  std::optional<std::string> userName;
  std::optional<pf::Date> createTime;

  static void declareProperties(pf::ClassBuilder<QsmSurveyReply>& b) {
    PF_PROPERTY(b, replyId);
    PF_PROPERTY(b, surveyId);
    PF_PROPERTY(b, title);
    PF_PROPERTY(b, content);
    PF_PROPERTY(b, userId);
    PF_PROPERTY(b, userName);
    PF_PROPERTY(b, createTime);
  }
};
