#pragma once
// The server's reply to one submitted paper; "fail" is made on the device when no reply came.

#include <optional>
#include <string>

#include "app/model/cmn/BaseDomain.h"

class ExamSubmitResult : public BaseDomain {
  PF_OBJECT(ExamSubmitResult, BaseDomain)

  static constexpr char kSuccess[] = "success";
  static constexpr char kFail[] = "fail";

  std::optional<std::string> examResultId;
  std::optional<std::string> resultCode;

  static void declareProperties(pf::ClassBuilder<ExamSubmitResult>& b);
};
