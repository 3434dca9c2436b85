#include "core/sqlite/SqlDatabase.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <future>
#include <mutex>
#include <thread>

#include "core/sqlite/SqlDateFormatter.h"
#include "core/sqlite/SqlResultSet.h"
#include "core/sqlite/SqlStatement.h"
#include "platform/foundation/Log.h"
#include "tests/core/sqlite/SqlTestFolder.h"

namespace {

using SqlDatabaseTest = SqlTestFolder;

struct BindCase {
  const char* name;
  pf::Value value;
  const char* storedType;
  const char* quoted;
};

TEST_F(SqlDatabaseTest, BindsEachKindOfValueAsItsStorageClass) {
  const BindCase cases[] = {
      {"bool", pf::Value(true), "integer", "1"},
      {"char number binds its truth", pf::Value(static_cast<char>(5)), "integer", "1"},
      {"short binds its text", pf::Value(static_cast<short>(7)), "text", "'7'"},
      {"unsigned int binds its text", pf::Value(7u), "text", "'7'"},
      {"int", pf::Value(-42), "integer", "-42"},
      {"long kept whole", pf::Value(5000000000L), "integer", "5000000000"},
      {"long long kept whole", pf::Value(9007199254740993LL), "integer", "9007199254740993"},
      {"unsigned long long keeps its bits", pf::Value(18446744073709551615ULL), "integer", "-1"},
      {"float", pf::Value(1.5f), "real", "1.5"},
      {"double", pf::Value(2.25), "real", "2.25"},
      {"date with fraction", pf::Value(pf::Date{1500000000.5}), "real", "1500000000.5"},
      {"nil", pf::Value(), "null", "NULL"},
      {"null marker", pf::Value(pf::Null{}), "null", "NULL"},
      {"empty data", pf::Value(pf::Data{}), "blob", "X''"},
      {"data", pf::Value(pf::Data{0x01, 0xab}), "blob", "X'01AB'"},
      {"text", pf::Value("it's"), "text", "'it''s'"},
  };
  auto db = openDatabase();
  ASSERT_TRUE(db->executeUpdate("create table t (v)"));
  for (const BindCase& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(db->executeUpdate("delete from t"));
    ASSERT_TRUE(db->executeUpdate("insert into t (v) values (?)", pf::Array{c.value}));
    EXPECT_EQ(db->stringForQuery("select typeof(v) from t"), c.storedType);
    EXPECT_EQ(db->stringForQuery("select quote(v) from t"), c.quoted);
  }
}

TEST_F(SqlDatabaseTest, NilInAnArgumentListBindsNullAndTheNextPlaceholderTakesTheNextArgument) {
  auto db = openDatabase();
  ASSERT_TRUE(db->executeUpdate("create table t (a, b)"));
  ASSERT_TRUE(db->executeUpdate("insert into t (a, b) values (?, ?)", pf::Value(), 2));
  EXPECT_EQ(db->stringForQuery("select quote(a) || ',' || quote(b) from t"), "NULL,2");
}

TEST_F(SqlDatabaseTest, TooFewArgumentsFailWithTheBindCountMessageAndLeaveTheConnectionUsable) {
  auto db = openDatabase();
  ASSERT_TRUE(db->executeUpdate("create table t (a, b)"));
  pf::Log::Capture log;
  EXPECT_EQ(db->executeQuery("select ?, ?", pf::Array{1}), nullptr);
  EXPECT_FALSE(db->executeUpdate("insert into t (a, b) values (?, ?)", 1));
  EXPECT_EQ(
      log.lines(),
      (std::vector<std::string>{
          "Error: the bind count is not correct for the # of variables (executeQuery)",
          "Error: the bind count (1) is not correct for the # of variables in the query (2) (insert into t "
          "(a, b) values (?, ?)) (executeUpdate)"}));
  EXPECT_TRUE(db->executeUpdate("insert into t (a, b) values (?, ?)", 1, 2));
  EXPECT_EQ(db->intForQuery("select count(*) from t"), 1);
  EXPECT_TRUE(db->close());
  EXPECT_FALSE(log.contains("Closing leaked statement"));
}

TEST_F(SqlDatabaseTest, DictionaryArgumentsBindByNameAndUnknownKeysAreSkipped) {
  auto db = openDatabase();
  ASSERT_TRUE(db->executeUpdate("create table t (a, b)"));
  pf::Log::Capture log;
  EXPECT_TRUE(
      db->executeUpdate("insert into t values (:a, :b)", pf::Dictionary{{"a", 1}, {"b", 2}, {"c", 3}}));
  EXPECT_TRUE(log.contains("Could not find index for c"));
  EXPECT_FALSE(db->executeUpdate("insert into t values (:a, :b)", pf::Dictionary{{"a", 1}, {"x", 2}}));
  EXPECT_TRUE(log.contains("Error: the bind count (1) is not correct"));
  auto rs = db->executeQuery("select b from t where a = :a", pf::Dictionary{{"a", 1}});
  ASSERT_TRUE(rs && rs->next());
  EXPECT_EQ(rs->intForColumnIndex(0), 2);
}

TEST_F(SqlDatabaseTest, BusyDatabaseIsTriedLimitPlusTwoTimesThenGivesUp) {
  auto db = openDatabase();
  ASSERT_TRUE(db->executeUpdate("create table t (a)"));
  auto holder = openDatabase();
  ASSERT_TRUE(holder->beginTransaction());
  db->setBusyRetryTimeout(2);
  int attempts = 0;
  sqlite3_busy_handler(
      db->sqliteHandle(),
      [](void* count, int) {
        ++*static_cast<int*>(count);
        return 0;
      },
      &attempts);
  pf::Log::Capture log;
  EXPECT_FALSE(db->executeUpdate("insert into t values (1)"));
  EXPECT_EQ(attempts, 4);
  ASSERT_GE(log.lines().size(), 2u);
  EXPECT_NE(log.lines()[0].find("Database busy (" + path() + ")"), std::string::npos);
  EXPECT_EQ(log.lines()[1], "Database busy");

  attempts = 0;
  auto rs = db->executeQuery("select a from t");
  ASSERT_NE(rs, nullptr);
  EXPECT_FALSE(rs->next());
  EXPECT_EQ(attempts, 4);
  EXPECT_EQ(rs->statement(), nullptr);
  EXPECT_TRUE(holder->rollback());
  EXPECT_TRUE(db->executeUpdate("insert into t values (1)"));
}

TEST_F(SqlDatabaseTest, WithoutALimitAWriterWaitsForTheLockInsteadOfFailing) {
  auto db = openDatabase();
  ASSERT_TRUE(db->executeUpdate("create table t (a)"));
  auto holder = openDatabase();
  ASSERT_TRUE(holder->beginTransaction());
  ASSERT_TRUE(holder->executeUpdate("insert into t values (1)"));
  // The holder commits only once the writer has met its lock.
  std::promise<void> busy;
  std::once_flag told;
  std::pair<std::promise<void>*, std::once_flag*> signal(&busy, &told);
  sqlite3_busy_handler(
      db->sqliteHandle(),
      [](void* context, int) {
        auto& [promise, once] = *static_cast<std::pair<std::promise<void>*, std::once_flag*>*>(context);
        std::call_once(*once, [promise = promise] { promise->set_value(); });
        return 0;  // the connection's own retry takes over
      },
      &signal);
  std::thread committer([&] {
    busy.get_future().wait();
    holder->commit();
  });
  EXPECT_TRUE(db->executeUpdate("insert into t values (2)"));
  committer.join();
  EXPECT_EQ(db->intForQuery("select count(*) from t"), 2);
}

TEST_F(SqlDatabaseTest, UpdateThatYieldsRowsThrowsAndReleasesTheConnection) {
  for (bool cached : {false, true}) {
    SCOPED_TRACE(cached ? "cached" : "uncached");
    auto db = openDatabase(cached ? "cached.db" : "plain.db");
    db->setShouldCacheStatements(cached);
    pf::Log::Capture log;
    for (int run = 0; run < 2; ++run) {
      try {
        db->executeUpdate("select 1");
        FAIL() << "no exception";
      } catch (const pf::ContractViolation& e) {
        EXPECT_STREQ(e.what(), "A executeUpdate is being called with a query string 'select 1'");
      }
    }
    EXPECT_TRUE(log.contains("Unknown error calling sqlite3_step (100: another row available) eu"));
    EXPECT_FALSE(log.contains("is currently in use"));
    EXPECT_TRUE(db->executeUpdate("create table t (a)"));
    EXPECT_TRUE(db->close());
    EXPECT_FALSE(log.contains("Closing leaked statement"));
  }
}

TEST_F(SqlDatabaseTest, ClosedConnectionRefusesWorkAndClosingNeverOpenedSucceeds) {
  auto db = SqlDatabase::databaseWithPath(path());
  EXPECT_TRUE(db->close());
  pf::Log::Capture log;
  EXPECT_FALSE(db->executeUpdate("create table t (a)"));
  EXPECT_EQ(db->executeQuery("select 1"), nullptr);
  EXPECT_FALSE(db->goodConnection());
  EXPECT_EQ(db->lastInsertRowId(), 0);
  EXPECT_EQ(log.lines().front(), "The SqlDatabase " + db->description() + " is not open.");
  ASSERT_TRUE(db->open());
  EXPECT_TRUE(db->goodConnection());
}

TEST_F(SqlDatabaseTest, AFailedOpenIsNotTakenForAnOpenConnectionLater) {
  auto db = SqlDatabase::databaseWithPath(path("missing/folder/x.db"));
  pf::Log::Capture log;
  EXPECT_FALSE(db->open());
  EXPECT_FALSE(db->open());
  EXPECT_EQ(db->sqliteHandle(), nullptr);
  EXPECT_EQ(log.lines(), (std::vector<std::string>{"error opening!: 14", "error opening!: 14"}));

  auto good = openDatabase();
  sqlite3* handle = good->sqliteHandle();
  EXPECT_TRUE(good->openWithFlags(SQLITE_OPEN_READONLY));
  EXPECT_EQ(good->sqliteHandle(), handle);
}

TEST_F(SqlDatabaseTest, SqlPathNamesMemoryAndTemporaryDatabases) {
  EXPECT_EQ(SqlDatabase::databaseWithPath(std::nullopt)->sqlitePath(), ":memory:");
  EXPECT_EQ(SqlDatabase::databaseWithPath("")->sqlitePath(), "");
  EXPECT_EQ(SqlDatabase::databaseWithPath(path())->sqlitePath(), path());
  EXPECT_TRUE(SqlDatabase::isSQLiteThreadSafe());
  EXPECT_EQ(SqlDatabase::sqliteLibVersion(), sqlite3_libversion());
  EXPECT_FALSE(SqlDatabase::databaseWithPath(path())->setKey("secret"));
}

TEST_F(SqlDatabaseTest, PreparationFailuresAreLoggedWhenAskedAndReportedAsErrors) {
  auto db = openDatabase();
  db->setLogsErrors(true);
  pf::Log::Capture log;
  EXPECT_EQ(db->executeQuery("select * from nope"), nullptr);
  EXPECT_EQ(log.lines(), (std::vector<std::string>{"DB Error: 1 \"no such table: nope\"",
                                                   "DB Query: select * from nope", "DB Path: " + path()}));
  EXPECT_TRUE(db->hadError());
  EXPECT_EQ(db->lastError()->domain(), "SqlDatabase");

  pf::ErrorPtr error;
  EXPECT_FALSE(db->update("insert into nope values (?)", &error, 1));
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(error->code(), SQLITE_ERROR);
  EXPECT_EQ(error->localizedDescription(), "no such table: nope");
}

TEST_F(SqlDatabaseTest, AStatementUsedWhileAnotherRunsIsRefusedWithTheInUseWarning) {
  auto db = openDatabase();
  ASSERT_TRUE(db->executeUpdate("create table t (a)"));
  int nested = -1;
  db->makeFunctionNamed("reenter", 0, [&](sqlite3_context* context, int, sqlite3_value**) {
    nested = db->intForQuery("select 7");
    sqlite3_result_int(context, 1);
  });
  pf::Log::Capture log;
  EXPECT_TRUE(db->executeUpdate("insert into t values (reenter())"));
  EXPECT_EQ(nested, 0);
  EXPECT_EQ(log.lines(),
            (std::vector<std::string>{"The SqlDatabase " + db->description() + " is currently in use."}));
  EXPECT_EQ(db->intForQuery("select reenter()"), 1);
  EXPECT_EQ(nested, 7);
}

TEST_F(SqlDatabaseTest, SqlFunctionsReceiveTheirArgumentsAndReportThrownErrors) {
  auto db = openDatabase();
  db->makeFunctionNamed("twice", 1, [](sqlite3_context* context, int argc, sqlite3_value** argv) {
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL)
      throw std::runtime_error("twice needs a value");
    sqlite3_result_int64(context, 2 * sqlite3_value_int64(argv[0]));
  });
  EXPECT_EQ(db->intForQuery("select twice(?)", 21), 42);
  EXPECT_EQ(db->executeQuery("select twice(null)")->next(), false);
  EXPECT_EQ(db->lastErrorMessage(), "twice needs a value");
}

