#include "core/db/EntityMapperValidator.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "core/db/XmlElementReflection.h"
#include "core/reflect/TypeCode.h"
#include "core/xml/XmlDocument.h"
#include "platform/foundation/Error.h"
#include "tests/core/db/MappingTestClasses.h"

namespace {

class EntityMapperValidatorTest : public testing::Test {
 protected:
  void SetUp() override { registerMappingTestClasses(); }

  static std::shared_ptr<EntityMapperContext> load(const std::string& fixture) {
    const std::string path = std::string(MARLUNE_FIXTURES) + "/core/db/" + fixture;
    std::ifstream in(path, std::ios::binary);
    const pf::Data data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto document = XmlDocument::initWithData(data, 0, nullptr);
    EXPECT_TRUE(document) << path;
    if (!document) return nullptr;
    return std::dynamic_pointer_cast<EntityMapperContext>(
        XmlElementReflection::readObjectWithClassName(*document->rootElement(), "EntityMapperContext"));
  }
};

TEST_F(EntityMapperValidatorTest, EachFaultStopsWithItsMessageAndTheFirstFaultWins) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"no_entities.xml", "Context must have at least one data entity!"},
      {"no_class_name.xml", "Entity must have class name"},
      {"unknown_class.xml", "Entity with className: NoSuchCourse is not a valid class name!"},
      {"no_table.xml", "Entity must have table name"},
      {"no_props.xml", "Entity with className: MappedCourse must have at least one data property!"},
      {"unknown_property.xml", "Property named: titel not found in class: MappedCourse !"},
      {"two_keys.xml", "Entity with className: MappedCourse only support one primary key."},
      {"upper_case_column.xml",
       "The columnName in Property named: courseId of class: MappedCourse must be lowercase string!"},
      {"unsupported_db_type.xml", "The dbType: NUMERIC is not support!"},
      {"no_key.xml", "Entity with className: MappedCourse must have one unique primary key prop!"},
      {"index_bad_name.xml",
       "Index named: course_info (title); drop table course_info of class: MappedCourse must have a name of "
       "lowercase letters, digits and underscores!"},
      {"index_unknown_column.xml",
       "Index named: course_info_title of class: MappedCourse names no column of its table: teacher !"},
      {"index_no_column.xml", "Index named: course_info_title of class: MappedCourse must name a column!"},
  };
  for (const auto& [fixture, message] : cases) {
    auto context = load(fixture);
    ASSERT_TRUE(context) << fixture;
    try {
      EntityMapperValidator::checkAndInitEntityDicWithContext(*context);
      ADD_FAILURE() << "no fault for " << fixture;
    } catch (const pf::ContractViolation& fault) {
      EXPECT_EQ(std::string(fault.what()), message) << fixture;
    }
  }
}

TEST_F(EntityMapperValidatorTest, ValidMappingBuildsTheIndexes) {
  auto context = load("valid_mapping.xml");
  ASSERT_TRUE(context);
  EXPECT_FLOAT_EQ(context->version, 2.5f);
  EXPECT_EQ(context->entityWithClassName("MappedCourse"), nullptr);  // nothing before validation
  EntityMapperValidator::checkAndInitEntityDicWithContext(*context);

  auto course = context->entityWithClassName("MappedCourse");
  ASSERT_TRUE(course);
  EXPECT_EQ(course->tableName, "course_info");
  EXPECT_EQ(course->tableComment, "courses");
  ASSERT_EQ(course->props.size(), 7u);
  ASSERT_EQ(course->relations.size(), 1u);
  EXPECT_EQ(course->relations[0]->refClass, "MappedUnit");
  ASSERT_EQ(course->indexes.size(), 1u);
  EXPECT_EQ(course->indexes[0]->name, "course_info_title_hours");
  EXPECT_EQ(course->indexes[0]->columnNames, (std::vector<std::string>{"title", "hours"}));
  ASSERT_TRUE(course->pkProp);
  EXPECT_EQ(course->pkProp->name, "courseId");
  EXPECT_FALSE(course->pkProp->nullable);
  EXPECT_EQ(course->pkProp->comment, "key");

  struct Column {
    std::string column;
    std::string name;
    unsigned typeCode;
    bool nullable;
  };
  const std::vector<Column> columns = {
      {"course_id", "courseId", TypeCode::String, false},
      {"title", "title", TypeCode::String, true},
      {"hours", "hours", TypeCode::Int, false},
      {"required", "required", TypeCode::Bool, true},
      {"last_modify_time", "lastModifyTime", TypeCode::Date, true},
      {"rate", "rate", TypeCode::Float, true},
      {"sid", "sid", TypeCode::String, true},
  };
  for (const Column& c : columns) {
    auto prop = course->propertyWithColumnName(c.column);
    ASSERT_TRUE(prop) << c.column;
    EXPECT_EQ(prop->name, c.name);
    EXPECT_EQ(prop->columnName, c.column);
    EXPECT_EQ(prop->TypeCode, c.typeCode) << c.column;
    EXPECT_EQ(prop->nullable, c.nullable) << c.column;
  }
  EXPECT_EQ(course->propertyWithColumnName("courseId"), nullptr);
}

