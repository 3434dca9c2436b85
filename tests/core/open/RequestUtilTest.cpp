// The answer side of a remote call: decoding into the declared type, the "hasException" header, and
// every failure mapped to its code, record key and text.

#include "core/open/RequestUtil.h"

#include <gtest/gtest.h>

#include "core/open/OpenError.h"
#include "core/reflect/ReflectionUtil.h"
#include "platform/runtime/ClassBuilder.h"
#include "tests/core/open/OpenClientFixture.h"

namespace {

class OpenTestCourse : public pf::Object {
  PF_OBJECT(OpenTestCourse, pf::Object)
  std::optional<std::string> courseId;
  int hours = 0;
  std::vector<std::string> tags;
  static void declareProperties(pf::ClassBuilder<OpenTestCourse>& b) {
    PF_PROPERTY(b, courseId);
    PF_PROPERTY(b, hours);
    PF_PROPERTY(b, tags);
  }
};

// A list property whose element type no caller registers.
class OpenTestShelf : public pf::Object {
  PF_OBJECT(OpenTestShelf, pf::Object)
  std::optional<std::string> shelfId;
  std::vector<std::string> labels;
  static void declareProperties(pf::ClassBuilder<OpenTestShelf>& b) {
    PF_PROPERTY(b, shelfId);
    PF_PROPERTY(b, labels);
  }
};

class RequestUtilTest : public OpenClientFixture {
 protected:
  void SetUp() override {
    OpenClientFixture::SetUp();
    pf::registerClass<OpenTestCourse>();
    pf::registerClass<OpenTestShelf>();
    ReflectionUtil::setArrayType("NSString", "tags", "OpenTestCourse");
  }

  pf::Value call(const FakeTransport::Answer& answer, const std::string& returnType = "NSString") {
    transport->answerAll(answer);
    error = nullptr;
    return RequestUtil::performRemoteMethod(kSync, pf::Data{'{', '}'}, returnType, &error);
  }

  pf::ErrorPtr error;
};

TEST_F(RequestUtilTest, AnswersDecodeIntoTheDeclaredType) {
  const pf::Value course =
      call(FakeTransport::ok(R"({"courseId": "c-1", "hours": 3, "tags": ["a"], "x": 1})"), "OpenTestCourse");
  ASSERT_TRUE(course.objectAs<OpenTestCourse>());
  EXPECT_EQ(course.objectAs<OpenTestCourse>()->courseId, "c-1");
  EXPECT_EQ(course.objectAs<OpenTestCourse>()->hours, 3);
  EXPECT_EQ(course.objectAs<OpenTestCourse>()->tags, std::vector<std::string>{"a"});

  const pf::Value list =
      call(FakeTransport::ok(R"([{"courseId": "c-1"}, {"courseId": "c-2"}])"), "OpenTestCourse");
  ASSERT_TRUE(list.isArray());
  ASSERT_EQ(list.array()->size(), 2u);
  EXPECT_EQ(list.array()->at(1).objectAs<OpenTestCourse>()->courseId, "c-2");

  EXPECT_EQ(call(FakeTransport::ok("\"S-1\"")), pf::Value("S-1"));
  EXPECT_TRUE(call(FakeTransport::ok("null"), "OpenTestCourse").isNil());
  EXPECT_FALSE(error);
}

TEST_F(RequestUtilTest, OnlyATrueHasExceptionHeaderMarksServerErrors) {
  const char* records = R"([{"errorCode": "open.session.expired", "cause": "会话过期", "description": "d"}])";
  struct Case {
    std::optional<std::string> header;
    bool isServerError;
  };
  const Case cases[] = {{"true", true},   {" T", true}, {"1", true},          {"yes", true},
                        {"false", false}, {"0", false}, {std::nullopt, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.header.value_or("(absent)"));
    RemoteTransport::Headers headers;
    if (c.header) headers.emplace_back("hasException", *c.header);
    const pf::Value answer = call(FakeTransport::answer(200, records, headers), "NSArray");
    if (!c.isServerError) {
      EXPECT_TRUE(answer.isArray());
      EXPECT_FALSE(error);
      continue;
    }
    EXPECT_TRUE(answer.isNil());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), kOpenErrorDomain);
    EXPECT_EQ(error->code(), kOpenServerErrorCode);
    const auto info = OpenError::firstOrDefaultErrorInfo(*error);
    EXPECT_EQ(info->errorCode, "open.session.expired");
    EXPECT_EQ(info->cause, "会话过期");
    EXPECT_EQ(info->description(), "d");
  }
  call(FakeTransport::answer(200, records, {{"HASEXCEPTION", "true"}}), "NSArray");
  EXPECT_TRUE(error) << "header names match without regard to case";
}

