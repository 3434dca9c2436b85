// Survey answers from the server: the survey list's answer mapped into surveys with their questions,
// options and replies (the element types the survey service names), each question asked what the
// answering screens ask, written back as JSON and read again. Input: one byte choosing the type the
// answer is read as, then the JSON text.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app/model/cmn/SyncResult.h"
#include "app/model/qsm/QsmClasses.h"
#include "app/model/qsm/QsmSurvey.h"
#include "core/reflect/ReflectionUtil.h"
#include "fuzz/support/JsonRoundTrip.h"

namespace {

constexpr const char* kSurveyAnswerTypes[] = {"SyncResult", "QsmSurvey", "QsmQuestion", "QuestionnaireUser"};

void surveyAnswerAsk(const QsmQuestion& question) {
  const auto selected = question.selectedItems();
  const auto first = question.firstOrDefaultSelectedItem();
  if (!selected.empty() && first != selected.front()) {
    std::fprintf(stderr, "the first selected option is not the first of the selection\n");
    std::abort();
  }
  (void)question.lastOptionSelected();
  (void)question.canInputText();
  (void)question.isAnswered();
  (void)question.description();
}

void surveyAnswerAsk(const pf::Value& value) {
  if (auto survey = value.objectAs<QsmSurvey>()) {
    (void)survey->durationText();
    for (const auto& question : survey->questions.value_or(std::vector<std::shared_ptr<QsmQuestion>>{})) {
      if (question) surveyAnswerAsk(*question);
    }
  } else if (auto question = value.objectAs<QsmQuestion>()) {
    surveyAnswerAsk(*question);
  } else if (auto sync = value.objectAs<SyncResult>()) {
    if (sync->results) {
      for (const auto& result : *sync->results) surveyAnswerAsk(result);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  pf::registerClass<SyncResult>();
  registerQsmClasses();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  ReflectionUtil::setArrayType(QsmSurvey::kClassName, "results", SyncResult::kClassName);
  ReflectionUtil::setArrayType(QsmQuestion::kClassName, "questions", QsmSurvey::kClassName);
  ReflectionUtil::setArrayType(QsmSurveyReply::kClassName, "replyList", QsmSurvey::kClassName);
  ReflectionUtil::setArrayType(QsmUserAnswer::kClassName, "userAnswers", QsmSurvey::kClassName);
  ReflectionUtil::setArrayType(QsmQuestionOption::kClassName, "items", QsmQuestion::kClassName);
  return fuzzJsonRoundTrip(bytes, size, kSurveyAnswerTypes,
                           [](const pf::Value& value) { surveyAnswerAsk(value); });
}
