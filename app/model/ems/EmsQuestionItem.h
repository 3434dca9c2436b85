#pragma once
// One option of a question. True/false questions get two made options with the ids "true" and
// "false"; selected is the learner's choice on the device.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/model/cmn/BaseDomain.h"
#include "app/model/ems/EmsAttachment.h"

class EmsQuestionItem : public BaseDomain {
  PF_OBJECT(EmsQuestionItem, BaseDomain)

  std::optional<std::string> itemId;
  std::optional<std::string> questionId;
  std::optional<std::string> content;
  bool correct = false;
  // 1 for the first option; its letter is "A" + the whole part - 1.
  float showOrder = 0;
  std::vector<std::shared_ptr<EmsAttachment>> refAttaments;
  bool selected = false;

  // "A" for showOrder 1; nullopt when the order gives no letter from "A" to "Z".
  std::optional<char> letter() const;

  static void declareProperties(pf::ClassBuilder<EmsQuestionItem>& b);
};
