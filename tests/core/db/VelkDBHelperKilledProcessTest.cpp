// A process killed (SIGKILL) in the middle of a batch write leaves a database that passes SQLite's
// integrity check and holds every row of the batches it committed and none of the one it was writing;
// the next process writes to it as before. The killed process is this test program started again to
// run only StoreChildProcess, which commits one batch, then is killed after most rows of a second
// batch, large enough that SQLite has spilled pages of it to the write-ahead log.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/reflect/TypeCode.h"
#include "tests/core/db/StoreTestFolder.h"
#include "tests/support/ChildProcess.h"

namespace {

constexpr char kChildDatabase[] = "MARLUNE_STORE_CHILD_DATABASE";
constexpr char kChildWay[] = "MARLUNE_STORE_CHILD_WAY";
constexpr int kCommittedRows = 200;
constexpr int kBatchRows = 7000;
// The child is killed once it has written this many rows of the second batch.
constexpr int kRowsBeforeKill = 6000;

// The store's two ways of writing many rows at once: its batch call, and a transaction block.
constexpr char kBatch[] = "insertObjectsUseBatch";
constexpr char kTransaction[] = "queueInTransaction";

pf::ArrayPtr courses(const std::string& prefix, int count) {
  auto array = std::make_shared<pf::Array>();
  for (int i = 0; i < count; ++i) {
    auto course = std::make_shared<StoreCourse>();
    course->courseId = prefix + std::to_string(i);
    course->title = std::string(400, 'a' + i % 26);
    course->hours = i;
    array->push_back(pf::Value(pf::ObjectPtr(course)));
  }
  return array;
}

bool write(VelkDBHelper& store, const std::string& way, const pf::ArrayPtr& objects) {
  if (way == kBatch) return store.insertObjectsUseBatch(objects);
  return store.queueInTransaction([&](VelkDBHelper& tx, bool& rollback) {
    for (const pf::Value& object : *objects)
      if (!tx.insertObject(object.object())) rollback = true;
  });
}

// In the child, on every connection the store opens: counts the rows written and, at the row to be
// killed at, tells the parent and waits for the signal inside the write.
int rowsWritten = 0;
void onRowWritten(void*, int, const char*, const char*, sqlite3_int64) {
  if (++rowsWritten != kCommittedRows + kRowsBeforeKill) return;
  pf_test::ChildProcess::signalReady();
  while (true) pause();
}
int watchRows(sqlite3* db, const char**, const void*) {
  sqlite3_update_hook(db, &onRowWritten, nullptr);
  return SQLITE_OK;
}

TEST(StoreChildProcess, WritesBatchesUntilKilled) {
  const char* database = std::getenv(kChildDatabase);
  if (!database) GTEST_SKIP() << "runs only as the child of VelkDBHelperKilledProcessTest";
  registerStoreTestClasses();
  VelkDBHelper store(std::string(MARLUNE_FIXTURES) + "/core/db/store/store_mapping.xml", database);
  sqlite3_auto_extension(reinterpret_cast<void (*)()>(&watchRows));
  const std::string way = std::getenv(kChildWay);
  ASSERT_TRUE(write(store, way, courses("done-", kCommittedRows)));
  write(store, way, courses("cut-", kBatchRows));
  ADD_FAILURE() << "the child was not killed";
}

class VelkDBHelperKilledProcessTest : public StoreTestFolder,
                                      public ::testing::WithParamInterface<const char*> {
 protected:
  long long rowsLike(VelkDBHelper& store, const std::string& prefix) {
    return store
        .queryForSingleResult(TypeCode::LongLong, "select count(*) from course_info where id like ?",
                              {prefix + "%"})
        .longLongValue();
  }
};

TEST_P(VelkDBHelperKilledProcessTest, AKilledBatchLeavesNoRowAndAnIntactDatabase) {
  pf_test::ChildProcess child("StoreChildProcess.WritesBatchesUntilKilled",
                              {{kChildDatabase, dbPath()}, {kChildWay, GetParam()}});
  ASSERT_TRUE(child.started());
  ASSERT_TRUE(child.waitReady(60)) << "the child ended before its second batch was under way";
  ASSERT_TRUE(child.kill9());
  EXPECT_GT(std::filesystem::file_size(dbPath() + "-wal"), 1u << 20)
      << "the interrupted batch should have reached the log";

  // The next process.
  VelkDBHelper reopened(fixture("store_mapping.xml"), dbPath());
  EXPECT_EQ(reopened.queryForSingleResult(TypeCode::String, "pragma integrity_check"), pf::Value("ok"));
  EXPECT_EQ(rowsLike(reopened, "done-"), kCommittedRows);
  EXPECT_EQ(rowsLike(reopened, "cut-"), 0);
  ASSERT_TRUE(write(reopened, GetParam(), courses("cut-", kBatchRows)));
  EXPECT_EQ(rowsLike(reopened, "cut-"), kBatchRows);
  EXPECT_EQ(reopened.queryForSingleResult(TypeCode::String, "pragma integrity_check"), pf::Value("ok"));
}

INSTANTIATE_TEST_SUITE_P(Ways, VelkDBHelperKilledProcessTest, ::testing::Values(kBatch, kTransaction));

}  // namespace
