#include "core/sqlite/SqlDatabasePool.h"

#include <gtest/gtest.h>

#include "core/sqlite/SqlDatabase.h"
#include "core/sqlite/SqlDatabasePoolDelegate.h"
#include "platform/foundation/Log.h"
#include "tests/core/sqlite/SqlTestFolder.h"

namespace {

using SqlDatabasePoolTest = SqlTestFolder;

TEST_F(SqlDatabasePoolTest, TheLimitHoldsUntilAConnectionComesBack) {
  auto pool = SqlDatabasePool::databasePoolWithPath(path());
  pool->setMaximumNumberOfDatabasesToCreate(2);
  auto first = pool->db();
  auto second = pool->db();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  pf::Log::Capture log;
  EXPECT_EQ(pool->db(), nullptr);
  EXPECT_EQ(log.lines(),
            std::vector<std::string>{"Maximum number of databases (2) has already been reached!"});
  pool->pushDatabaseBackInPool(first);
  EXPECT_EQ(pool->countOfCheckedInDatabases(), 1u);
  EXPECT_EQ(pool->countOfCheckedOutDatabases(), 1u);
  EXPECT_EQ(pool->db(), first);
  EXPECT_EQ(pool->countOfOpenDatabases(), 2u);
}

TEST_F(SqlDatabasePoolTest, PushingTheSameConnectionBackTwiceThrows) {
  auto pool = SqlDatabasePool::databasePoolWithPath(path());
  auto db = pool->db();
  pool->pushDatabaseBackInPool(db);
  try {
    pool->pushDatabaseBackInPool(db);
    FAIL() << "no exception";
  } catch (const pf::ContractViolation& e) {
    EXPECT_EQ(e.name(), "Database already in pool");
    EXPECT_STREQ(e.what(), "The SqlDatabase being put back into the pool is already present in the pool");
  }
  EXPECT_EQ(pool->countOfCheckedInDatabases(), 1u);
  pool->pushDatabaseBackInPool(nullptr);
}

class Refusing : public SqlDatabasePoolDelegate {
 public:
  bool databasePool(SqlDatabasePool&, const std::shared_ptr<SqlDatabase>& db) override {
    refused = db;
    return false;
  }
  std::shared_ptr<SqlDatabase> refused;
};

TEST_F(SqlDatabasePoolTest, ADelegateCanRefuseANewConnection) {
  auto pool = SqlDatabasePool::databasePoolWithPath(path());
  auto delegate = std::make_shared<Refusing>();
  pool->setDelegate(delegate);
  EXPECT_EQ(pool->db(), nullptr);
  ASSERT_NE(delegate->refused, nullptr);
  EXPECT_EQ(delegate->refused->sqliteHandle(), nullptr);
  EXPECT_EQ(pool->countOfOpenDatabases(), 0u);
}

TEST_F(SqlDatabasePoolTest, BlocksBorrowAConnectionAndGiveItBack) {
  auto pool = SqlDatabasePool::databasePoolWithPath(path());
  pool->inDatabase([](const std::shared_ptr<SqlDatabase>& db) { db->executeUpdate("create table t (a)"); });
  EXPECT_TRUE(pool->inTransaction([](const std::shared_ptr<SqlDatabase>& db, bool& rollback) {
    db->executeUpdate("insert into t values (1)");
    rollback = true;
  }));
  EXPECT_EQ(pool->inSavePoint([](const std::shared_ptr<SqlDatabase>& db, bool&) {
    db->executeUpdate("insert into t values (2)");
  }),
            nullptr);
  int sum = 0;
  pool->inDatabase(
      [&](const std::shared_ptr<SqlDatabase>& db) { sum = db->intForQuery("select sum(a) from t"); });
  EXPECT_EQ(sum, 2);
  EXPECT_EQ(pool->countOfCheckedInDatabases(), 1u);
  EXPECT_EQ(pool->countOfCheckedOutDatabases(), 0u);
  pool->releaseAllDatabases();
  EXPECT_EQ(pool->countOfOpenDatabases(), 0u);
}

}  // namespace
