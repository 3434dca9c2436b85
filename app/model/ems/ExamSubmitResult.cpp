#include "app/model/ems/ExamSubmitResult.h"

void ExamSubmitResult::declareProperties(pf::ClassBuilder<ExamSubmitResult>& b) {
  PF_PROPERTY(b, examResultId);
  PF_PROPERTY(b, resultCode);
}
