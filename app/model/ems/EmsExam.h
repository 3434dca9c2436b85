#pragma once
// One exam assigned to the learner: its window, its rules of marking and retaking, the learner's
// result, and the paper being taken or looked at. Exams are not stored on the device.

#include <memory>
#include <optional>
#include <string>

#include "app/model/cmn/BaseDomain.h"
#include "app/model/ems/EmsPaper.h"

class EmsExam : public BaseDomain {
  PF_OBJECT(EmsExam, BaseDomain)

  static constexpr char kUnjoined[] = "unjoined";
  static constexpr char kJoinUnsubmit[] = "join_unsubmit";
  static constexpr char kPassed[] = "passed";
  static constexpr char kUnpassed[] = "unpassed";
  static constexpr char kUnjudged[] = "unjudged";
  // The result is computed on the device at submission.
  static constexpr char kResultOnDevice[] = "AUTO";

  std::optional<std::string> examId;
  std::optional<std::string> userId;
  std::optional<std::string> examName;
  std::optional<std::string> comments;
  std::optional<std::string> sponsor;
  float credit = 0;
  std::optional<pf::Date> startTime;
  std::optional<pf::Date> endTime;
  // Minutes for one attempt.
  int maxCostTime = 0;
  float score = 0;
  std::optional<std::string> status;
  bool autoJudge = false;
  bool autoRejoin = false;
  int remainJoinCount = 0;
  bool useRawScore = false;
  // Percent of the total score.
  float passRate = 0;
  float totalScore = 0;
  float userExamScore = 0;
  int maxIdleTime = 0;
  // "allowAll", "showRight", "noRight" or "no".
  std::optional<std::string> allowViewOldAnswer;
  std::shared_ptr<EmsPaper> paper;
  int takeLimit = 0;
  // 2 or more: the current attempt is a retake.
  int examCount = 0;
  bool showResult = false;
  std::optional<std::string> showResultType;
  std::optional<std::string> statusText;

  // "start ~ end", each "yyyy-MM-dd HH:mm" in the device's time zone; a missing date reads empty.
  std::string durationText() const;
  // Points with raw scores, else a whole percentage of the total, at most 100.
  float displayUserScore() const;
  float passScore() const;

  static void declareProperties(pf::ClassBuilder<EmsExam>& b);
};
