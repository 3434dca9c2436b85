// The shipped mapping file: every entity names a class, keys are declared not null, column types fit
// the property types, the store can create a database from it, and the lookups by learner that the
// course sync makes go through an index.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/model/AppClasses.h"
#include "core/db/DataEntity.h"
#include "core/db/DataProperty.h"
#include "core/db/VelkDBHelper.h"
#include "core/sqlite/SqlDatabase.h"
#include "core/sqlite/SqlResultSet.h"
#include "platform/runtime/Class.h"
#include "tests/app/support/ShippedMapping.h"
#include "tests/support/TemporaryFolder.h"

namespace {

// The dbType families that suit a property's type name.
bool dbTypeFits(const std::string& dbType, const std::string& typeName) {
  if (typeName == "NSString") return dbType.starts_with("VARCHAR(") || dbType == "TEXT";
  if (typeName == "NSDate") return dbType == "DATETIME";
  if (typeName == "c" || typeName == "B") return dbType == "BOOLEAN";
  if (typeName == "f") return dbType == "FLOAT";
  if (typeName == "d") return dbType == "DOUBLE";
  static const std::set<std::string> integers = {"s", "S", "i", "I", "l", "L", "q", "Q"};
  return integers.contains(typeName) && dbType == "INTEGER";
}

class ShippedMapping : public ::testing::Test {
 protected:
  void SetUp() override {
    registerAppClasses();
    app_test::writeMappingOfWrittenClasses(folder_.file("DBConfig.xml"));
    store_ = std::make_shared<VelkDBHelper>(folder_.file("DBConfig.xml"), folder_.file("Marlune.db"));
    ASSERT_NE(store_->context(), nullptr);
  }

  pf_test::TemporaryFolder folder_;
  std::shared_ptr<VelkDBHelper> store_;
};

TEST(ShippedMappingFile, NamesOnlyWrittenOrAwaitedClassesAndEveryTable) {
  registerAppClasses();
  const std::vector<std::string> names =
      app_test::mappedClassNames(app_test::readText(app_test::shippedMappingPath()));
  for (const std::string& name : names) {
    const bool registered = pf::ClassRegistry::find(name) != nullptr;
    const bool awaited = app_test::awaitedMappedClasses().contains(name);
    EXPECT_TRUE(registered || awaited) << name << " is neither registered nor awaited";
    EXPECT_FALSE(registered && awaited) << name << " is registered: take it off the awaited list";
  }
  const std::set<std::string> expected = {"VelkSetting",       "User",           "MobileApp",
                                          "CmsSearchInfo",     "CourseInfo",     "CourseSco",
                                          "CourseStudyRecord", "ScoStudyRecord", "ScoDownloadInfo",
                                          "EmsUserAnswer",     "CourseViewInfo", "ScoViewInfo"};
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), expected);
}

TEST_F(ShippedMapping, KeysAreNotNullAndColumnTypesFitTheProperties) {
  for (const auto& entity : store_->context()->dataEntities) {
    if (entity->resultMapOnly) continue;
    const pf::Class* cls = pf::ClassRegistry::find(*entity->className);
    ASSERT_NE(cls, nullptr);
    ASSERT_NE(entity->pkProp, nullptr) << *entity->className;
    EXPECT_FALSE(entity->pkProp->nullable) << *entity->className;
    for (const auto& prop : entity->props) {
      const pf::Property* property = cls->findProperty(*prop->name);
      ASSERT_NE(property, nullptr);
      EXPECT_TRUE(dbTypeFits(prop->dbType.value_or(""), property->typeName))
          << *entity->className << "." << *prop->name << ": " << prop->dbType.value_or("") << " for "
          << property->typeName;
      // Only keys the store generates are declared exactly VARCHAR(32).
      if (prop->dbType == "VARCHAR(32)") {
        EXPECT_TRUE(prop->primaryKey) << *entity->className << "." << *prop->name;
      }
    }
  }
}

TEST_F(ShippedMapping, CreatesEveryTableOfAWrittenClass) {
  ASSERT_TRUE(store_->createDatabase());
  for (const auto& entity : store_->context()->dataEntities) {
    if (!entity->resultMapOnly) {
      EXPECT_TRUE(store_->tableExists(*entity->tableName)) << *entity->tableName;
    }
  }
  EXPECT_TRUE(store_->tableExists("settings"));
  EXPECT_TRUE(store_->tableExists("user"));
  EXPECT_TRUE(store_->tableExists("mobile_app"));
}

// Every learner's unit records share one table: a lookup that scans it costs the sync of 500 courses of
// 20 units about 10,000 scans of 10,000 rows.
TEST_F(ShippedMapping, TheSyncsLookupsByLearnerSearchAnIndex) {
  ASSERT_TRUE(store_->createDatabase());
  auto db = SqlDatabase::databaseWithPath(folder_.file("Marlune.db"));
  ASSERT_TRUE(db->open());
  for (const std::string sql : {
           "select count(*) from sco_study_record where sco_id = 's' and user_id = 'u'",
           "update sco_study_record set current_position = 1 where sco_id = 's' and user_id = 'u'",
           "select * from sco_study_record where course_id = 'c' and user_id = 'u'",
           "update course_study_record set study_rate = 1 where course_id = 'c' and user_id = 'u'",
       }) {
    auto plan = db->executeQuery("explain query plan " + sql);
    ASSERT_TRUE(plan && plan->next()) << sql;
    const std::string detail = plan->stringForColumn("detail").value_or("");
    EXPECT_TRUE(detail.starts_with("SEARCH ")) << sql << ": " << detail;
  }
}

}  // namespace
