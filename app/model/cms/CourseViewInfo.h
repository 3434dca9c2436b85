#pragma once
// A course as the course screens show it: the course joined with the current user's record of it
// and its units in display order. Read from queries or built from a CourseInfo, never stored as such.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/model/cms/ScoViewInfo.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Object.h"

class CourseViewInfo : public pf::Object {
  PF_OBJECT(CourseViewInfo, pf::Object)

  // From the course (CourseInfo).
  std::optional<std::string> id;
  std::optional<std::string> categoryName;
  std::optional<std::string> courseTitle;
  double coursePeriod = 0;
  double score = 0;
  std::optional<std::string> stepToGetScore;
  std::optional<std::string> teacher;
  float avgPoint = 0;
  std::optional<std::string> coverPath;
  bool openDsc = false;
  std::optional<std::string> courseStandard;
  std::optional<std::string> objectives;
  std::optional<std::string> outline;
  std::optional<std::string> orientObj;
  std::optional<std::string> meaning;
  std::optional<std::string> teacherIntroduction;
  std::optional<std::string> videoUrl;
  std::optional<std::string> tagName;
  float minStudyTime = 0;
  // From the user's course record (CourseStudyRecord).
  float studyRate = 0;
  std::optional<pf::Date> lastStudyTime;
  float studyTime = 0;
  std::optional<std::string> userId;
  std::optional<pf::Date> lastModifyTime;
  std::optional<std::string> courseStudyType;
  std::optional<std::string> obtainedWay;
  // The current user has a record of this course.
  bool selected = false;
  // The units in display order.
  std::vector<std::shared_ptr<ScoViewInfo>> scoInfoList;

  static void declareProperties(pf::ClassBuilder<CourseViewInfo>& b);
};
