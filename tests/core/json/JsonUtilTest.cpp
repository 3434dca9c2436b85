#include "core/json/JsonUtil.h"

#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include "core/json/JsonExtension.h"
#include "core/reflect/ReflectionUtil.h"
#include "platform/runtime/ClassBuilder.h"

namespace {

class JsonLesson : public pf::Object {
  PF_OBJECT(JsonLesson, pf::Object)
  std::optional<std::string> title;
  int minutes = 0;
  static void declareProperties(pf::ClassBuilder<JsonLesson>& b) {
    PF_PROPERTY(b, title);
    PF_PROPERTY(b, minutes);
  }
};

class JsonCourse : public pf::Object {
  PF_OBJECT(JsonCourse, pf::Object)
  std::optional<std::string> name;
  bool required = false;
  int hours = 0;
  long long size = 0;
  double rate = 0;
  std::optional<pf::Date> created;
  std::optional<pf::Number> score;
  std::vector<std::shared_ptr<JsonLesson>> lessons;
  std::vector<std::string> tags;
  pf::ArrayPtr extraA;
  pf::ArrayPtr extraB;
  std::shared_ptr<JsonLesson> first;
  std::shared_ptr<JsonCourse> next;
  pf::DictionaryPtr meta;
  std::string code = "C-1";

  static void declareProperties(pf::ClassBuilder<JsonCourse>& b) {
    PF_PROPERTY(b, name);
    PF_PROPERTY(b, required);
    PF_PROPERTY(b, hours);
    PF_PROPERTY(b, size);
    PF_PROPERTY(b, rate);
    PF_PROPERTY(b, created);
    PF_PROPERTY(b, score);
    PF_PROPERTY(b, lessons);
    PF_PROPERTY(b, tags);
    PF_PROPERTY(b, extraA);
    PF_PROPERTY(b, extraB);
    PF_PROPERTY(b, first);
    PF_PROPERTY(b, next);
    PF_PROPERTY(b, meta);
    PF_READONLY(b, code);
  }
};

class JsonUtilTest : public testing::Test {
 protected:
  void SetUp() override {
    pf::registerClass<JsonCourse>();
    pf::registerClass<JsonLesson>();
    ReflectionUtil::setArrayType("JsonLesson", "lessons", "JsonCourse");
    ReflectionUtil::setArrayType("NSString", "tags", "JsonCourse");
  }

  static std::string write(const pf::Value& v) { return JsonUtil::jsonStringWithObject(v).value_or("<error>"); }
  static bool hasMember(const std::string& text, const std::string& name, const std::string& value) {
    return std::regex_search(text, std::regex("\"" + name + "\"\\s*:\\s*" + value));
  }
  static std::shared_ptr<JsonCourse> read(const std::string& text) {
    return JsonUtil::objectFromJsonString(text, "JsonCourse").objectAs<JsonCourse>();
  }
};

TEST_F(JsonUtilTest, NestedEntityRoundTrip) {
  auto course = std::make_shared<JsonCourse>();
  course->name = "Safety \"first\"\\\nline two";
  course->required = true;
  course->hours = 12;
  course->size = 9007199254740993LL;
  course->rate = 0.5;
  course->created = pf::Date{1.9999};
  course->score = pf::Number(7.25);
  course->tags = {"a", "中文"};
  for (int i = 0; i < 2; ++i) {
    auto lesson = std::make_shared<JsonLesson>();
    lesson->title = "L" + std::to_string(i);
    lesson->minutes = 30 + i;
    course->lessons.push_back(lesson);
  }
  course->first = course->lessons[0];
  course->meta = pf::makeDictionary({{"k", pf::Value(1)}});

  std::string text = write(pf::Value(course));
  EXPECT_TRUE(hasMember(text, "created", "1999")) << text;
  EXPECT_TRUE(hasMember(text, "required", "true")) << text;
  EXPECT_EQ(text.find("\"code\""), std::string::npos) << "read-only properties are not written";
  EXPECT_EQ(text.find("\"next\""), std::string::npos) << "nil members are left out";

  auto back = read(text);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->name, course->name);
  EXPECT_TRUE(back->required);
  EXPECT_EQ(back->hours, 12);
  EXPECT_EQ(back->size, 9007199254740993LL);
  EXPECT_EQ(back->rate, 0.5);
  EXPECT_DOUBLE_EQ(back->created->seconds, 1.999);
  EXPECT_EQ(back->score, pf::Number(7.25));
  EXPECT_EQ(back->tags, course->tags);
  ASSERT_EQ(back->lessons.size(), 2u);
  EXPECT_EQ(back->lessons[1]->title, "L1");
  EXPECT_EQ(back->lessons[1]->minutes, 31);
  ASSERT_TRUE(back->first);
  EXPECT_EQ(back->first->title, "L0") << "a shared object is written wherever it appears";
  EXPECT_EQ((*back->meta)["k"], pf::Value(1));
}

