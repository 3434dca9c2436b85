#include "app/model/ems/EmsExam.h"

#include <algorithm>
#include <cmath>

#include "core/util/CommonUtil.h"

std::string EmsExam::durationText() const {
  constexpr char kFormat[] = "yyyy-MM-dd HH:mm";
  return CommonUtil::parseStringResultOfDate(startTime, kFormat).value_or("") + " ~ " +
         CommonUtil::parseStringResultOfDate(endTime, kFormat).value_or("");
}

float EmsExam::displayUserScore() const {
  if (useRawScore) return userExamScore;
  if (totalScore == 0) return 0;
  const float percent = userExamScore * 100.0f / totalScore;
  return std::min(std::trunc(percent), 100.0f);
}

float EmsExam::passScore() const {
  return useRawScore ? totalScore * passRate / 100.0f : passRate;
}

void EmsExam::declareProperties(pf::ClassBuilder<EmsExam>& b) {
  PF_PROPERTY(b, examId);
  PF_PROPERTY(b, userId);
  PF_PROPERTY(b, examName);
  PF_PROPERTY(b, comments);
  PF_PROPERTY(b, sponsor);
  PF_PROPERTY(b, credit);
  PF_PROPERTY(b, startTime);
  PF_PROPERTY(b, endTime);
  PF_PROPERTY(b, maxCostTime);
  PF_PROPERTY(b, score);
  PF_PROPERTY(b, status);
  PF_PROPERTY(b, autoJudge);
  PF_PROPERTY(b, autoRejoin);
  PF_PROPERTY(b, remainJoinCount);
  PF_PROPERTY(b, useRawScore);
  PF_PROPERTY(b, passRate);
  PF_PROPERTY(b, totalScore);
  PF_PROPERTY(b, userExamScore);
  PF_PROPERTY(b, maxIdleTime);
  PF_PROPERTY(b, allowViewOldAnswer);
  PF_PROPERTY(b, paper);
  PF_PROPERTY(b, takeLimit);
  PF_PROPERTY(b, examCount);
  PF_PROPERTY(b, showResult);
  PF_PROPERTY(b, showResultType);
  PF_PROPERTY(b, statusText);
}