TEST_F(SqlDatabaseTest, RollbackAndSavepointsUndoTheirWork) {
  auto db = openDatabase();
  ASSERT_TRUE(db->executeUpdate("create table t (a)"));
  ASSERT_TRUE(db->beginTransaction());
  EXPECT_TRUE(db->inTransaction());
  ASSERT_TRUE(db->executeUpdate("insert into t values (1)"));
  ASSERT_TRUE(db->rollback());
  EXPECT_FALSE(db->inTransaction());
  EXPECT_EQ(db->intForQuery("select count(*) from t"), 0);

  EXPECT_EQ(db->inSavePoint([&](bool& rollback) {
    db->executeUpdate("insert into t values (2)");
    rollback = true;
  }),
            nullptr);
  EXPECT_EQ(db->intForQuery("select count(*) from t"), 0);
  EXPECT_NE(sqlite3_get_autocommit(db->sqliteHandle()), 0) << "the savepoint's transaction is still open";

  EXPECT_EQ(db->inSavePoint([&](bool&) { db->executeUpdate("insert into t values (3)"); }), nullptr);
  EXPECT_EQ(db->intForQuery("select count(*) from t"), 1);

  pf::ErrorPtr error;
  EXPECT_TRUE(db->startSavePointWithName("it's", &error));
  EXPECT_TRUE(db->releaseSavePointWithName("it's", &error));
  EXPECT_FALSE(db->releaseSavePointWithName("never started", &error));
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(error->localizedDescription(), "no such savepoint: never started");
}

