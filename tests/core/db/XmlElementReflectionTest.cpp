#include "core/db/XmlElementReflection.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/foundation/Error.h"
#include "tests/core/db/MappingTestClasses.h"

namespace {

class XmlElementReflectionTest : public testing::Test {
 protected:
  void SetUp() override { registerMappingTestClasses(); }

  static std::shared_ptr<MappedCourse> readCourse(const std::string& xml) {
    pf::ErrorPtr error;
    XmlElementPtr root = XmlElement::initWithXMLString(xml, &error);
    EXPECT_TRUE(root);
    return std::dynamic_pointer_cast<MappedCourse>(
        XmlElementReflection::readObjectWithClassName(*root, "MappedCourse"));
  }
};

TEST_F(XmlElementReflectionTest, AttributesSetPropertiesByTypeCode) {
  auto course = readCourse(
      "<c courseId='c1' title='Fire &amp; safety' hours='12abc' required='YES' rate='0.5' "
      "lastModifyTime='3.25'"
      " sid='s1'/>");
  ASSERT_TRUE(course);
  EXPECT_EQ(course->courseId, "c1");
  EXPECT_EQ(course->title, "Fire & safety");
  EXPECT_EQ(course->hours, 12);
  EXPECT_TRUE(course->required);
  EXPECT_FLOAT_EQ(course->rate, 0.5f);
  EXPECT_DOUBLE_EQ(course->lastModifyTime, 3.25);
  EXPECT_EQ(course->sid, "s1");  // inherited
}

TEST_F(XmlElementReflectionTest, BooleanReadings) {
  const std::vector<std::pair<std::string, bool>> cases = {{"YES", true}, {"true", true}, {"1", true},
                                                           {" y", true},  {"NO", false},  {"false", false},
                                                           {"0", false},  {"", false}};
  for (const auto& [text, expected] : cases) {
    auto course = readCourse("<c required='" + text + "'/>");
    EXPECT_EQ(course->required, expected) << "'" << text << "'";
  }
}

TEST_F(XmlElementReflectionTest, AttributesNamingNoSettablePropertyAreSkipped) {
  auto course = readCourse("<c titel='typo' startDate='2020-01-01' units='x' firstUnit='u' title='kept'/>");
  ASSERT_TRUE(course);
  EXPECT_EQ(course->title, "kept");
  EXPECT_EQ(course->startDate, pf::Date{});
  EXPECT_TRUE(course->units.empty());
  EXPECT_EQ(course->firstUnit, nullptr);
}

TEST_F(XmlElementReflectionTest, WrapperElementsFillTheSameObject) {
  auto course = readCourse(
      "<c courseId='c1'><names title='t'><more sid='s'/></names><!-- a comment -->\n<numbers "
      "hours='3'/></c>");
  EXPECT_EQ(course->courseId, "c1");
  EXPECT_EQ(course->title, "t");
  EXPECT_EQ(course->sid, "s");
  EXPECT_EQ(course->hours, 3);
}

TEST_F(XmlElementReflectionTest, ContainerElementBuildsTheArrayProperty) {
  auto course = readCourse(
      "<c><units elementType='MappedUnit' title='ignored'><a name='one' seq='1'/><b name='two' "
      "seq='2'/></units></c>");
  ASSERT_EQ(course->units.size(), 2u);
  EXPECT_EQ(course->units[0]->name, "one");
  EXPECT_EQ(course->units[1]->seq, 2);
  EXPECT_EQ(course->title, std::nullopt);
}

TEST_F(XmlElementReflectionTest, ContainerNamedLikeNoArrayPropertyChangesNothing) {
  auto course = readCourse(
      "<c title='t'><firstUnit elementType='MappedUnit'><u name='x'/></firstUnit>"
      "<title elementType='MappedUnit'><u title='changed'/></title><lessons elementType='MappedUnit'/></c>");
  EXPECT_EQ(course->title, "t");
  EXPECT_EQ(course->firstUnit, nullptr);
}

TEST_F(XmlElementReflectionTest, UnknownClassIsAContractFault) {
  XmlElementPtr root =
      XmlElement::initWithXMLString("<c><units elementType='NoSuchUnit'><u/></units></c>", nullptr);
  struct Case {
    std::function<void()> read;
    std::string message;
  };
  const std::vector<Case> cases = {
      {[&] { XmlElementReflection::readObjectWithClassName(*root, "NoSuchCourse"); },
       "Can not found class named NoSuchCourse !"},
      {[&] { XmlElementReflection::readObjectWithClassName(*root, "MappedCourse"); },
       "Can not found class named NoSuchUnit !"},
  };
  for (const Case& c : cases) {
    try {
      c.read();
      ADD_FAILURE() << "no fault: " << c.message;
    } catch (const pf::ContractViolation& fault) {
      EXPECT_EQ(std::string(fault.what()), c.message);
    }
  }
}

TEST_F(XmlElementReflectionTest, ReadObjectsTakesEveryChildElementInOrder) {
  XmlElementPtr root = XmlElement::initWithXMLString("<list><u name='a'/>text<u name='b'/></list>", nullptr);
  pf::ArrayPtr units = XmlElementReflection::readObjectsWithClassName(*root, "MappedUnit");
  ASSERT_EQ(units->size(), 2u);
  EXPECT_EQ((*units)[1].objectAs<MappedUnit>()->name, "b");
}

}  // namespace
