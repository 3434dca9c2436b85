#pragma once
// One option of a survey question. selected is the learner's choice, set by the screens; choosing an
// option with allowInput opens a text field on the question.

#include <optional>
#include <string>

#include "app/model/cmn/BaseDomain.h"

class QsmQuestionOption : public BaseDomain {
  PF_OBJECT(QsmQuestionOption, BaseDomain)

  // What a submission sends.
  std::optional<std::string> optionId;
  std::optional<std::string> questionId;
  std::optional<std::string> content;
  float showOrder = 0;
  std::optional<std::string> fileId;
  std::optional<std::string> fileName;
  std::optional<std::string> fileUrl;
  bool allowInput = false;
  bool selected = false;

  static void declareProperties(pf::ClassBuilder<QsmQuestionOption>& b) {
    PF_PROPERTY(b, optionId);
    PF_PROPERTY(b, questionId);
    PF_PROPERTY(b, content);
    PF_PROPERTY(b, showOrder);
    PF_PROPERTY(b, fileId);
    PF_PROPERTY(b, fileName);
    PF_PROPERTY(b, fileUrl);
    PF_PROPERTY(b, allowInput);
    PF_PROPERTY(b, selected);
  }
};