TEST_F(SqlDatabaseTest, CachedStatementsAreReusedButNotSharedByTwoOpenResultSets) {
  auto db = openDatabase();
  db->setShouldCacheStatements(true);
  ASSERT_TRUE(db->executeUpdate("create table t (a)"));
  for (int i = 1; i <= 3; ++i) ASSERT_TRUE(db->executeUpdate("insert into t values (?)", i));
  EXPECT_EQ(db->cachedStatementForQuery("insert into t values (?)")->useCount(), 3);

  const std::string query = "select a from t order by a";
  auto outer = db->executeQuery(query);
  ASSERT_TRUE(outer->next());
  auto inner = db->executeQuery(query);
  ASSERT_TRUE(inner->next());
  EXPECT_EQ(inner->intForColumnIndex(0), 1);
  ASSERT_TRUE(outer->next());
  EXPECT_EQ(outer->intForColumnIndex(0), 2);
  outer->close();
  inner->close();

  db->setShouldCacheStatements(false);
  EXPECT_TRUE(db->cachedStatements().empty());
}

TEST_F(SqlDatabaseTest, AStatementKeptPastItsConnectionsCloseIsFinalisedOnce) {
  auto db = openDatabase();
  auto rs = db->executeQuery("select 1");
  std::shared_ptr<SqlStatement> kept = rs->statement();
  pf::Log::Capture log;
  EXPECT_TRUE(db->close());
  EXPECT_EQ(log.lines(), std::vector<std::string>{"Closing leaked statement"});
  EXPECT_EQ(kept->statement(), nullptr);
  EXPECT_EQ(kept->close(), SQLITE_OK);
}

