// Exam entities as the server sends them: nested papers, questions, options and pictures, dates in
// milliseconds and flags as booleans.

#include <gtest/gtest.h>

#include "app/model/AppClasses.h"
#include "app/model/ems/EmsExam.h"
#include "core/json/JsonUtil.h"
#include "core/reflect/ReflectionUtil.h"

namespace {

TEST(EmsJsonTest, ReadsAnExamWithItsPaper) {
  registerAppClasses();
  ReflectionUtil::setArrayType("EmsQuestion", "questions", "EmsPaper");
  ReflectionUtil::setArrayType("EmsQuestionItem", "items", "EmsQuestion");
  ReflectionUtil::setArrayType("EmsAttachment", "attachments", "EmsQuestion");
  const auto exam = JsonUtil::objectFromJsonString(R"({
      "examId": "E1", "examName": "安全", "credit": 2.5, "startTime": 1700000000000, "endTime": 0,
      "autoJudge": true, "remainJoinCount": 2, "passRate": 60, "allowViewOldAnswer": "showRight",
      "showResultType": "AUTO",
      "paper": {"paperId": "P1", "firstJoinTime": 1700000001500, "questions": [
        {"questionId": "Q1", "type": "MULTIPLE", "score": 5, "answer": "a``b``", "passed": false,
         "items": [{"itemId": "a", "showOrder": 1, "content": "A"}, {"itemId": "b", "showOrder": 2}],
         "attachments": [{"id": "F1", "url": "http://pics/1.png", "objectId": "a", "objectType": "OPTION"}]}
      ]}})",
                                                   "EmsExam")
                        .objectAs<EmsExam>();
  ASSERT_TRUE(exam);
  EXPECT_EQ(exam->examName, "安全");
  EXPECT_FLOAT_EQ(exam->credit, 2.5f);
  ASSERT_TRUE(exam->startTime);
  EXPECT_DOUBLE_EQ(exam->startTime->seconds, 1700000000);
  EXPECT_FALSE(exam->endTime) << "0 is no date";
  EXPECT_TRUE(exam->autoJudge);
  EXPECT_EQ(exam->remainJoinCount, 2);
  ASSERT_TRUE(exam->paper);
  EXPECT_DOUBLE_EQ(exam->paper->firstJoinTime->seconds, 1700000001.5);
  ASSERT_EQ(exam->paper->questions.size(), 1u);
  const auto& question = *exam->paper->questions[0];
  EXPECT_EQ(question.answer, "a``b``");
  ASSERT_EQ(question.items.size(), 2u);
  EXPECT_EQ(question.items[1]->itemId, "b");
  EXPECT_TRUE(question.refAttaments.empty());
  ASSERT_EQ(question.attachments.size(), 1u);
  EXPECT_EQ(question.attachments[0]->id, "F1");
  EXPECT_EQ(question.attachments[0]->objectType, "OPTION");
}

}  // namespace
