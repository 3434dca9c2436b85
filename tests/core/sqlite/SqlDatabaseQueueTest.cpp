#include "core/sqlite/SqlDatabaseQueue.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <iterator>
#include <thread>

#include "core/sqlite/SqlDatabase.h"
#include "core/sqlite/SqlResultSet.h"
#include "platform/foundation/Log.h"
#include "tests/core/sqlite/SqlTestFolder.h"

namespace {

class SqlDatabaseQueueTest : public SqlTestFolder {
 protected:
  std::shared_ptr<SqlDatabaseQueue> makeQueue() {
    auto queue = SqlDatabaseQueue::databaseQueueWithPath(path());
    EXPECT_NE(queue, nullptr);
    queue->inDatabase(
        [](const std::shared_ptr<SqlDatabase>& db) { db->executeUpdate("create table t (a)"); });
    return queue;
  }

  int count(SqlDatabaseQueue& queue) {
    int rows = -1;
    queue.inDatabase(
        [&](const std::shared_ptr<SqlDatabase>& db) { rows = db->intForQuery("select count(*) from t"); });
    return rows;
  }

  std::string fileBytes() {
    std::ifstream in(path(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};

TEST_F(SqlDatabaseQueueTest, AQueueThatCannotOpenItsFileIsNotMade) {
  pf::Log::Capture log;
  EXPECT_EQ(SqlDatabaseQueue::databaseQueueWithPath(path("missing/folder/x.db")), nullptr);
  EXPECT_EQ(log.lines().back(), "Could not create database queue for path " + path("missing/folder/x.db"));
}

TEST_F(SqlDatabaseQueueTest, InDatabaseAfterCloseReopensTheFile) {
  auto queue = makeQueue();
  queue->close();
  bool ran = false;
  queue->inDatabase([&](const std::shared_ptr<SqlDatabase>& db) {
    ASSERT_NE(db, nullptr);
    ran = db->executeUpdate("insert into t values (1)");
  });
  EXPECT_TRUE(ran);
  EXPECT_EQ(count(*queue), 1);
}

TEST_F(SqlDatabaseQueueTest, AResultSetLeftOpenIsReportedAndStaysUsable) {
  auto queue = makeQueue();
  std::shared_ptr<SqlResultSet> rs;
  pf::Log::Capture log;
  queue->inDatabase([&](const std::shared_ptr<SqlDatabase>& db) { rs = db->executeQuery("select 5"); });
  EXPECT_EQ(log.lines(),
            std::vector<std::string>{"Warning: there is at least one open result set around after "
                                     "performing [SqlDatabaseQueue inDatabase:]"});
  ASSERT_TRUE(rs->next());
  EXPECT_EQ(rs->intForColumnIndex(0), 5);
  rs->close();
}

TEST_F(SqlDatabaseQueueTest, RollingBackLeavesTheFileUnchanged) {
  auto queue = makeQueue();
  const std::string before = fileBytes();
  for (bool deferred : {false, true}) {
    EXPECT_TRUE(queue->beginTransaction(deferred, [](const std::shared_ptr<SqlDatabase>& db, bool& rollback) {
      db->executeUpdate("insert into t values (1)");
      rollback = true;
    }));
  }
  EXPECT_EQ(count(*queue), 0);
  EXPECT_EQ(fileBytes(), before);
  EXPECT_TRUE(queue->inTransaction(
      [](const std::shared_ptr<SqlDatabase>& db, bool&) { db->executeUpdate("insert into t values (1)"); }));
  EXPECT_EQ(count(*queue), 1);
}

TEST_F(SqlDatabaseQueueTest, AFailedCommitIsReportedAndLeavesNoTransactionOpen) {
  auto queue = makeQueue();
  queue->inDatabase([](const std::shared_ptr<SqlDatabase>& db) {
    db->executeUpdate("pragma foreign_keys = on");
    db->executeUpdate("create table parent (id integer primary key)");
    db->executeUpdate("create table child (p references parent (id) deferrable initially deferred)");
  });
  EXPECT_FALSE(queue->inTransaction([](const std::shared_ptr<SqlDatabase>& db, bool&) {
    db->executeUpdate("insert into child values (9)");
  }));
  queue->inDatabase([](const std::shared_ptr<SqlDatabase>& db) {
    EXPECT_EQ(db->intForQuery("select count(*) from child"), 0);
    EXPECT_NE(sqlite3_get_autocommit(db->sqliteHandle()), 0);
    EXPECT_FALSE(db->inTransaction());
  });
}

TEST_F(SqlDatabaseQueueTest, AFailedBeginDoesNotRunTheBlock) {
  auto queue = makeQueue();
  queue->inDatabase([](const std::shared_ptr<SqlDatabase>& db) { db->executeUpdate("begin"); });
  bool ran = false;
  EXPECT_FALSE(queue->inTransaction([&](const std::shared_ptr<SqlDatabase>&, bool&) { ran = true; }));
  EXPECT_FALSE(ran);
}

TEST_F(SqlDatabaseQueueTest, ABlockThatThrowsRollsBackItsTransaction) {
  auto queue = makeQueue();
  EXPECT_THROW(queue->inTransaction([](const std::shared_ptr<SqlDatabase>& db, bool&) {
    db->executeUpdate("insert into t values (1)");
    throw std::runtime_error("stop");
  }),
               std::runtime_error);
  EXPECT_EQ(count(*queue), 0);
  EXPECT_TRUE(queue->inTransaction([](const std::shared_ptr<SqlDatabase>&, bool&) {}));
}

TEST_F(SqlDatabaseQueueTest, SavePointsRollBackOrKeepTheirWork) {
  auto queue = makeQueue();
  EXPECT_EQ(queue->inSavePoint([](const std::shared_ptr<SqlDatabase>& db, bool& rollback) {
    db->executeUpdate("insert into t values (1)");
    rollback = true;
  }),
            nullptr);
  EXPECT_EQ(queue->inSavePoint([](const std::shared_ptr<SqlDatabase>& db, bool&) {
    db->executeUpdate("insert into t values (2)");
  }),
            nullptr);
  queue->inDatabase([](const std::shared_ptr<SqlDatabase>& db) {
    EXPECT_EQ(db->intForQuery("select sum(a) from t"), 2);
    EXPECT_NE(sqlite3_get_autocommit(db->sqliteHandle()), 0);
  });
}

TEST_F(SqlDatabaseQueueTest, ABlockCallingBackIntoItsQueueIsRefused) {
  auto queue = makeQueue();
  queue->inDatabase([&](const std::shared_ptr<SqlDatabase>&) {
    EXPECT_THROW(queue->inDatabase([](const std::shared_ptr<SqlDatabase>&) {}), pf::ContractViolation);
  });
  EXPECT_EQ(count(*queue), 0);
}

TEST_F(SqlDatabaseQueueTest, WritersOnSeveralQueuesOfOneFileAllSucceed) {
  makeQueue();
  constexpr int kThreads = 3;
  constexpr int kRows = 20;
  std::atomic<int> failures{0};
  std::vector<std::thread> writers;
  for (int w = 0; w < kThreads; ++w) {
    writers.emplace_back([&, w] {
      auto queue = SqlDatabaseQueue::databaseQueueWithPath(path());
      for (int i = 0; i < kRows; ++i) {
        const bool ok =
            i % 2 ? queue->inTransaction([&](const std::shared_ptr<SqlDatabase>& db, bool&) {
              if (!db->executeUpdate("insert into t values (?)", w)) ++failures;
            })
                  : queue->inDeferredTransaction([&](const std::shared_ptr<SqlDatabase>& db, bool&) {
                      if (!db->executeUpdate("insert into t values (?)", w)) ++failures;
                    });
        if (!ok) ++failures;
      }
    });
  }
  for (std::thread& t : writers) t.join();
  EXPECT_EQ(failures, 0);
  auto queue = SqlDatabaseQueue::databaseQueueWithPath(path());
  EXPECT_EQ(count(*queue), kThreads * kRows);
}

}  // namespace
