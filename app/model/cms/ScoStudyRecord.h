#pragma once
// One user's progress on one unit (table sco_study_record, key sid). Positions and lengths are
// milliseconds, the rate a percentage 0 to 100.

#include <optional>
#include <string>

#include "app/model/cmn/BaseDomain.h"

class ScoStudyRecord : public BaseDomain {
  PF_OBJECT(ScoStudyRecord, BaseDomain)

  std::optional<std::string> scoId;
  std::optional<std::string> courseId;
  std::optional<std::string> userId;
  // Playback position reached.
  int currentPosition = 0;
  bool studyComplete = false;
  std::optional<pf::Date> lastStudyTime;
  // Length of the unit's media.
  int totalTime = 0;
  float studyRate = 0;

  static void declareProperties(pf::ClassBuilder<ScoStudyRecord>& b);
};
