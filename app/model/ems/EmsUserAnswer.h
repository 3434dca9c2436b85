#pragma once
// One unfinished answer kept on the device (table "ems_user_answer"): the learner's answer to one
// question of one paper, in the answer encoding, until the paper is submitted.

#include <optional>
#include <string>

#include "app/model/cmn/BaseDomain.h"

class EmsUserAnswer : public BaseDomain {
  PF_OBJECT(EmsUserAnswer, BaseDomain)

  std::optional<std::string> userId;
  std::optional<std::string> examId;
  std::optional<std::string> paperId;
  std::optional<std::string> questionId;
  std::optional<std::string> userAnswer;

  static void declareProperties(pf::ClassBuilder<EmsUserAnswer>& b);
};
