#include "app/model/cms/CourseViewInfo.h"

void CourseViewInfo::declareProperties(pf::ClassBuilder<CourseViewInfo>& b) {
  PF_PROPERTY(b, id);
  PF_PROPERTY(b, categoryName);
  PF_PROPERTY(b, courseTitle);
  PF_PROPERTY(b, coursePeriod);
  PF_PROPERTY(b, score);
  PF_PROPERTY(b, stepToGetScore);
  PF_PROPERTY(b, teacher);
  PF_PROPERTY(b, avgPoint);
  PF_PROPERTY(b, coverPath);
  PF_PROPERTY(b, openDsc);
  PF_PROPERTY(b, courseStandard);
  PF_PROPERTY(b, objectives);
  PF_PROPERTY(b, outline);
  PF_PROPERTY(b, orientObj);
  PF_PROPERTY(b, meaning);
  PF_PROPERTY(b, teacherIntroduction);
  PF_PROPERTY(b, videoUrl);
  PF_PROPERTY(b, tagName);
  PF_PROPERTY(b, minStudyTime);
  PF_PROPERTY(b, studyRate);
  PF_PROPERTY(b, lastStudyTime);
  PF_PROPERTY(b, studyTime);
  PF_PROPERTY(b, userId);
  PF_PROPERTY(b, lastModifyTime);
  PF_PROPERTY(b, courseStudyType);
  PF_PROPERTY(b, obtainedWay);
  PF_PROPERTY(b, selected);
  b.property("scoInfoList", &CourseViewInfo::scoInfoList, "NSMutableArray");
}
