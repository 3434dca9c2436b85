#include "app/model/ems/EmsExam.h"

#include <gtest/gtest.h>

#include "tests/platform/foundation/ScopedTimeZone.h"

namespace {

TEST(EmsExamTest, DisplayedScore) {
  struct Case {
    bool raw;
    float user;
    float total;
    float shown;
  };
  for (const Case& c : {
           Case{false, 45, 60, 75},
           Case{false, 61, 60, 100},
           Case{false, 20, 30, 66},
           Case{false, 5, 0, 0},
           Case{true, 45, 60, 45},
           Case{true, 61, 60, 61},
       }) {
    EmsExam exam;
    exam.useRawScore = c.raw;
    exam.userExamScore = c.user;
    exam.totalScore = c.total;
    EXPECT_EQ(exam.displayUserScore(), c.shown) << c.user << "/" << c.total << (c.raw ? " raw" : "");
  }
}

TEST(EmsExamTest, PassScoreInPointsOrPercent) {
  EmsExam exam;
  exam.totalScore = 80;
  exam.passRate = 60;
  EXPECT_EQ(exam.passScore(), 60);
  exam.useRawScore = true;
  EXPECT_EQ(exam.passScore(), 48);
}

TEST(EmsExamTest, DurationTextInTheDevicesTimeZone) {
  ScopedTimeZone zone("Asia/Shanghai");
  EmsExam exam;
  exam.startTime = pf::Date{1700000000};  // 2023-11-14 22:13:20 UTC
  exam.endTime = pf::Date{1700086400};
  EXPECT_EQ(exam.durationText(), "2023-11-15 06:13 ~ 2023-11-16 06:13");
  exam.endTime.reset();
  EXPECT_EQ(exam.durationText(), "2023-11-15 06:13 ~ ");
}

}  // namespace
