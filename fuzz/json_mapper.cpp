// The JSON mapper: answer text read into the type a service names (the exam entities with their
// nested lists, or a scalar type), written back as JSON and read again; dates written as the screens
// write them. Input: one byte choosing the
// type, then the JSON text.

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>

#include "app/model/ems/EmsClasses.h"
#include "app/model/ems/EmsExam.h"
#include "app/model/ems/EmsPaper.h"
#include "app/model/ems/EmsQuestion.h"
#include "core/json/JsonUtil.h"
#include "core/reflect/ReflectionUtil.h"
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
  if (size == 0) return 0;
  // Element types live per thread, as each service registers them before it decodes.
  ReflectionUtil::setArrayType("EmsQuestion", "questions", "EmsPaper");
  ReflectionUtil::setArrayType("EmsQuestionItem", "items", "EmsQuestion");
  ReflectionUtil::setArrayType("EmsAttachment", "attachments", "EmsQuestion");
  const std::string type = kTypes[bytes[0] % std::size(kTypes)];
  const std::string_view text(reinterpret_cast<const char*>(bytes + 1), size - 1);

  pf::ErrorPtr error;
  const pf::Value value = JsonUtil::objectFromJsonText(text, type, &error);
  if (value.isNil()) return 0;
  (void)JsonUtil::typeNameForObject(value);
  if (const pf::Date* date = value.date()) (void)pf::DateFormatter("yyyy-MM-dd HH:mm").stringFromDate(*date);
  if (auto exam = value.objectAs<EmsExam>()) {
    for (const auto& time : {exam->startTime, exam->endTime}) {
      if (time) (void)pf::DateFormatter("yyyy-MM-dd HH:mm").stringFromDate(*time);
    }
  }
  const std::optional<std::string> written = JsonUtil::jsonStringWithObject(value, &error);
  if (!written) return 0;
  // What the mapper wrote it must read.
  const pf::Value again = JsonUtil::objectFromJsonString(*written, type, &error);
  if (again.isNil() && !value.isNull()) {
    std::fprintf(stderr, "written JSON does not read again as %s:\n%s\n", type.c_str(), written->c_str());
    std::abort();
  }
  return 0;
}