struct FormatCase {
  const char* format;
  pf::Array arguments;
  const char* sql;
  const char* typeLetters;  // of the extracted numbers, "-" for other values
};

TEST_F(SqlDatabaseTest, FormatsBecomePlaceholders) {
  const FormatCase cases[] = {
      {"select * from t where a = %@", {pf::Value("x")}, "select * from t where a = ?", "-"},
      {"a = %@", {pf::Value()}, "a = NULL", ""},
      {"%d %i %D %s", {5, 6, 7, "t"}, "? ? ? ?", "iii-"},
      {"%u %hi %hu %qi %qu", {1, 2, 3, 4, 5}, "? ? ? ? ?", "IsSqQ"},
      {"%ld %lu %lld %llu", {1, 2, 3, 4}, "? ? ? ?", "lLqQ"},
      {"%f %g", {1.5, 2.5}, "? ?", "df"},
      {"like '100%%'", {}, "like '100%'", ""},
      {"%x %hx %llx %q", {}, "x hx llx q", ""},
  };
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(c.format);
    std::string sql;
    pf::Array arguments;
    SqlDatabase::extractSQL(c.format, c.arguments, sql, arguments);
    EXPECT_EQ(sql, c.sql);
    std::string letters;
    for (const pf::Value& v : arguments) letters += v.isNumber() ? v.number()->typeLetter() : '-';
    EXPECT_EQ(letters, c.typeLetters);
  }
  std::string sql;
  pf::Array arguments;
  SqlDatabase::extractSQL("%c", {65}, sql, arguments);
  EXPECT_EQ(arguments, pf::Array{pf::Value("A")});

  auto db = openDatabase();
  ASSERT_TRUE(db->executeUpdate("create table t (a, b)"));
  ASSERT_TRUE(db->executeUpdateWithFormat("insert into t values (%d, %@)", 3, "it's"));
  auto rs = db->executeQueryWithFormat("select b from t where a = %d", 3);
  ASSERT_TRUE(rs && rs->next());
  EXPECT_EQ(rs->stringForColumnIndex(0), "it's");
}

