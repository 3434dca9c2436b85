// Inserting and reading 100,000 rows through SqlDatabase against the same work done with raw SQLite
// prepared statements; prints the layer-to-raw time ratios at the end.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "bench/support/RatioReporter.h"
#include "core/sqlite/SqlDatabase.h"
#include "core/sqlite/SqlResultSet.h"

namespace {

constexpr int kRows = 100000;
constexpr char kCreate[] = "create table t (id integer, name text, score real)";
constexpr char kInsert[] = "insert into t (id, name, score) values (?, ?, ?)";
constexpr char kSelect[] = "select id, name, score from t";

// One database file per benchmark in a temporary folder, removed at exit.
class BenchFolder {
 public:
  BenchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "marlune-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    folder_ = pattern;
  }
  ~BenchFolder() { std::filesystem::remove_all(folder_); }
  std::string fresh(const std::string& name) {
    const std::filesystem::path file = folder_ / name;
    std::filesystem::remove(file);
    std::filesystem::remove(file.string() + "-journal");
    return file.string();
  }

 private:
  std::filesystem::path folder_;
};

BenchFolder& folder() {
  static BenchFolder instance;
  return instance;
}

std::string nameOf(int i) {
  return "learner-" + std::to_string(i);
}

void rawExec(sqlite3* db, const char* sql) {
  if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) std::abort();
}

void rawInsertRows(sqlite3* db) {
  rawExec(db, "begin exclusive transaction");
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, kInsert, -1, &insert, nullptr);
  for (int i = 0; i < kRows; ++i) {
    const std::string name = nameOf(i);
    sqlite3_bind_int64(insert, 1, i);
    sqlite3_bind_text(insert, 2, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
    sqlite3_bind_double(insert, 3, i * 0.5);
    if (sqlite3_step(insert) != SQLITE_DONE) std::abort();
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  rawExec(db, "commit transaction");
}

void layerInsertRows(SqlDatabase& db) {
  db.setShouldCacheStatements(true);
  db.beginTransaction();
  for (int i = 0; i < kRows; ++i) {
    if (!db.executeUpdate(kInsert, i, nameOf(i), i * 0.5)) std::abort();
  }
  db.commit();
}

void BM_InsertRaw(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    sqlite3* db = nullptr;
    sqlite3_open(folder().fresh("raw-insert.db").c_str(), &db);
    rawExec(db, kCreate);
    state.ResumeTiming();
    rawInsertRows(db);
    state.PauseTiming();
    sqlite3_close(db);
    state.ResumeTiming();
  }
}

void BM_InsertLayer(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto db = SqlDatabase::databaseWithPath(folder().fresh("layer-insert.db"));
    db->open();
    db->executeUpdate(kCreate);
    state.ResumeTiming();
    layerInsertRows(*db);
    state.PauseTiming();
    db->close();
    state.ResumeTiming();
  }
}

// The rows both readers walk, written once.
const std::string& filledDatabase() {
  static const std::string path = [] {
    std::string file = folder().fresh("read.db");
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    rawExec(db, kCreate);
    rawInsertRows(db);
    sqlite3_close(db);
    return file;
  }();
  return path;
}

void BM_ReadRaw(benchmark::State& state) {
  sqlite3* db = nullptr;
  sqlite3_open(filledDatabase().c_str(), &db);
  for (auto _ : state) {
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db, kSelect, -1, &select, nullptr);
    long long ids = 0;
    size_t letters = 0;
    double scores = 0;
    while (sqlite3_step(select) == SQLITE_ROW) {
      ids += sqlite3_column_int64(select, 0);
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(select, 1));
      const std::string name(text, static_cast<size_t>(sqlite3_column_bytes(select, 1)));
      letters += name.size();
      scores += sqlite3_column_double(select, 2);
    }
    sqlite3_finalize(select);
    benchmark::DoNotOptimize(ids + letters + scores);
  }
  sqlite3_close(db);
}

void BM_ReadLayer(benchmark::State& state) {
  auto db = SqlDatabase::databaseWithPath(filledDatabase());
  db->open();
  for (auto _ : state) {
    auto rs = db->executeQuery(kSelect);
    long long ids = 0;
    size_t letters = 0;
    double scores = 0;
    while (rs->next()) {
      ids += rs->longLongIntForColumn("id");
      letters += rs->stringForColumn("name")->size();
      scores += rs->doubleForColumn("score");
    }
    benchmark::DoNotOptimize(ids + letters + scores);
  }
}

BENCHMARK(BM_InsertRaw)->Apply(bench::configure);
BENCHMARK(BM_InsertLayer)->Apply(bench::configure);
BENCHMARK(BM_ReadRaw)->Apply(bench::configure);
BENCHMARK(BM_ReadLayer)->Apply(bench::configure);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  bench::RatioReporter reporter("sqlite");
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatio("insert 100000 rows", "BM_InsertLayer", "SQLite", "BM_InsertRaw");
  reporter.printRatio("read 100000 rows by name", "BM_ReadLayer", "SQLite", "BM_ReadRaw");
  benchmark::Shutdown();
  return 0;
}