TEST_F(EntityMapperValidatorTest, ResultMapOnlyEntityMapsEveryPropertyOfItsClass) {
  auto context = load("valid_mapping.xml");
  ASSERT_TRUE(context);
  EntityMapperValidator::checkAndInitEntityDicWithContext(*context);
  auto summary = context->entityWithClassName("MappedSummary");
  ASSERT_TRUE(summary);
  EXPECT_EQ(summary->pkProp, nullptr);
  EXPECT_TRUE(summary->props.empty());
  ASSERT_EQ(summary->propDic.size(), 2u);
  EXPECT_EQ(summary->propertyWithColumnName("unit_count")->TypeCode, TypeCode::Int);
  EXPECT_EQ(summary->propertyWithColumnName("sid")->TypeCode, TypeCode::String);  // inherited
  EXPECT_TRUE(summary->propertyWithColumnName("sid")->nullable);
}

TEST_F(EntityMapperValidatorTest, DbTypeTable) {
  const std::vector<std::pair<std::optional<std::string>, unsigned>> cases = {
      {"VARCHAR(32)", TypeCode::String}, {"varchar(64)", TypeCode::String}, {"TEXT", TypeCode::String},
      {"text", TypeCode::String},        {"BOOLEAN", TypeCode::Bool},       {"INTEGER", TypeCode::Int},
      {"integer", TypeCode::Int},        {"int(11)", TypeCode::Int},        {"DATETIME", TypeCode::Date},
      {"FLOAT", TypeCode::Float},        {"DOUBLE", TypeCode::Double},      {"NUMERIC", TypeCode::None},
      {"TEXT(10)", TypeCode::None},      {"REAL", TypeCode::None},          {"", TypeCode::None},
      {std::nullopt, TypeCode::None},
  };
  for (const auto& [dbType, code] : cases) {
    EXPECT_EQ(EntityMapperValidator::typeCodeFromDBTypeText(dbType), code) << dbType.value_or("<nil>");
  }
}

TEST_F(EntityMapperValidatorTest, LaterEntityOfTheSameClassReplacesTheEarlier) {
  EntityMapperContext context;
  for (const char* table : {"first", "second"}) {
    auto entity = std::make_shared<DataEntity>();
    entity->className = "MappedUnit";
    entity->tableName = table;
    auto prop = std::make_shared<DataProperty>();
    prop->name = "name";
    prop->dbType = "TEXT";
    prop->primaryKey = true;
    entity->props = {prop};
    context.dataEntities.push_back(entity);
  }
  EntityMapperValidator::checkAndInitEntityDicWithContext(context);
  EXPECT_EQ(context.entityWithClassName("MappedUnit")->tableName, "second");
  EXPECT_EQ(context.entityWithClassName("MappedUnit")->propertyWithColumnName("name")->TypeCode,
            TypeCode::String);
}

}  // namespace
