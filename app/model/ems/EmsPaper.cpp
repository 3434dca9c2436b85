#include "app/model/ems/EmsPaper.h"

void EmsPaper::declareProperties(pf::ClassBuilder<EmsPaper>& b) {
  PF_PROPERTY(b, paperId);
  PF_PROPERTY(b, examId);
  PF_PROPERTY(b, code);
  PF_PROPERTY(b, name);
  PF_PROPERTY(b, generateTime);
  PF_PROPERTY(b, firstJoinTime);
  PF_PROPERTY(b, forceSubmitted);
  PF_PROPERTY(b, submitTime);
  PF_PROPERTY(b, examResultId);
  PF_PROPERTY(b, credit);
  PF_PROPERTY(b, score);
  PF_PROPERTY(b, passed);
  PF_PROPERTY(b, isJoin);
  PF_PROPERTY(b, submitState);
  PF_PROPERTY(b, showResult);
  PF_PROPERTY(b, examCount);
  PF_PROPERTY(b, questions);
}
