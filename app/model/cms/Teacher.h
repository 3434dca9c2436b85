#pragma once
// One lecturer of a course as the server lists it; travels in JSON only (CourseInfo::teacherList).

#include <optional>
#include <string>

#include "app/model/cmn/BaseDomain.h"

class Teacher : public BaseDomain {
  PF_OBJECT(Teacher, BaseDomain)

  std::optional<std::string> teacherName;
  std::optional<std::string> teacherSource;

  static void declareProperties(pf::ClassBuilder<Teacher>& b);
};
