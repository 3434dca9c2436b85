#pragma once
// One paper of an exam: its questions in delivery order and the result fields that local marking
// fills and the submission sends back.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/model/cmn/BaseDomain.h"
#include "app/model/ems/EmsQuestion.h"

class EmsPaper : public BaseDomain {
  PF_OBJECT(EmsPaper, BaseDomain)

  std::optional<std::string> paperId;
  std::optional<std::string> examId;
  std::optional<std::string> code;
  std::optional<std::string> name;
  std::optional<pf::Date> generateTime;
  std::optional<pf::Date> firstJoinTime;
  // Set when the paper went in because the time ran out.
  bool forceSubmitted = false;
  std::optional<pf::Date> submitTime;
  std::optional<std::string> examResultId;
  float credit = 0;
  float score = 0;
  bool passed = false;
  bool isJoin = false;
  std::optional<std::string> submitState;
  bool showResult = false;
  int examCount = 0;
  std::vector<std::shared_ptr<EmsQuestion>> questions;

  static void declareProperties(pf::ClassBuilder<EmsPaper>& b);
};
