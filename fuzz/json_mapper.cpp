// The JSON mapper: answer text read into the type a service names (the exam entities with their
// nested lists, or a scalar type), written back as JSON and read again; dates written as the screens
// write them. Input: one byte choosing the
// type, then the JSON text.

#include <cstdint>

#include "app/model/ems/EmsClasses.h"
#include "app/model/ems/EmsExam.h"
#include "app/model/ems/EmsPaper.h"
#include "app/model/ems/EmsQuestion.h"
#include "core/json/JsonUtil.h"
#include "core/reflect/ReflectionUtil.h"
#include "fuzz/support/JsonRoundTrip.h"
#include "platform/foundation/DateFormatter.h"

namespace {

constexpr const char* kTypes[] = {"EmsExam", "EmsPaper", "EmsQuestion", "ExamSubmitResult", "EmsUserAnswer",
                                  "NSString", "NSDate",  "NSNumber",    "NSDictionary",     "NSArray",
                                  "c",        "i",       "q",           "f",                "d"};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  registerEmsClasses();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  // Element types live per thread, as each service registers them before it decodes.
  ReflectionUtil::setArrayType("EmsQuestion", "questions", "EmsPaper");
  ReflectionUtil::setArrayType("EmsQuestionItem", "items", "EmsQuestion");
  ReflectionUtil::setArrayType("EmsAttachment", "attachments", "EmsQuestion");
  return fuzzJsonRoundTrip(bytes, size, kTypes, [](const pf::Value& value) {
    (void)JsonUtil::typeNameForObject(value);
    if (const pf::Date* date = value.date())
      (void)pf::DateFormatter("yyyy-MM-dd HH:mm").stringFromDate(*date);
    if (auto exam = value.objectAs<EmsExam>()) {
      for (const auto& time : {exam->startTime, exam->endTime}) {
        if (time) (void)pf::DateFormatter("yyyy-MM-dd HH:mm").stringFromDate(*time);
      }
    }
  });
}