TEST_F(JsonUtilTest, TopLevelSingleValues) {
  struct Case {
    pf::Value value;
    const char* json;
  };
  const Case cases[] = {
      {pf::Value("a\"b"), R"("a\"b")"},
      {pf::Value("back\\slash\nline"), R"("back\\slash\nline")"},
      {pf::Value(true), "true"},
      {pf::Value(42), "42"},
      {pf::Value(2.5), "2.5"},
      {pf::Value(pf::Null{}), "null"},
      {pf::Value(pf::Date{1.9999}), "1999"},
  };
  for (const Case& c : cases) EXPECT_EQ(write(c.value), c.json) << c.value.description();
  EXPECT_THROW(write(pf::Value()), pf::ContractViolation);

  const std::tuple<const char*, const char*, pf::Value> reads[] = {
      {"true", "c", pf::Value(true)},
      {"\"true\"", "c", pf::Value(true)},
      {"42", "i", pf::Value(42)},
      {"9007199254740993", "q", pf::Value(9007199254740993LL)},
      {R"("a\"b\\c\nd")", "NSString", pf::Value("a\"b\\c\nd")},
      {R"("plain")", "NSString", pf::Value("plain")},
      {"1500", "NSDate", pf::Value(pf::Date{1.5})},
      {"0", "NSDate", pf::Value()},
      {"\"1500\"", "NSDate", pf::Value()},
  };
  for (const auto& [text, type, expected] : reads) EXPECT_EQ(JsonUtil::objectFromJsonString(text, type), expected) << text;
}

TEST_F(JsonUtilTest, ReadingIgnoresUnknownMembersAndKeepsValuesOnNull) {
  auto course = read(R"({"name": null, "hours": null, "rate": 2, "unknown": 1, "code": "X", "first": null})");
  ASSERT_TRUE(course);
  EXPECT_FALSE(course->name);
  EXPECT_EQ(course->hours, 0);
  EXPECT_EQ(course->rate, 2.0);
  EXPECT_EQ(course->code, "C-1") << "read-only";
  EXPECT_TRUE(JsonUtil::objectFromJsonString("null", "JsonCourse").isNil());

  pf::Value list = JsonUtil::objectFromJsonString(R"([{"hours": 1}, {"hours": 2}])", "JsonCourse");
  ASSERT_TRUE(list.isArray());
  ASSERT_EQ(list.array()->size(), 2u);
  EXPECT_EQ((*list.array())[1].objectAs<JsonCourse>()->hours, 2);
}

// A service that asks for a plain dictionary or list and gets the other shape (or a single value) has a
// wrong answer: an error, never a class of that name to map it to.
TEST_F(JsonUtilTest, PlainContainersOfTheWrongShapeAreErrors) {
  struct Case {
    const char* type;
    const char* text;
    const char* held;  // nullptr: read as it is
  };
  const Case cases[] = {
      {"NSDictionary", R"({"a": [1]})", nullptr},
      {"NSArray", R"([{"a": 1}, 2])", nullptr},
      {"NSDictionary", R"([{"a": 1}])", "a list"},
      {"NSDictionary", "[1, 2]", "a list"},
      {"NSArray", R"({"a": 1})", "an object"},
      {"NSArray", "5", "a single value"},
  };
  for (const Case& c : cases) {
    pf::ErrorPtr error;
    const pf::Value value = JsonUtil::objectFromJsonString(c.text, c.type, &error);
    if (!c.held) {
      EXPECT_FALSE(value.isNil()) << c.type << " " << c.text;
      EXPECT_FALSE(error) << c.type << " " << c.text;
      continue;
    }
    EXPECT_TRUE(value.isNil()) << c.type << " " << c.text;
    ASSERT_TRUE(error) << c.type << " " << c.text;
    EXPECT_EQ(error->code(), 3840);
    EXPECT_NE(error->description().find(std::string("holds ") + c.held + ", not a " + c.type), std::string::npos)
        << error->description();
  }
}

