#pragma once
// The submitted answer of one survey question: the chosen option ids joined by "," and the typed text.

#include <optional>
#include <string>

#include "app/model/cmn/BaseDomain.h"

class QsmUserAnswer : public BaseDomain {
  PF_OBJECT(QsmUserAnswer, BaseDomain)

  static constexpr char kOptionSeparator[] = ",";

  std::optional<std::string> questionId;
  std::optional<std::string> userSelect;
  std::optional<std::string> userInput;

  static void declareProperties(pf::ClassBuilder<QsmUserAnswer>& b) {
    PF_PROPERTY(b, questionId);
    PF_PROPERTY(b, userSelect);
    PF_PROPERTY(b, userInput);
  }
};
