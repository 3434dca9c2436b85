#pragma once
// One unit of a course (table course_sco, key sco_id): a chapter heading or a playable video or
// lecture. Unit rows are shared by every user of the device. showOrder is text ("1", "2.5", "1.0")
// and always compared as a number.

#include <optional>
#include <string>

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Object.h"

class CourseSco : public pf::Object {
  PF_OBJECT(CourseSco, pf::Object)

  std::optional<std::string> courseId;
  std::optional<std::string> scoId;
  // Display name; renumbered when the units are stored.
  std::optional<std::string> scoName;
  // A chapter heading, not playable.
  bool isChapter = false;
  std::optional<std::string> showOrder;
  std::optional<std::string> videoUrl;
  std::optional<std::string> lectureUrl;
  // The server's lecture value (JSON only).
  std::optional<std::string> lecture;
  // Minimum study time of the unit (ms).
  long long minStudyTime = 0;

  // By the integer part of showOrder, smaller first: -1, 0 or 1. "2" and "2.5" compare the same, which
  // the renumbering relies on; orderings users see sort by the whole number instead.
  int compare(const CourseSco& other) const;

  static void declareProperties(pf::ClassBuilder<CourseSco>& b);
};
