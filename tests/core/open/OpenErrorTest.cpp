// The error model shared by services and screens, and the parameter texts of remote calls.

#include "core/open/OpenError.h"

#include <gtest/gtest.h>

#include "core/open/OpenExtension.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/JsonSerialization.h"
#include "platform/runtime/ClassBuilder.h"

namespace {

TEST(OpenErrorTest, AnErrorWithoutRecordsHasNone) {
  const pf::Error platformError("NSCocoaErrorDomain", 3840);
  EXPECT_TRUE(OpenError::errorInfos(platformError).empty());
  EXPECT_EQ(OpenError::firstOrDefaultErrorInfo(platformError), nullptr);
  EXPECT_TRUE(OpenError::errorInfos(*OpenError::errorWithDomain(kOpenErrorDomain, 1, nullptr)).empty());
}

TEST(OpenErrorTest, RecordsTravelInTheUserInfoInOrder) {
  const auto first = ErrorInfo::errorInfoWithErrorCode("a.one", "一", "d1");
  const auto second = ErrorInfo::errorInfoWithErrorCode("a.two", std::nullopt, std::nullopt);
  const pf::ErrorPtr error = OpenError::errorWithDomain(kOpenErrorDomain, 5, {first, second});
  EXPECT_EQ(error->userInfo().size(), 1u);
  EXPECT_TRUE(error->userInfo().contains("OPEN_ERRORS"));
  EXPECT_EQ(OpenError::errorInfos(*error), (OpenError::ErrorInfos{first, second}));
  EXPECT_EQ(OpenError::firstOrDefaultErrorInfo(*error), first);
}

TEST(OpenErrorTest, AServiceErrorCarriesTheMessageAsCause) {
  const pf::ErrorPtr error = OpenError::serviceErrorWithMsg("登录失败!");
  EXPECT_EQ(error->domain(), "ErrorDomainService");
  EXPECT_EQ(error->code(), 100);
  const auto info = OpenError::firstOrDefaultErrorInfo(*error);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->errorCode, "error.service");
  EXPECT_EQ(info->cause, "登录失败!");
  EXPECT_FALSE(info->hasDescription());
}

TEST(OpenErrorTest, ARecordPrintsAsItsDescription) {
  const auto info = ErrorInfo::errorInfoWithErrorCode("k", "c", "the detail");
  EXPECT_EQ(pf::format("error: %@", pf::Value(info)), "error: the detail");
}

class OpenValueLesson : public pf::Object {
  PF_OBJECT(OpenValueLesson, pf::Object)
  std::optional<std::string> title;
  bool required = false;
  static void declareProperties(pf::ClassBuilder<OpenValueLesson>& b) {
    PF_PROPERTY(b, title);
    PF_PROPERTY(b, required);
  }
};

TEST(OpenValueTest, EveryArgumentBecomesJsonText) {
  auto lesson = std::make_shared<OpenValueLesson>();
  lesson->title = "t";
  lesson->required = true;
  struct Case {
    const char* name;
    pf::Value value;
    std::string text;
  };
  const Case cases[] = {
      {"text", pf::Value("abc"), "\"abc\""},
      {"text with quote, backslash, line break", pf::Value("a\"b\\c\nd"), "\"a\\\"b\\\\c\\nd\""},
      {"text outside ASCII", pf::Value("课程"), "\"课程\""},
      {"number", pf::Value(42), "42"},
      {"real", pf::Value(2.5), "2.5"},
      {"boolean", pf::Value(true), "true"},
      {"date", pf::Value(pf::Date{1.5}), "1500"},
      {"nil", pf::Value(), "null"},
      {"null", pf::Value(pf::Null{}), "null"},
      {"list", pf::Value(pf::Array{"x"}), "[\n  \"x\"\n]"},
      {"entity", pf::Value(lesson), "{\n  \"required\" : true,\n  \"title\" : \"t\"\n}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string text = openValue(c.value);
    EXPECT_EQ(text, c.text);
    pf::ErrorPtr error;
    pf::JsonSerialization::JSONObjectWithString(text, pf::JsonSerialization::ReadingAllowFragments, &error);
    EXPECT_FALSE(error) << "the server reads every parameter as JSON";
  }
}

}  // namespace