TEST_F(SqlDatabaseTest, SingleValueQueriesReadTheFirstRowOrAnswerNothing) {
  auto db = openDatabase();
  ASSERT_TRUE(db->executeUpdate("create table t (s, i, r, b)"));
  ASSERT_TRUE(db->executeUpdate("insert into t values (?, ?, ?, ?)", "x", 4294967297LL, 0.5, pf::Data{1, 2}));
  EXPECT_EQ(db->stringForQuery("select s from t"), "x");
  EXPECT_EQ(db->intForQuery("select i from t where s = ?", "x"), 1);
  EXPECT_EQ(db->longForQuery("select i from t"), 1);
  EXPECT_TRUE(db->boolForQuery("select 1 from t"));
  EXPECT_EQ(db->doubleForQuery("select r from t"), 0.5);
  EXPECT_EQ(db->dataForQuery("select b from t"), (pf::Data{1, 2}));
  EXPECT_EQ(db->dateForQuery("select r from t"), pf::Date{0.5});
  EXPECT_EQ(db->stringForQuery("select s from t where s = ?", "none"), std::nullopt);
  EXPECT_EQ(db->intForQuery("select i from t where s = ?", "none"), 0);
  EXPECT_EQ(db->dataForQuery("select b from t where 0"), std::nullopt);
  EXPECT_FALSE(db->hasOpenResultSets());
}

