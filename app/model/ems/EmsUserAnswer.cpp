#include "app/model/ems/EmsUserAnswer.h"

void EmsUserAnswer::declareProperties(pf::ClassBuilder<EmsUserAnswer>& b) {
  PF_PROPERTY(b, userId);
  PF_PROPERTY(b, examId);
  PF_PROPERTY(b, paperId);
  PF_PROPERTY(b, questionId);
  PF_PROPERTY(b, userAnswer);
}
