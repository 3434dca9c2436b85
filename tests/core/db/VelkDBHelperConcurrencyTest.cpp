// Queue mode and connections of the object store across threads. Also run under ThreadSanitizer
// (scripts/test --tsan).

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "core/db/VelkDBConnection.h"
#include "core/db/VelkDBHelper.h"
#include "core/reflect/TypeCode.h"
#include "core/sqlite/SqlDatabase.h"
#include "tests/core/db/StoreTestFolder.h"

namespace {

using VelkDBHelperConcurrencyTest = StoreTestFolder;

std::vector<std::string> storedIds(VelkDBHelper& store) {
  std::vector<std::string> ids;
  for (const pf::Value& id : store.queryForList("NSString", "select id from course_info order by id")) {
    ids.push_back(*id.string());
  }
  return ids;
}

TEST_F(VelkDBHelperConcurrencyTest, QueueBlockRunsEveryCallOfItsThreadOnOneConnection) {
  EXPECT_FALSE(store().beginTransaction()) << "outside queue mode no connection stays open";
  EXPECT_TRUE(store().queueInDatabase([&](VelkDBHelper& db) {
    ASSERT_TRUE(db.beginTransaction());
    ASSERT_TRUE(db.insertObject(course("a", "")));
    EXPECT_EQ(storedIds(db), std::vector<std::string>{"a"});
    EXPECT_TRUE(db.rollback());
  }));
  EXPECT_TRUE(storedIds(store()).empty());

  EXPECT_TRUE(store().queueInTransaction([&](VelkDBHelper& db, bool& rollback) {
    ASSERT_TRUE(db.insertObject(course("b", "")));
    EXPECT_TRUE(
        db.queueInDatabase([&](VelkDBHelper& inner) { EXPECT_TRUE(inner.insertObject(course("c", ""))); }));
    rollback = true;
  }));
  EXPECT_TRUE(storedIds(store()).empty()) << "the nested block ran inside the rolled-back transaction";

  EXPECT_TRUE(store().queueInTransaction([&](VelkDBHelper& db, bool&) {
    ASSERT_TRUE(db.insertObject(course("d", "")));
    EXPECT_FALSE(db.insertObjectsUseBatch(pf::makeArray({course("e", ""), course("d", "")})));
    ASSERT_TRUE(db.insertObject(course("f", "")));
  }));
  EXPECT_EQ(storedIds(store()), (std::vector<std::string>{"d", "f"})) << "a failed batch undoes only itself";
}

// Tells once that its connection met another connection's lock, then waits and tries again.
class LockWatch {
 public:
  explicit LockWatch(SqlDatabase& db) {
    sqlite3_busy_handler(
        db.sqliteHandle(),
        [](void* watch, int) {
          auto* self = static_cast<LockWatch*>(watch);
          std::call_once(self->told_, [self] { self->met_.set_value(); });
          std::this_thread::sleep_for(
              std::chrono::milliseconds(1));  // the retry's pause, as a busy timeout does
          return 1;
        },
        this);
  }
  std::future<void> met() { return met_.get_future(); }

 private:
  std::promise<void> met_;
  std::once_flag told_;
};

TEST_F(VelkDBHelperConcurrencyTest, OtherThreadsKeepTheirOwnConnectionsDuringAQueueBlock) {
  ASSERT_EQ(store().queryForSingleResult(TypeCode::String, "PRAGMA journal_mode"), pf::Value("wal"));
  ASSERT_TRUE(store().insertObject(course("seed", "")));
  // The main thread's write goes through a connection of its own whose waiting the test can see.
  auto mainConnection = SqlDatabase::databaseWithPath(dbPath());
  ASSERT_TRUE(mainConnection->open());
  LockWatch watch(*mainConnection);
  std::future<void> mainMetTheLock = watch.met();
  std::promise<void> inside;
  std::promise<void> mainRead;
  std::vector<std::string> seenByQueueAfterwards;
  std::thread queueThread([&] {
    store().queueInDatabase([&](VelkDBHelper& db) {
      EXPECT_TRUE(db.beginTransaction());
      EXPECT_TRUE(db.insertObject(course("queued", "")));
      inside.set_value();
      mainRead.get_future().wait();
      mainMetTheLock.wait();
      EXPECT_TRUE(db.rollback());
      seenByQueueAfterwards = storedIds(db);
    });
  });

  inside.get_future().wait();
  EXPECT_EQ(storedIds(store()), std::vector<std::string>{"seed"}) << "read outside the queue's transaction";
  mainRead.set_value();
  {
    VelkDBConnection::QueueMode lent(store(), mainConnection);
    EXPECT_TRUE(store().insertObject(course("main", ""))) << "the write waits for the lock, then succeeds";
  }
  queueThread.join();
  mainConnection->close();

  EXPECT_EQ(storedIds(store()), (std::vector<std::string>{"main", "seed"}))
      << "the queue's rollback kept main's row";
  EXPECT_FALSE(seenByQueueAfterwards.empty()) << "the queue's connection stayed open for its block";
}

TEST_F(VelkDBHelperConcurrencyTest, ConcurrentWritersWaitInsteadOfFailing) {
  constexpr int kThreads = 4;
  constexpr int kRows = 25;
  std::atomic<int> failures{0};
  std::vector<std::thread> writers;
  for (int t = 0; t < kThreads; ++t) {
    writers.emplace_back([&, t] {
      const std::string prefix = "t" + std::to_string(t) + "-";
      auto batch = std::make_shared<pf::Array>();
      for (int i = 0; i < kRows; ++i) {
        if (!store().saveOrUpdateObject(course(prefix + std::to_string(i), "single"))) ++failures;
        batch->push_back(record(prefix + std::to_string(i)));
      }
      if (!store().queueInTransaction([&](VelkDBHelper& db, bool&) {
            if (!db.insertObjectsUseBatch(batch)) ++failures;
          })) {
        ++failures;
      }
      if (store().queryForList("StoreCourse", "select * from course_info").empty()) ++failures;
    });
  }
  for (std::thread& writer : writers) writer.join();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(count("course_info"), kThreads * kRows);
  EXPECT_EQ(count("study_record"), kThreads * kRows);
}

}  // namespace