TEST_F(SqlDatabaseTest, SchemaChecksIgnoreCaseAndTakeNamesAsValues) {
  auto db = openDatabase();
  ASSERT_TRUE(db->executeUpdate("create table Course (Title text, score int)"));
  ASSERT_TRUE(db->executeUpdate("create table [odd'name] (a)"));
  EXPECT_TRUE(db->tableExists("course"));
  EXPECT_TRUE(db->tableExists("COURSE"));
  EXPECT_FALSE(db->tableExists("nothing"));
  EXPECT_TRUE(db->columnExists("title", "COURSE"));
  EXPECT_TRUE(db->columnExists("SCORE", "course"));
  EXPECT_FALSE(db->columnExists("teacher", "course"));
  EXPECT_TRUE(db->columnExists("a", "odd'name"));
  auto schema = db->getSchema();
  ASSERT_TRUE(schema && schema->next());
  EXPECT_EQ(schema->stringForColumn("name"), "Course");
  schema->close();
  EXPECT_FALSE(db->hasOpenResultSets());
}

TEST_F(SqlDatabaseTest, ValidateSqlPreparesWithoutRunning) {
  auto db = openDatabase();
  EXPECT_TRUE(db->validateSQL("create table t (a)", nullptr));
  EXPECT_FALSE(db->tableExists("t"));
  pf::ErrorPtr error;
  EXPECT_FALSE(db->validateSQL("selec 1", &error));
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(error->domain(), "NSCocoaErrorDomain");
  EXPECT_EQ(error->code(), SQLITE_ERROR);
  EXPECT_EQ(error->localizedDescription(), "near \"selec\": syntax error");
}

TEST_F(SqlDatabaseTest, ADateFormatterStoresDatesAsText) {
  auto db = openDatabase();
  db->setDateFormat(SqlDatabase::storeableDateFormat("%Y-%m-%d %H:%M:%S"));
  ASSERT_TRUE(db->executeUpdate("create table t (d)"));
  ASSERT_TRUE(db->executeUpdate("insert into t values (?)", pf::Date{1500000000}));
  EXPECT_EQ(db->stringForQuery("select d from t"), "2017-07-14 02:40:00");
  EXPECT_EQ(db->dateForQuery("select d from t"), pf::Date{1500000000});
}

using SqlDatabaseDeathTest = SqlTestFolder;

// With crashOnErrors the process stops right after the log line that tells why.
TEST_F(SqlDatabaseDeathTest, CrashOnErrorsAbortsAfterTheLog) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        auto db = openDatabase();
        db->setLogsErrors(true);
        db->setCrashOnErrors(true);
        db->executeQuery("select from nowhere");
      },
      "DB Error: 1 .*syntax error");
  EXPECT_DEATH(
      {
        auto db = SqlDatabase::databaseWithPath(path());
        db->setCrashOnErrors(true);
        db->executeUpdate("create table t (a)");
      },
      "The SqlDatabase .* is not open");
  // Without the switch the same faults are answered, not fatal.
  auto db = openDatabase();
  db->setLogsErrors(true);
  pf::Log::Capture log;
  EXPECT_EQ(db->executeQuery("select from nowhere"), nullptr);
  EXPECT_FALSE(SqlDatabase::databaseWithPath(path())->executeUpdate("create table t (a)"));
}

}  // namespace
