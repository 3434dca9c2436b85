#pragma once
// One row of the list of downloaded courses: the course, the learner's study record of it, how many of
// its units the learner has finished downloading and how many units it has. Built by the download
// service, never stored.

#include <memory>

#include "app/model/cms/CourseInfo.h"
#include "app/model/cms/CourseStudyRecord.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Object.h"

class CourseDownloadInfo : public pf::Object {
  PF_OBJECT(CourseDownloadInfo, pf::Object)

  std::shared_ptr<CourseInfo> courseInfo;
  std::shared_ptr<CourseStudyRecord> studyRecord;
  int downloadChapterCount = 0;
  int totalCount = 0;

  static void declareProperties(pf::ClassBuilder<CourseDownloadInfo>& b) {
    PF_PROPERTY(b, courseInfo);
    PF_PROPERTY(b, studyRecord);
    PF_PROPERTY(b, downloadChapterCount);
    PF_PROPERTY(b, totalCount);
  }
};