TEST_F(JsonUtilTest, ErrorsAndContractFaults) {
  pf::ErrorPtr error;
  EXPECT_TRUE(JsonUtil::objectFromJsonString("{bad", "JsonCourse", &error).isNil());
  ASSERT_TRUE(error);
  EXPECT_EQ(error->domain(), "NSCocoaErrorDomain");

  try {
    JsonUtil::objectFromJsonString("{}", "NoSuchClass");
    ADD_FAILURE();
  } catch (const pf::ContractViolation& e) {
    EXPECT_STREQ(e.what(), "Can not parse json data to invalid className: NoSuchClass ");
  }

  std::string message;
  std::thread([&] {
    try {
      JsonUtil::objectFromJsonString(R"({"lessons": []})", "JsonCourse");
    } catch (const pf::ContractViolation& e) {
      message = e.what();
    }
  }).join();
  EXPECT_EQ(message, "You must set array type name for prop named lessons of class JsonCourse!");
}

// A list is mapped as it is read; elements that are not objects are skipped, and a list broken part way
// gives no half result.
TEST_F(JsonUtilTest, ListsMapElementByElement) {
  const pf::Value list = JsonUtil::objectFromJsonString(
      R"(  [{"name": "a"}, 5, {"name": "b", "lessons": [{"title": "t", "minutes": 3}]}, null])", "JsonCourse");
  ASSERT_TRUE(list.isArray());
  ASSERT_EQ(list.array()->size(), 2u);
  EXPECT_EQ(list.array()->at(0).objectAs<JsonCourse>()->name, "a");
  const auto second = list.array()->at(1).objectAs<JsonCourse>();
  EXPECT_EQ(second->name, "b");
  ASSERT_EQ(second->lessons.size(), 1u);
  EXPECT_EQ(second->lessons[0]->minutes, 3);

  pf::ErrorPtr error;
  EXPECT_TRUE(JsonUtil::objectFromJsonString(R"([{"name": "a"}, {"name" "b"}])", "JsonCourse", &error).isNil());
  ASSERT_TRUE(error);
  EXPECT_EQ(error->domain(), "NSCocoaErrorDomain");
}

TEST_F(JsonUtilTest, EqualContainersAreAllWrittenAndCyclesEnd) {
  auto course = std::make_shared<JsonCourse>();
  course->extraA = pf::makeArray();
  course->extraB = pf::makeArray();
  course->next = course;  // a cycle through the object itself
  std::string text = write(pf::Value(course));
  EXPECT_NE(text.find("\"extraA\""), std::string::npos) << text;
  EXPECT_NE(text.find("\"extraB\""), std::string::npos) << text;
  EXPECT_EQ(text.find("\"next\""), std::string::npos) << "the cycle is cut";
  course->next.reset();

  pf::Value mixed(pf::Array{pf::Value(1), pf::Value("two"), pf::Value(true), pf::Value(pf::Date{2})});
  std::string mixedText = write(mixed);
  EXPECT_TRUE(std::regex_search(mixedText, std::regex(R"(\[\s*1,\s*"two",\s*true,\s*2000\s*\])"))) << mixedText;
}

TEST(JsonExtensionTest, StringBetween) {
  EXPECT_EQ(JsonExtension::stringBetweenString("a[b]c", "[", "]"), "b");
  EXPECT_EQ(JsonExtension::stringBetweenString("a[bc", "[", "]"), "a[bc");
  EXPECT_EQ(JsonExtension::stringBetweenString("abc", "[", "]"), "abc");
}

}  // namespace
