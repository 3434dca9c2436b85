// Survey answers from the server: the survey list's answer mapped into surveys with their questions,
// options and replies (the element types the survey service names), each question asked what the
// answering screens ask, written back as JSON and read again. Input: one byte choosing the type the
// answer is read as, then the JSON text.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>

#include "app/model/cmn/SyncResult.h"
#include "app/model/qsm/QsmClasses.h"
#include "app/model/qsm/QsmSurvey.h"
#include "core/json/JsonUtil.h"
#include "core/reflect/ReflectionUtil.h"

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
  if (size == 0) return 0;
  ReflectionUtil::setArrayType(QsmSurvey::kClassName, "results", SyncResult::kClassName);
  ReflectionUtil::setArrayType(QsmQuestion::kClassName, "questions", QsmSurvey::kClassName);
  ReflectionUtil::setArrayType(QsmSurveyReply::kClassName, "replyList", QsmSurvey::kClassName);
  ReflectionUtil::setArrayType(QsmUserAnswer::kClassName, "userAnswers", QsmSurvey::kClassName);
  ReflectionUtil::setArrayType(QsmQuestionOption::kClassName, "items", QsmQuestion::kClassName);
  const std::string type = kSurveyAnswerTypes[bytes[0] % std::size(kSurveyAnswerTypes)];
  const std::string_view text(reinterpret_cast<const char*>(bytes + 1), size - 1);

  pf::ErrorPtr error;
  const pf::Value value = JsonUtil::objectFromJsonText(text, type, &error);
  if (value.isNil()) return 0;
  surveyAnswerAsk(value);
  const std::optional<std::string> written = JsonUtil::jsonStringWithObject(value, &error);
  if (!written) return 0;
  const pf::Value again = JsonUtil::objectFromJsonString(*written, type, &error);
  if (again.isNil() && !value.isNull()) {
    std::fprintf(stderr, "written JSON does not read again as %s:\n%s\n", type.c_str(), written->c_str());
    std::abort();
  }
  return 0;
}
