#include "platform/foundation/JsonSerialization.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace {

using pf::JsonSerialization;

char letterOf(const pf::Value& v) {
  return v.number() ? v.number()->typeLetter() : '?';
}

pf::Value read(std::string_view text, unsigned options = 0, pf::ErrorPtr* error = nullptr) {
  return JsonSerialization::JSONObjectWithString(text, options, error);
}

std::string write(const pf::Value& v, unsigned options = 0) {
  pf::ErrorPtr error;
  std::optional<std::string> text = JsonSerialization::stringWithJSONObject(v, options, &error);
  EXPECT_TRUE(text) << (error ? error->description() : "");
  return text.value_or("");
}

TEST(JsonSerializationTest, ReadsEveryKindWithItsLetter) {
  const pf::Value v = read(R"({"list":[1,-2,2.5,1e2,"x",null,true,false,{}],
                               "big":18446744073709551615,"max":9223372036854775807,
                               "min":-9223372036854775808,"huge":18446744073709551616})");
  ASSERT_TRUE(v.isDictionary());
  const pf::Array& list = *v["list"].array();
  ASSERT_EQ(list.size(), 9u);
  EXPECT_EQ(letterOf(list[0]), 'q');
  EXPECT_EQ(list[1], pf::Value(-2));
  EXPECT_EQ(letterOf(list[2]), 'd');
  EXPECT_EQ(letterOf(list[3]), 'd') << "an exponent makes a real";
  EXPECT_EQ(list[4], pf::Value("x"));
  EXPECT_TRUE(list[5].isNull());
  EXPECT_EQ(letterOf(list[6]), 'c');
  EXPECT_TRUE(list[6].boolValue());
  EXPECT_FALSE(list[7].boolValue());
  EXPECT_TRUE(list[8].isDictionary());
  EXPECT_EQ(letterOf(v["big"]), 'Q');
  EXPECT_EQ(v["big"].unsignedLongLongValue(), ULLONG_MAX);
  EXPECT_EQ(letterOf(v["max"]), 'q');
  EXPECT_EQ(v["min"].longLongValue(), LLONG_MIN);
  EXPECT_EQ(letterOf(v["huge"]), 'd') << "beyond 64 bits only a real can hold it";
}

TEST(JsonSerializationTest, RoundTripKeepsValuesAndLetters) {
  const pf::Value original(pf::Dictionary{
      {"name", "课程 \"one\""},
      {"count", 3LL},
      {"score", 2.0},
      {"rate", 0.1},
      {"big", ULLONG_MAX},
      {"done", true},
      {"none", pf::Null{}},
      {"nested", pf::Array{pf::Array{}, pf::Dictionary{{"k", pf::Array{1LL, 2.5, "s"}}}}},
  });
  for (unsigned options : {0u, unsigned(JsonSerialization::WritingPrettyPrinted)}) {
    pf::ErrorPtr error;
    std::optional<pf::Data> bytes = JsonSerialization::dataWithJSONObject(original, options, &error);
    ASSERT_TRUE(bytes) << error->description();
    const pf::Value back = JsonSerialization::JSONObjectWithData(*bytes, 0, &error);
    EXPECT_EQ(back, original);
    EXPECT_EQ(letterOf(back["count"]), 'q');
    EXPECT_EQ(letterOf(back["score"]), 'd') << "a whole real stays a real";
    EXPECT_EQ(letterOf(back["big"]), 'Q');
    EXPECT_EQ(letterOf(back["done"]), 'c');
  }
}

TEST(JsonSerializationTest, WritesNumbersByTheirLetter) {
  const std::pair<pf::Value, const char*> cases[] = {
      {pf::Value(true), "true"},
      {pf::Value(pf::Number::cppBool(false)), "false"},
      {pf::Value(42), "42"},
      {pf::Value(LLONG_MIN), "-9223372036854775808"},
      {pf::Value(ULLONG_MAX), "18446744073709551615"},
      {pf::Value(0.1), "0.1"},
      {pf::Value(0.1f), "0.1"},
      {pf::Value(2.0), "2.0"},
      {pf::Value(-0.5f), "-0.5"},
      {pf::Value(1e21), "1e+21"},
  };
  for (const auto& [value, text] : cases) {
    EXPECT_EQ(write(pf::Value(pf::Array{value})), std::string("[") + text + "]") << text;
  }
}

TEST(JsonSerializationTest, FragmentsNeedTheOption) {
  const std::pair<const char*, pf::Value> cases[] = {{"42", pf::Value(42LL)},
                                                     {" \"s\" ", pf::Value("s")},
                                                     {"null", pf::Value(pf::Null{})},
                                                     {"true", pf::Value(true)}};
  for (const auto& [text, expected] : cases) {
    pf::ErrorPtr error;
    EXPECT_TRUE(read(text, 0, &error).isNil()) << text;
    ASSERT_TRUE(error) << text;
    EXPECT_EQ(error->code(), 3840);
    EXPECT_NE(error->localizedDescription().find("fragments"), std::string::npos);
    EXPECT_EQ(read(text, JsonSerialization::ReadingAllowFragments), expected) << text;
  }
  EXPECT_EQ(write(pf::Value("a\"b"), JsonSerialization::WritingFragmentsAllowed), R"("a\"b")");
  pf::ErrorPtr error;
  EXPECT_FALSE(JsonSerialization::stringWithJSONObject(pf::Value(1), 0, &error));
  EXPECT_EQ(error->localizedDescription(), "Invalid top-level type in JSON write");
}

