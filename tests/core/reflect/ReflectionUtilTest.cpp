#include "core/reflect/ReflectionUtil.h"

#include <gtest/gtest.h>

#include <thread>

#include "core/util/StringUtil.h"
#include "platform/foundation/Error.h"
#include "platform/runtime/ClassBuilder.h"

namespace {

class ReflectedItem : public pf::Object {
  PF_OBJECT(ReflectedItem, pf::Object)
  std::optional<std::string> title;
  int count = 0;
  bool active = false;
  std::string code = "fixed";

  static void declareProperties(pf::ClassBuilder<ReflectedItem>& b) {
    PF_PROPERTY(b, title);
    PF_PROPERTY(b, count);
    PF_PROPERTY(b, active);
    PF_READONLY(b, code);
  }
};

class ReflectedGroup : public ReflectedItem {
  PF_OBJECT(ReflectedGroup, ReflectedItem)
  double countAsReal = 0;
  long long total = 0;
  std::vector<std::shared_ptr<ReflectedItem>> items;
  std::vector<std::string> tags;
  std::shared_ptr<ReflectedItem> parent;
  pf::Value anything;
  std::optional<pf::Date> created;
  std::optional<pf::Number> score;
  pf::DictionaryPtr extra;
  float rate = 0;
  char letter = 0;
  unsigned char level = 0;

  static void declareProperties(pf::ClassBuilder<ReflectedGroup>& b) {
    b.property("count", &ReflectedGroup::countAsReal);  // redeclared with another type
    PF_PROPERTY(b, total);
    b.property("items", &ReflectedGroup::items, "NSMutableArray");
    PF_PROPERTY(b, tags);
    PF_PROPERTY(b, parent);
    PF_PROPERTY(b, anything);
    PF_PROPERTY(b, created);
    PF_PROPERTY(b, score);
    PF_PROPERTY(b, extra);
    PF_PROPERTY(b, rate);
    PF_PROPERTY(b, letter);
    PF_PROPERTY(b, level);
  }
};

class ReflectionUtilTest : public testing::Test {
 protected:
  void SetUp() override { pf::registerClass<ReflectedGroup>(); }
};

TEST_F(ReflectionUtilTest, TypeCodeTable) {
  const std::pair<const char*, unsigned> cases[] = {
      {"c", 1},       {"B", 1},         {"C", 3},          {"s", 4},        {"S", 5},
      {"i", 6},       {"I", 7},         {"l", 8},          {"L", 9},        {"q", 10},
      {"Q", 11},      {"f", 12},        {"d", 13},         {"NSDate", 100}, {"NSNumber", 101},
      {"NSString", 102}, {"NSDictionary", 200}, {"NSMutableDictionary", 200}, {"NSArray", 201},
      {"NSMutableArray", 201}, {"@", 202}, {"ReflectedItem", 202}, {"__NSCFString", 202}, {"{CGRect=dddd}", 202},
  };
  for (const auto& [name, code] : cases) EXPECT_EQ(ReflectionUtil::typeCodeForTypeName(name), code) << name;
  EXPECT_TRUE(ReflectionUtil::isPrimitiveTypeCode(13));
  EXPECT_FALSE(ReflectionUtil::isPrimitiveTypeCode(100));
}

TEST_F(ReflectionUtilTest, PropertyDictionaryWalksTheClassChain) {
  PropertyDictionaryPtr dic = ReflectionUtil::propertyDictionaryForClassName("ReflectedGroup");
  ASSERT_TRUE(dic);
  const std::tuple<const char*, const char*, unsigned> cases[] = {
      {"title", "NSString", 102}, {"count", "i", 6},          {"active", "c", 1},     {"code", "NSString", 102},
      {"total", "q", 10},         {"items", "NSMutableArray", 201}, {"tags", "NSArray", 201},
      {"parent", "ReflectedItem", 202}, {"anything", "@", 202}, {"created", "NSDate", 100},
      {"score", "NSNumber", 101}, {"extra", "NSDictionary", 200}, {"rate", "f", 12},
      {"letter", "c", 1},         {"level", "C", 3},
  };
  EXPECT_EQ(dic->size(), std::size(cases));
  for (const auto& [name, typeName, code] : cases) {
    auto it = dic->find(name);
    ASSERT_NE(it, dic->end()) << name;
    EXPECT_EQ(it->second.typeName, typeName) << name;
    EXPECT_EQ(it->second.typeCode, code) << name;
  }
  EXPECT_TRUE(dic->at("code").readonly);
  EXPECT_FALSE(dic->at("title").readonly);
  EXPECT_EQ(ReflectionUtil::propertyDictionaryForClassName("NoSuchClass"), nullptr);
  EXPECT_EQ(dic, ReflectionUtil::propertyDictionaryForClassName("ReflectedGroup")) << "cached";
}

TEST_F(ReflectionUtilTest, ValueFromString) {
  struct Case {
    const char* text;
    unsigned code;
    pf::Value expected;
  };
  const Case cases[] = {
      {"12abc", 6, pf::Value(12)},
      {"abc", 6, pf::Value(0)},
      {"  -7", 4, pf::Value(-7)},
      {"YES", 1, pf::Value(true)},
      {"true", 1, pf::Value(true)},
      {"0", 1, pf::Value(false)},
      {"no", 1, pf::Value(false)},
      {"9007199254740993", 10, pf::Value(9007199254740993LL)},
      {"2.5x", 13, pf::Value(2.5)},
      {"1.5", 12, pf::Value(1.5f)},
      {"A", 3, pf::Value('A')},
      {"text", 102, pf::Value("text")},
      {"1700000000000", 100, pf::Value()},
      {"1", 101, pf::Value()},
      {"x", 0, pf::Value()},
  };
  for (const Case& c : cases) {
    pf::Value v = ReflectionUtil::valueFromString(c.text, c.code);
    EXPECT_EQ(v, c.expected) << c.text << " as " << c.code;
    if (c.expected.isNumber()) {
      EXPECT_EQ(v.number()->typeLetter(), c.expected.number()->typeLetter()) << c.text;
    }
  }
}

TEST_F(ReflectionUtilTest, SetValuesFromText) {
  ReflectedGroup group;
  ReflectionUtil::setValuesForKeysWithTextDictionary(
      group, {{"title", "Algebra"}, {"count", "3.75"}, {"total", "12abc"}, {"active", "Y"}, {"nothing", "1"},
              {"code", "changed"}, {"created", "1000"}});
  EXPECT_EQ(group.title, "Algebra");
  // The superclass entry decides the reading (an int); the subclass's accessor stores it.
  EXPECT_EQ(group.countAsReal, 3.0);
  EXPECT_EQ(group.total, 12);
  EXPECT_TRUE(group.active);
  EXPECT_EQ(group.code, "fixed") << "read-only";
  EXPECT_FALSE(group.created) << "dates have no text reading";
}

TEST_F(ReflectionUtilTest, ElementTypeRegistryIsPerThread) {
  ReflectionUtil::setArrayType("ReflectedItem", "items", "ReflectedGroup");
  EXPECT_EQ(ReflectionUtil::propPairWithPropName("items", "ReflectedGroup").typeName(), "ReflectedItem");
  EXPECT_EQ(ReflectionUtil::propPairWithPropName("items", "ReflectedGroup").typeCode(), 202u);
  EXPECT_EQ(ReflectionUtil::propPairWithPropName("items", "ReflectedGroup").propKey(), "ReflectedGroup.items");

  std::string otherThreadMessage;
  std::thread([&] {
    try {
      ReflectionUtil::propPairWithPropName("items", "ReflectedGroup");
    } catch (const pf::ContractViolation& e) {
      otherThreadMessage = e.what();
    }
  }).join();
  EXPECT_EQ(otherThreadMessage, "You must set array type name for prop named items of class ReflectedGroup!");
}

TEST_F(ReflectionUtilTest, ElementTypeRegistryMessages) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"items", "Missing", "Can not found prop dic for className: Missing."},
      {"title", "ReflectedGroup", "Can not found array prop named title of class ReflectedGroup."},
      {"absent", "ReflectedGroup", "Can not found array prop named absent of class ReflectedGroup."},
  };
  for (const auto& [prop, cls, message] : cases) {
    try {
      ReflectionUtil::setArrayType("ReflectedItem", prop, cls);
      ADD_FAILURE() << "no exception for " << prop;
    } catch (const pf::ContractViolation& e) {
      EXPECT_STREQ(e.what(), message);
      EXPECT_EQ(e.name(), "NSInternalInconsistencyException");
    }
  }
}