TEST_F(RequestUtilTest, AnInternalServerErrorShowsAFixedTextAndKeepsTheServersAsDetail) {
  call(FakeTransport::serverErrors(
      R"([{"errorCode": "open.system.error", "cause": "NullPointerException at 42"},
                                        {"errorCode": "open.param.error", "cause": "缺少参数", "description": "d"}])"));
  const auto infos = OpenError::errorInfos(*error);
  ASSERT_EQ(infos.size(), 2u);
  EXPECT_EQ(infos[0]->errorCode, "open.system.error");
  EXPECT_EQ(infos[0]->cause, "服务内部出错！");
  EXPECT_EQ(infos[0]->description(), "NullPointerException at 42");
  EXPECT_EQ(infos[1]->cause, "缺少参数");
  EXPECT_EQ(infos[1]->description(), "d");
}

TEST_F(RequestUtilTest, AServerErrorWithoutReadableRecordsStillFailsWithOneRecord) {
  for (const char* body : {"not json", "[]", "\"text\""}) {
    SCOPED_TRACE(body);
    EXPECT_TRUE(call(FakeTransport::serverErrors(body)).isNil());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), kOpenServerErrorCode);
    const auto infos = OpenError::errorInfos(*error);
    ASSERT_EQ(infos.size(), 1u);
    EXPECT_EQ(infos[0]->errorCode, "error.jsonParseError");
    EXPECT_EQ(infos[0]->description(), body);
  }
}

TEST_F(RequestUtilTest, FailuresMapToTheirCodesKeysAndTexts) {
  struct Case {
    const char* name;
    FakeTransport::Answer answer;
    const char* returnType;
    long code;
    std::optional<std::string> errorCode;
    std::optional<std::string> cause;
    std::string descriptionPart;
  };
  using Code = HttpRequestErrorCode;
  const Case cases[] = {
      {"refused connection", FakeTransport::failure(Code::ConnectionFailure, "A connection failure occurred"),
       "NSString", 1, "error.networkStatusError", "当前网络不可用！", "A connection failure occurred"},
      {"stall", FakeTransport::failure(Code::TimedOut, "The request timed out"), "NSString", 2,
       "error.requestTimeoutError", "网络请求超时！", "The request timed out"},
      {"cancelled", FakeTransport::failure(Code::Cancelled, "The request was cancelled"), "NSString", 4,
       std::nullopt, std::nullopt, "The request was cancelled"},
      {"status 500", FakeTransport::answer(500, "{}"), "NSString", 3, "error.responseStatusCodeError",
       "服务器响应错误！", "500 : HTTP/1.1 500 Internal Server Error"},
      {"bad JSON", FakeTransport::ok("{\"courseId\": "), "OpenTestCourse", 3, "error.jsonParseError",
       "请求数据出错！", ""},
      // The answer decides whether the list is there: an unregistered element type is an unreadable
      // answer, not a fault thrown out of the call.
      {"list of an unregistered type", FakeTransport::ok(R"({"shelfId": "s", "labels": ["x"]})"), "OpenTestShelf", 3,
       "error.jsonParseError", "请求数据出错！", "array type"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(call(c.answer, c.returnType).isNil());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), kOpenErrorDomain);
    EXPECT_EQ(error->code(), c.code);
    const auto infos = OpenError::errorInfos(*error);
    ASSERT_EQ(infos.size(), 1u);
    EXPECT_EQ(infos[0]->errorCode, c.errorCode);
    EXPECT_EQ(infos[0]->cause, c.cause);
    EXPECT_TRUE(infos[0]->hasDescription());
    EXPECT_NE(infos[0]->description().find(c.descriptionPart), std::string::npos) << infos[0]->description();
  }
}

}  // namespace