TEST(JsonSerializationTest, MalformedInputAnswersNilAndAnError) {
  const std::string deep(100000, '[');
  const std::pair<std::string, const char*> cases[] = {
      {"", "byte"},
      {"{", "byte"},
      {"[1,]", "byte 4"},
      {"{\"a\" 1}", "byte"},
      {"[1] x", "byte"},
      {"{'a':1}", "byte"},
      {"[\"\xc3\x28\"]", "byte"},
      {"[1e400]", "overflow"},
      {deep, "deeper than 512"},
  };
  for (const auto& [text, fragment] : cases) {
    pf::ErrorPtr error;
    EXPECT_TRUE(read(text, JsonSerialization::ReadingAllowFragments, &error).isNil()) << text.substr(0, 20);
    ASSERT_TRUE(error) << text.substr(0, 20);
    EXPECT_EQ(error->domain(), "NSCocoaErrorDomain");
    EXPECT_EQ(error->code(), 3840);
    EXPECT_NE(error->localizedDescription().find(fragment), std::string::npos)
        << error->localizedDescription();
  }
}

// A long list is read one element at a time; each element is what reading the whole would hold there.
TEST(JsonSerializationTest, ReadsATopLevelListOneElementAtATime) {
  const std::string text = R"( [1, {"a": [2, {"b": 3}], "c": "d"}, "x", [4, []], null] )";
  std::vector<pf::Value> elements;
  ASSERT_TRUE(JsonSerialization::forEachArrayElement(text, [&](pf::Value element) {
    elements.push_back(std::move(element));
    return true;
  }));
  EXPECT_EQ(pf::Value(std::make_shared<pf::Array>(elements)), read(text));

  const struct {
    const char* name;
    std::string text;
    std::size_t taken;
    bool stops;
  } failures[] = {
      {"an object", R"({"a": 1})", 0, false},
      {"a single value", "1", 0, false},
      {"broken after the first element", R"([{"a": 1}, {"b" 2}])", 1, false},
      {"the taker stops", "[1, 2, 3]", 2, true},
  };
  for (const auto& c : failures) {
    SCOPED_TRACE(c.name);
    std::size_t taken = 0;
    pf::ErrorPtr error;
    EXPECT_FALSE(JsonSerialization::forEachArrayElement(
        c.text, [&](const pf::Value&) { return ++taken < 2 || !c.stops; }, &error));
    EXPECT_EQ(taken, c.taken);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 3840);
  }
}

TEST(JsonSerializationTest, EscapesStrings) {
  const std::string raw = "q\"b\\n\nt\tc\x01\x1f/é";
  const std::string text = write(pf::Value(pf::Array{raw}));
  EXPECT_EQ(text, R"(["q\"b\\n\nt\tc\u0001\u001f/é"])");
  EXPECT_EQ(read(text), pf::Value(pf::Array{raw}));
  EXPECT_EQ(write(pf::Value(pf::Dictionary{{"k\"ey", 1}})), R"({"k\"ey":1})");
}

TEST(JsonSerializationTest, PrettyOutputShape) {
  const pf::Value v(
      pf::Dictionary{{"a", 1}, {"b", pf::Array{1, pf::Dictionary{{"c", "d"}}}}, {"e", pf::Array{}}});
  EXPECT_EQ(write(v, JsonSerialization::WritingPrettyPrinted),
            "{\n"
            "  \"a\" : 1,\n"
            "  \"b\" : [\n"
            "    1,\n"
            "    {\n"
            "      \"c\" : \"d\"\n"
            "    }\n"
            "  ],\n"
            "  \"e\" : []\n"
            "}");
  EXPECT_EQ(write(v), R"({"a":1,"b":[1,{"c":"d"}],"e":[]})");
}

TEST(JsonSerializationTest, UnwritableValuesAnswerAnError) {
  const auto error = std::make_shared<pf::Error>("D", 1);
  const auto self = std::make_shared<pf::Array>();
  self->push_back(pf::Value(self));
  const std::pair<pf::Value, std::string> cases[] = {
      {pf::Value(pf::Date{0}), "Invalid type in JSON write (NSDate)"},
      {pf::Value(pf::Data{1, 2}), "Invalid type in JSON write (NSData)"},
      {pf::Value(error), "Invalid type in JSON write (" + error->className() + ")"},
      {pf::Value(), "Invalid type in JSON write (nil)"},
      {pf::Value(std::nan("")), "Invalid number value (NaN) in JSON write"},
      {pf::Value(std::numeric_limits<double>::infinity()), "Invalid number value (infinite) in JSON write"},
      {pf::Value("bad \xff utf8"), "Invalid UTF-8 in string in JSON write"},
      {pf::Value(self), "deeper than 512"},
  };
  for (const auto& [value, message] : cases) {
    pf::ErrorPtr written;
    EXPECT_FALSE(JsonSerialization::dataWithJSONObject(pf::Value(pf::Dictionary{{"k", value}}), 0, &written))
        << message;
    ASSERT_TRUE(written) << message;
    EXPECT_EQ(written->code(), 3851);
    EXPECT_NE(written->localizedDescription().find(message), std::string::npos)
        << written->localizedDescription();
  }
  self->clear();  // break the cycle so the array is freed
}

}  // namespace