TEST_F(ReflectionUtilTest, TypeNamesOfMembers) {
  const pf::Class& cls = ReflectedGroup::staticClass();
  EXPECT_EQ(ReflectionUtil::getPropTypeWithName("tags", cls), "NSArray");
  EXPECT_EQ(ReflectionUtil::getPropTypeWithName("anything", cls), "@");
  EXPECT_EQ(ReflectionUtil::getPropTypeWithName("none", cls), "@");
  EXPECT_EQ(ReflectionUtil::getIvarTypeWithName("total", cls), "q");
  EXPECT_EQ(ReflectionUtil::getIvarTypeWithName("title", cls), "@\"NSString\"");
  EXPECT_EQ(ReflectionUtil::classNameForEncodingType("{CGRect={CGPoint=dd}{CGSize=dd}}"), "CGRect");
  EXPECT_EQ(ReflectionUtil::classNameForEncodingType("NSString"), "NSString");
  EXPECT_TRUE(ReflectionUtil::areEqualsWithClasses(cls, ReflectedGroup::staticClass()));
  EXPECT_FALSE(ReflectionUtil::areEqualsWithClasses(cls, ReflectedItem::staticClass()));
}

TEST(StringUtilTest, ColumnNames) {
  const std::pair<const char*, const char*> cases[] = {
      {"courseId", "course_id"}, {"URL", "u_r_l"}, {"Name", "name"},
      {"lastModifyTime", "last_modify_time"}, {"sco2_id", "sco2_id"}, {"a", "a"},
  };
  for (const auto& [prop, column] : cases) EXPECT_EQ(StringUtil::dbColumnNameWithString(prop), column);
  EXPECT_THROW(
      {
        try {
          StringUtil::dbColumnNameWithString("");
        } catch (const pf::ContractViolation& e) {
          EXPECT_STREQ(e.what(), "Parse propName can not be null or empty.");
          throw;
        }
      },
      pf::ContractViolation);
}

TEST(StringUtilTest, NullEmptyAndBlank) {
  EXPECT_TRUE(StringUtil::isNullOrEmpty(std::nullopt));
  EXPECT_TRUE(StringUtil::isNullOrEmpty(""));
  EXPECT_FALSE(StringUtil::isNullOrEmpty(" "));
  EXPECT_TRUE(StringUtil::isBlank(std::nullopt));
  EXPECT_TRUE(StringUtil::isBlank(" \t "));
  EXPECT_FALSE(StringUtil::isBlank(" \n "));
  EXPECT_FALSE(StringUtil::isBlank(" x "));
}

}  // namespace
