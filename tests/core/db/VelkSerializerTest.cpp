#include "core/db/VelkSerializer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string storeFixture(const std::string& name) {
  return std::string(MARLUNE_FIXTURES) + "/core/db/store/" + name;
}

TEST(VelkSerializerTest, LoadsTheMappingModel) {
  VelkSerializer serializer;
  serializer.loadFromFile(storeFixture("store_mapping.xml"));
  std::shared_ptr<EntityMapperContext> context = serializer.loadEntitiesMapperContext();
  ASSERT_TRUE(context);
  EXPECT_FLOAT_EQ(context->version, 1.5f);
  ASSERT_EQ(context->dataEntities.size(), 4u);
  const DataEntity& course = *context->dataEntities[1];
  EXPECT_EQ(course.className, "StoreCourse");
  EXPECT_EQ(course.tableName, "course_info");
  ASSERT_EQ(course.props.size(), 8u);
  EXPECT_EQ(course.props[0]->columnName, "id");
  EXPECT_EQ(course.props[0]->dbType, "VARCHAR(32)");
  EXPECT_TRUE(course.props[0]->primaryKey);
  EXPECT_FALSE(course.props[0]->nullable);
  EXPECT_TRUE(course.props[1]->nullable);
  EXPECT_TRUE(context->dataEntities[3]->resultMapOnly);
  EXPECT_TRUE(context->entityDic.empty()) << "indexes are built by the store's validation";
}

TEST(VelkSerializerTest, UnreadableFilesGiveNoModel) {
  for (const char* name : {"malformed_mapping.xml", "missing.xml"}) {
    VelkSerializer serializer;
    serializer.loadFromFile(storeFixture(name));
    EXPECT_FALSE(serializer.loadEntitiesMapperContext()) << name;
  }
  VelkSerializer reloaded;
  reloaded.loadFromFile(storeFixture("store_mapping.xml"));
  reloaded.loadFromFile(storeFixture("missing.xml"));
  EXPECT_FALSE(reloaded.loadEntitiesMapperContext()) << "a failed load drops the earlier document";
}

}  // namespace
