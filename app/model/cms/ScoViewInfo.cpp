#include "app/model/cms/ScoViewInfo.h"

void ScoViewInfo::declareProperties(pf::ClassBuilder<ScoViewInfo>& b) {
  PF_PROPERTY(b, courseId);
  PF_PROPERTY(b, scoId);
  PF_PROPERTY(b, scoName);
  PF_PROPERTY(b, isChapter);
  PF_PROPERTY(b, showOrder);
  PF_PROPERTY(b, videoUrl);
  PF_PROPERTY(b, lectureUrl);
  PF_PROPERTY(b, minStudyTime);
  PF_PROPERTY(b, userId);
  PF_PROPERTY(b, currentPosition);
  PF_PROPERTY(b, studyComplete);
  PF_PROPERTY(b, lastStudyTime);
  PF_PROPERTY(b, totalTime);
  PF_PROPERTY(b, studyRate);
  PF_PROPERTY(b, hasDownload);
}
