#include "app/model/cms/CourseInfo.h"

void CourseInfo::declareProperties(pf::ClassBuilder<CourseInfo>& b) {
  PF_PROPERTY(b, id);
  PF_PROPERTY(b, categoryId);
  PF_PROPERTY(b, categoryName);
  PF_PROPERTY(b, courseCode);
  PF_PROPERTY(b, courseTitle);
  PF_PROPERTY(b, courseType);
  PF_PROPERTY(b, coursePeriod);
  PF_PROPERTY(b, accessUrl);
  PF_PROPERTY(b, language);
  PF_PROPERTY(b, score);
  PF_PROPERTY(b, defaultScore);
  PF_PROPERTY(b, minStudyTime);
  PF_PROPERTY(b, stepToGetScore);
  PF_PROPERTY(b, releaseDate);
  PF_PROPERTY(b, cost);
  PF_PROPERTY(b, price);
  PF_PROPERTY(b, online);
  PF_PROPERTY(b, teacher);
  PF_PROPERTY(b, courseSource);
  b.property("teacherList", &CourseInfo::teacherList, "NSMutableArray");
  PF_PROPERTY(b, avgPoint);
  PF_PROPERTY(b, commentCount);
  PF_PROPERTY(b, corpCode);
  PF_PROPERTY(b, coverPath);
  PF_PROPERTY(b, tagName);
  PF_PROPERTY(b, openDsc);
  PF_PROPERTY(b, courseStandard);
  PF_PROPERTY(b, objectives);
  PF_PROPERTY(b, outline);
  PF_PROPERTY(b, orientObj);
  PF_PROPERTY(b, meaning);
  PF_PROPERTY(b, teacherIntroduction);
  PF_PROPERTY(b, videoUrl);
}
