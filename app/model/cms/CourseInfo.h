#pragma once
// A course of the catalogue, as the server sends it and as table course_info keeps it (key id). The
// course row is shared by every user of the device; what a user did with it lives in
// CourseStudyRecord. Study times are milliseconds; courseStandard decides the progress rules
// (CourseStandard.h).

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/model/cms/Teacher.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Object.h"

class CourseInfo : public pf::Object {
  PF_OBJECT(CourseInfo, pf::Object)

  std::optional<std::string> id;
  std::optional<std::string> categoryId;
  std::optional<std::string> categoryName;
  std::optional<std::string> courseCode;
  std::optional<std::string> courseTitle;
  std::optional<std::string> courseType;
  // Study hours.
  double coursePeriod = 0;
  std::optional<std::string> accessUrl;
  std::optional<std::string> language;
  // Credit.
  double score = 0;
  double defaultScore = 0;
  // Minimum study time of the whole course (ms): drives the package rule.
  double minStudyTime = 0;
  // The condition for obtaining the credit.
  std::optional<std::string> stepToGetScore;
  std::optional<pf::Date> releaseDate;
  double cost = 0;
  double price = 0;
  bool online = false;
  // Lecturer name(s) as one text.
  std::optional<std::string> teacher;
  std::optional<std::string> courseSource;
  // JSON only: every call answering courses registers Teacher as its element type.
  std::vector<std::shared_ptr<Teacher>> teacherList;
  float avgPoint = 0;
  int commentCount = 0;
  std::optional<std::string> corpCode;
  std::optional<std::string> coverPath;
  std::optional<std::string> tagName;
  // Discussion allowed.
  bool openDsc = false;
  std::optional<std::string> courseStandard;
  // The brief.
  std::optional<std::string> objectives;
  std::optional<std::string> outline;
  std::optional<std::string> orientObj;
  std::optional<std::string> meaning;
  std::optional<std::string> teacherIntroduction;
  // The course's own video, for single-video courses.
  std::optional<std::string> videoUrl;

  static void declareProperties(pf::ClassBuilder<CourseInfo>& b);
};
