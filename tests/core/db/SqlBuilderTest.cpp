#include "core/db/SqlBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/foundation/Error.h"

namespace {

std::shared_ptr<DataProperty> property(const std::string& name, const std::string& dbType,
                                       bool nullable = true,
                                       std::optional<std::string> comment = std::nullopt) {
  auto prop = std::make_shared<DataProperty>();
  prop->name = name;
  prop->columnName = name;
  prop->dbType = dbType;
  prop->nullable = nullable;
  prop->comment = std::move(comment);
  return prop;
}

// Table t with the key id, then a and b.
DataEntity entityIdAB() {
  DataEntity entity;
  entity.className = "Row";
  entity.tableName = "t";
  entity.props = {property("id", "VARCHAR(32)", false), property("a", "TEXT"), property("b", "INTEGER")};
  entity.pkProp = entity.props[0];
  entity.pkProp->primaryKey = true;
  return entity;
}

TEST(SqlBuilderTest, StatementTexts) {
  struct Case {
    unsigned code;
    std::string sql;
    bool hasWhere;
  };
  const std::vector<Case> cases = {
      {SqlBuilder::DropTable, " DROP TABLE IF EXISTS t ", false},
      {SqlBuilder::Insert, " INSERT INTO t VALUES( ?, ?, ?)", false},
      {SqlBuilder::InsertOrReplace, " REPLACE INTO t VALUES( ?, ?, ?)", false},
      {SqlBuilder::DeleteByKey, " DELETE FROM t WHERE id = ?", true},
      {SqlBuilder::DeleteAll, " DELETE FROM t", false},
      {SqlBuilder::UpdateByKey, " UPDATE t SET a = ?,b = ? WHERE id = ?", true},
      {SqlBuilder::QueryAll, " SELECT * FROM t", false},
      {SqlBuilder::QueryByKey, " SELECT * FROM t WHERE id = ?", true},
  };
  const DataEntity entity = entityIdAB();
  for (const Case& c : cases) {
    SqlBuilder builder(entity, c.code);
    EXPECT_EQ(builder.content(), c.sql) << c.code;
    EXPECT_EQ(builder.hasWhere(), c.hasWhere) << c.code;
  }
}

TEST(SqlBuilderTest, UnknownCodeLeavesContentNil) {
  for (unsigned code : {0u, 10u, 99u}) {
    SqlBuilder builder(entityIdAB(), code);
    EXPECT_EQ(builder.content(), std::nullopt);
    EXPECT_FALSE(builder.hasWhere());
    builder.appendInWithColumnName("id", 2);
    EXPECT_EQ(builder.content(), std::nullopt);
  }
}

TEST(SqlBuilderTest, InsertOfTwoProperties) {
  DataEntity entity = entityIdAB();
  entity.props.pop_back();
  EXPECT_EQ(SqlBuilder(entity, SqlBuilder::Insert).content(), " INSERT INTO t VALUES( ?, ?)");
}

TEST(SqlBuilderTest, UpdateNamesTheArgumentsInMarkOrder) {
  DataEntity entity = entityIdAB();
  std::rotate(entity.props.begin(), entity.props.begin() + 1, entity.props.end());  // key in the middle
  std::vector<std::string> args;
  SqlBuilder builder(entity, SqlBuilder::UpdateByKey, &args);
  EXPECT_EQ(builder.content(), " UPDATE t SET a = ?,b = ? WHERE id = ?");
  EXPECT_EQ(args, (std::vector<std::string>{"a", "b", "id"}));
}

TEST(SqlBuilderTest, UpdateOfAKeyOnlyEntityStaysValid) {
  DataEntity entity = entityIdAB();
  entity.props.resize(1);
  std::vector<std::string> args;
  SqlBuilder builder(entity, SqlBuilder::UpdateByKey, &args);
  EXPECT_EQ(builder.content(), " UPDATE t SET id = ? WHERE id = ?");
  EXPECT_EQ(args, (std::vector<std::string>{"id", "id"}));
}

TEST(SqlBuilderTest, CreateTableWritesCommentsAndKey) {
  DataEntity entity;
  entity.tableName = "t";
  entity.tableComment = "x";
  entity.props = {property("id", "VARCHAR(32)", false, "y"), property("a", "INTEGER")};
  entity.pkProp = entity.props[0];
  SqlBuilder builder(entity, SqlBuilder::CreateTable);
  EXPECT_EQ(builder.content(),
            " CREATE TABLE t  --x\n"
            "(\n"
            " id VARCHAR(32) NOT NULL,--y\n"
            " a INTEGER,\n"
            " PRIMARY KEY (id)\n"
            ");");
  EXPECT_FALSE(builder.hasWhere());
}

TEST(SqlBuilderTest, CreateTableKeepsLineBreaksOutOfComments) {
  DataEntity entity = entityIdAB();
  entity.tableComment = "rows\n); DROP TABLE users; --";
  entity.props[1]->comment = "first\r\nsecond";
  entity.props[2]->columnName.reset();  // no column name: the snake-case form of the name
  entity.props[2]->name = "lastModifyTime";
  const std::string sql = *SqlBuilder(entity, SqlBuilder::CreateTable).content();
  EXPECT_EQ(sql,
            " CREATE TABLE t  --rows ); DROP TABLE users; --\n"
            "(\n"
            " id VARCHAR(32) NOT NULL,\n"
            " a TEXT,--first  second\n"
            " last_modify_time INTEGER,\n"
            " PRIMARY KEY (id)\n"
            ");");
}

TEST(SqlBuilderTest, InConditionStartsWithWhereOrAnd) {
  struct Case {
    unsigned code;
    unsigned count;
    std::string sql;
  };
  const std::vector<Case> cases = {
      {SqlBuilder::DeleteAll, 1, " DELETE FROM t WHERE id IN (?)"},
      {SqlBuilder::DeleteAll, 3, " DELETE FROM t WHERE id IN (?,?,?)"},
      {SqlBuilder::DeleteByKey, 1, " DELETE FROM t WHERE id = ? AND id IN (?)"},
      {SqlBuilder::DeleteAll, 0, " DELETE FROM t"},
  };
  for (const Case& c : cases) {
    SqlBuilder builder(entityIdAB(), c.code);
    const bool hadWhere = builder.hasWhere();
    builder.appendInWithColumnName("id", c.count);
    EXPECT_EQ(builder.content(), c.sql);
    EXPECT_EQ(builder.hasWhere(), hadWhere);
  }
}

TEST(SqlBuilderTest, SetHasWhereDecidesTheNextCondition) {
  SqlBuilder builder(entityIdAB(), SqlBuilder::QueryAll);
  builder.setHasWhere(true);
  builder.appendInWithColumnName("course_id", 2);
  EXPECT_EQ(builder.content(), " SELECT * FROM t AND course_id IN (?,?)");
}

TEST(SqlBuilderTest, EntityWithoutWhatAStatementNeedsIsAContractFault) {
  DataEntity noKey = entityIdAB();
  noKey.pkProp.reset();
  DataEntity noTable = entityIdAB();
  noTable.tableName.reset();
  DataEntity noProps = entityIdAB();
  noProps.props.clear();
  struct Case {
    const DataEntity* entity;
    unsigned code;
    std::string message;
  };
  const std::vector<Case> cases = {
      {&noKey, SqlBuilder::UpdateByKey, "Entity with className: Row must have one unique primary key prop!"},
      {&noKey, SqlBuilder::CreateTable, "Entity with className: Row must have one unique primary key prop!"},
      {&noTable, SqlBuilder::QueryAll, "Entity must have table name"},
      {&noProps, SqlBuilder::Insert, "Entity with className: Row must have at least one data property!"},
  };
  for (const Case& c : cases) {
    try {
      SqlBuilder builder(*c.entity, c.code);
      ADD_FAILURE() << "no fault for code " << c.code;
    } catch (const pf::ContractViolation& fault) {
      EXPECT_EQ(std::string(fault.what()), c.message);
    }
  }
}

}  // namespace
