#include "core/sqlite/SqlResultSet.h"

#include <gtest/gtest.h>

#include "core/sqlite/SqlDatabase.h"
#include "platform/foundation/Log.h"
#include "tests/core/sqlite/SqlTestFolder.h"

namespace {

using SqlResultSetTest = SqlTestFolder;

TEST_F(SqlResultSetTest, ColumnNamesMapLowerCasedAndTheLaterDuplicateWins) {
  auto db = openDatabase();
  auto rs = db->executeQuery("select 1 as Alpha, 2 as ALPHA, 3 as beta");
  ASSERT_TRUE(rs->next());
  EXPECT_EQ(rs->columnNameToIndexMap(), (SqlResultSet::ColumnMap{{"alpha", 1}, {"beta", 2}}));
  EXPECT_EQ(rs->columnIndexForName("BETA"), 2);
  EXPECT_EQ(rs->intForColumn("alpha"), 2);
  EXPECT_EQ(rs->columnNameForIndex(0), "Alpha");
  pf::Log::Capture log;
  EXPECT_EQ(rs->columnIndexForName("Gamma"), -1);
  EXPECT_EQ(rs->objectForColumnName("gamma"), pf::Value(pf::Null{}));
  EXPECT_EQ(log.lines().front(), "Warning: I could not find the column named 'gamma'.");
  EXPECT_EQ(*rs->resultDictionary(), (pf::Dictionary{{"Alpha", 1LL}, {"ALPHA", 2LL}, {"beta", 3LL}}));
  EXPECT_EQ(*rs->resultDict(), (pf::Dictionary{{"alpha", 2LL}, {"beta", 3LL}}));
}

TEST_F(SqlResultSetTest, WideRowsFindTheirColumnsByNameToo) {
  auto db = openDatabase();
  std::string sql = "select 0 as c0";
  for (int i = 1; i < 40; ++i) sql += ", " + std::to_string(i) + " as C" + std::to_string(i);
  auto rs = db->executeQuery(sql);
  ASSERT_TRUE(rs->next());
  EXPECT_EQ(rs->intForColumn("c39"), 39);
  EXPECT_EQ(rs->intForColumn("C0"), 0);
  pf::Log::Capture log;
  EXPECT_EQ(rs->columnIndexForName("c40"), -1);
  EXPECT_TRUE(log.contains("Warning: I could not find the column named 'c40'."));
}

TEST_F(SqlResultSetTest, NullColumnsReadAsNothing) {
  auto db = openDatabase();
  auto rs = db->executeQuery("select null");
  ASSERT_TRUE(rs->next());
  for (int index : {0, -1}) {
    SCOPED_TRACE(index);
    EXPECT_EQ(rs->intForColumnIndex(index), 0);
    EXPECT_EQ(rs->longLongIntForColumnIndex(index), 0);
    EXPECT_EQ(rs->doubleForColumnIndex(index), 0.0);
    EXPECT_FALSE(rs->boolForColumnIndex(index));
    EXPECT_EQ(rs->stringForColumnIndex(index), std::nullopt);
    EXPECT_EQ(rs->dateForColumnIndex(index), std::nullopt);
    EXPECT_EQ(rs->dataForColumnIndex(index), std::nullopt);
    EXPECT_EQ(rs->dataNoCopyForColumnIndex(index), std::nullopt);
    EXPECT_EQ(rs->UTF8StringForColumnIndex(index), nullptr);
    EXPECT_TRUE(rs->columnIndexIsNull(index));
    EXPECT_EQ(rs->objectForColumnIndex(index), pf::Value(pf::Null{}));
  }
}

TEST_F(SqlResultSetTest, TypedReadsFollowTheStorageClass) {
  auto db = openDatabase();
  auto rs = db->executeQuery("select 7, 4294967297, 1500000000.5, 'text', x'00ff', ''");
  ASSERT_TRUE(rs->next());
  const pf::Value small = rs->objectForColumnIndex(0);
  ASSERT_TRUE(small.isNumber());
  EXPECT_EQ(small.number()->typeLetter(), 'q');
  EXPECT_EQ(rs->longForColumnIndex(1), 1);
  EXPECT_EQ(rs->longLongIntForColumnIndex(1), 4294967297);
  EXPECT_EQ(rs->dateForColumnIndex(2), pf::Date{1500000000.5});
  EXPECT_EQ(rs->objectForColumnIndex(2), pf::Value(1500000000.5));
  EXPECT_EQ(rs->objectForColumnIndex(3), pf::Value("text"));
  EXPECT_EQ(rs->objectForColumnIndex(4), pf::Value(pf::Data{0x00, 0xff}));
  EXPECT_EQ(rs->stringForColumnIndex(5), "");
  EXPECT_EQ(rs->dataNoCopyForColumnIndex(4)->size(), 2u);
  EXPECT_EQ(rs->unsignedLongLongIntForColumnIndex(0), 7u);
}

TEST_F(SqlResultSetTest, AQueryWithoutRowsIsClosedAtTheFirstNext) {
  auto db = openDatabase();
  auto rs = db->executeQuery("select 1 where 0");
  EXPECT_TRUE(db->hasOpenResultSets());
  EXPECT_FALSE(rs->next());
  EXPECT_FALSE(db->hasOpenResultSets());
  EXPECT_EQ(rs->statement(), nullptr);
  pf::Log::Capture log;
  EXPECT_EQ(rs->resultDictionary(), nullptr);
  EXPECT_EQ(log.lines(), std::vector<std::string>{"Warning: There seem to be no columns in this set."});
  EXPECT_FALSE(rs->next());
}

TEST_F(SqlResultSetTest, HasAnotherRowWhileARowIsWaiting) {
  auto db = openDatabase();
  auto rs = db->executeQuery("select 1 union all select 2");
  ASSERT_TRUE(rs->next());
  EXPECT_TRUE(rs->hasAnotherRow());
  ASSERT_TRUE(rs->next());
  EXPECT_FALSE(rs->next());
  EXPECT_FALSE(rs->hasAnotherRow());
}

TEST_F(SqlResultSetTest, ReadingAfterTheConnectionClosedAnswersNothing) {
  auto db = openDatabase();
  ASSERT_TRUE(db->executeUpdate("create table t (a)"));
  ASSERT_TRUE(db->executeUpdate("insert into t values ('x'), ('y')"));
  auto rs = db->executeQuery("select a from t");
  ASSERT_TRUE(rs->next());
  EXPECT_TRUE(db->close());
  EXPECT_EQ(rs->stringForColumn("a"), std::nullopt);
  EXPECT_EQ(rs->columnCount(), 0);
  EXPECT_FALSE(rs->next());
  rs->close();
}

TEST_F(SqlResultSetTest, AResultSetKeepsItsConnectionAliveUntilItCloses) {
  auto db = openDatabase();
  ASSERT_TRUE(db->executeUpdate("create table t (a)"));
  ASSERT_TRUE(db->executeUpdate("insert into t values ('x'), ('y')"));
  auto rs = db->executeQuery("select a from t");
  std::weak_ptr<SqlDatabase> weak = db;
  db.reset();
  ASSERT_TRUE(rs->next());
  ASSERT_TRUE(rs->next());
  EXPECT_EQ(rs->stringForColumnIndex(0), "y");
  EXPECT_FALSE(weak.expired());
  EXPECT_FALSE(rs->next());
  EXPECT_TRUE(weak.expired());
}

TEST_F(SqlResultSetTest, ADetachedResultSetIsStillClosedWithItsConnection) {
  auto db = openDatabase();
  auto rs = db->executeQuery("select 1");
  rs->setParentDB(nullptr);
  EXPECT_TRUE(db->hasOpenResultSets());
  pf::Log::Capture log;
  EXPECT_TRUE(db->close());
  EXPECT_EQ(rs->statement(), nullptr);
  EXPECT_FALSE(log.contains("Closing leaked statement"));
}

}  // namespace
