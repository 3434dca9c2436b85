#pragma once
// A unit as the course screens show it: the unit joined with the current user's record of it (zero
// or empty when the user never opened it) and whether the user has a download of it. Read from
// queries only, never stored as such.

#include <optional>
#include <string>

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Object.h"

class ScoViewInfo : public pf::Object {
  PF_OBJECT(ScoViewInfo, pf::Object)

  // From the unit.
  std::optional<std::string> courseId;
  std::optional<std::string> scoId;
  std::optional<std::string> scoName;
  bool isChapter = false;
  std::optional<std::string> showOrder;
  std::optional<std::string> videoUrl;
  std::optional<std::string> lectureUrl;
  long long minStudyTime = 0;
  // From the user's unit record.
  std::optional<std::string> userId;
  int currentPosition = 0;
  bool studyComplete = false;
  std::optional<pf::Date> lastStudyTime;
  int totalTime = 0;
  float studyRate = 0;
  // A download record of the unit exists for the user.
  bool hasDownload = false;

  static void declareProperties(pf::ClassBuilder<ScoViewInfo>& b);
};
