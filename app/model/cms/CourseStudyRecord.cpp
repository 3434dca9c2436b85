#include "app/model/cms/CourseStudyRecord.h"

void CourseStudyRecord::declareProperties(pf::ClassBuilder<CourseStudyRecord>& b) {
  PF_PROPERTY(b, courseId);
  PF_PROPERTY(b, userId);
  PF_PROPERTY(b, courseName);
  PF_PROPERTY(b, studyRate);
  PF_PROPERTY(b, score);
  PF_PROPERTY(b, lastStudyTime);
  PF_PROPERTY(b, minStudyTime);
  PF_PROPERTY(b, studyTime);
  PF_PROPERTY(b, lastModifyTime);
  PF_PROPERTY(b, courseStudyType);
  PF_PROPERTY(b, obtainedWay);
  b.property("scoStudyRecordList", &CourseStudyRecord::scoStudyRecordList, "NSMutableArray");
}
