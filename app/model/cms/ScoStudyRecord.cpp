#include "app/model/cms/ScoStudyRecord.h"

void ScoStudyRecord::declareProperties(pf::ClassBuilder<ScoStudyRecord>& b) {
  PF_PROPERTY(b, scoId);
  PF_PROPERTY(b, courseId);
  PF_PROPERTY(b, userId);
  PF_PROPERTY(b, currentPosition);
  PF_PROPERTY(b, studyComplete);
  PF_PROPERTY(b, lastStudyTime);
  PF_PROPERTY(b, totalTime);
  PF_PROPERTY(b, studyRate);
}
