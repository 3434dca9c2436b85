// Batch-inserting 10,000 mapped entities through the object store and querying them back into objects,
// against raw SQLite prepared statements doing the same inserts and reads (open, one transaction,
// close; write-ahead logging on both sides); prints the store-to-raw time ratios at the end.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bench/support/RatioReporter.h"
#include "core/db/VelkDBHelper.h"
#include "platform/runtime/ClassBuilder.h"

namespace {

constexpr int kRows = 10000;

class BenchCourse : public pf::Object {
  PF_OBJECT(BenchCourse, pf::Object)
  std::optional<std::string> courseId;
  std::optional<std::string> title;
  int hours = 0;
  bool required = false;
  double score = 0;
  std::optional<pf::Date> lastModifyTime;
  static void declareProperties(pf::ClassBuilder<BenchCourse>& b) {
    PF_PROPERTY(b, courseId);
    PF_PROPERTY(b, title);
    PF_PROPERTY(b, hours);
    PF_PROPERTY(b, required);
    PF_PROPERTY(b, score);
    PF_PROPERTY(b, lastModifyTime);
  }
};

constexpr char kMapping[] = R"xml(<mapping version="1.0">
  <dataEntities elementType="DataEntity">
    <entity className="BenchCourse" tableName="course_info">
      <props elementType="DataProperty">
        <prop name="courseId" columnName="id" dbType="VARCHAR(32)" primaryKey="YES" nullable="NO"/>
        <prop name="title" dbType="VARCHAR(64)"/>
        <prop name="hours" dbType="INTEGER"/>
        <prop name="required" dbType="BOOLEAN"/>
        <prop name="score" dbType="DOUBLE"/>
        <prop name="lastModifyTime" dbType="DATETIME"/>
      </props>
    </entity>
  </dataEntities>
</mapping>)xml";

constexpr char kCreate[] =
    "create table course_info (id VARCHAR(32) NOT NULL, title VARCHAR(64), hours INTEGER, required BOOLEAN, "
    "score DOUBLE, last_modify_time DATETIME, PRIMARY KEY (id))";
constexpr char kInsert[] = "insert into course_info values (?, ?, ?, ?, ?, ?)";
constexpr char kSelect[] = "select * from course_info";

// The raw side's entity.
struct RawCourse {
  std::string courseId;
  std::string title;
  int hours = 0;
  bool required = false;
  double score = 0;
  std::optional<double> lastModifyTime;
};

// One temporary folder for the run, removed at exit.
class BenchFolder {
 public:
  BenchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "marlune-store-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    folder_ = pattern;
    std::ofstream(mapping()) << kMapping;
  }
  ~BenchFolder() { std::filesystem::remove_all(folder_); }
  std::string mapping() const { return (folder_ / "mapping.xml").string(); }
  std::string fresh(const std::string& name) const {
    const std::filesystem::path file = folder_ / name;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
      std::filesystem::remove(file.string() + suffix);
    return file.string();
  }

 private:
  std::filesystem::path folder_;
};

BenchFolder& folder() {
  static BenchFolder instance;
  return instance;
}

std::string idOf(int i) {
  char id[33];
  std::snprintf(id, sizeof id, "%032d", i);
  return id;
}

std::string titleOf(int i) {
  return "Course number " + std::to_string(i);
}

const std::vector<RawCourse>& rawCourses() {
  static const std::vector<RawCourse> courses = [] {
    std::vector<RawCourse> list;
    for (int i = 0; i < kRows; ++i)
      list.push_back({idOf(i), titleOf(i), i % 40, i % 2 == 0, i * 0.5, 1.6e9 + i});
    return list;
  }();
  return courses;
}

pf::ArrayPtr storeCourses() {
  auto list = std::make_shared<pf::Array>();
  for (const RawCourse& raw : rawCourses()) {
    auto course = std::make_shared<BenchCourse>();
    course->courseId = raw.courseId;
    course->title = raw.title;
    course->hours = raw.hours;
    course->required = raw.required;
    course->score = raw.score;
    course->lastModifyTime = pf::Date{*raw.lastModifyTime};
    list->push_back(course);
  }
  return list;
}

void rawExec(sqlite3* db, const char* sql) {
  if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) std::abort();
}

sqlite3* rawOpen(const std::string& path) {
  sqlite3* db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) std::abort();
  return db;
}

void bindText(sqlite3_stmt* statement, int index, const std::string& text) {
  sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
}

void rawInsert(const std::string& path) {
  sqlite3* db = rawOpen(path);
  rawExec(db, "begin exclusive transaction");
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, kInsert, -1, &insert, nullptr);
  for (const RawCourse& course : rawCourses()) {
    bindText(insert, 1, course.courseId);
    bindText(insert, 2, course.title);
    sqlite3_bind_int(insert, 3, course.hours);
    sqlite3_bind_int(insert, 4, course.required);
    sqlite3_bind_double(insert, 5, course.score);
    sqlite3_bind_double(insert, 6, *course.lastModifyTime);
    if (sqlite3_step(insert) != SQLITE_DONE) std::abort();
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  rawExec(db, "commit transaction");
  sqlite3_close(db);
}

std::string columnText(sqlite3_stmt* statement, int index) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, index));
  return std::string(text, static_cast<size_t>(sqlite3_column_bytes(statement, index)));
}

std::vector<RawCourse> rawQuery(const std::string& path) {
  sqlite3* db = rawOpen(path);
  sqlite3_stmt* select = nullptr;
  sqlite3_prepare_v2(db, kSelect, -1, &select, nullptr);
  std::vector<RawCourse> courses;
  while (sqlite3_step(select) == SQLITE_ROW) {
    RawCourse course;
    course.courseId = columnText(select, 0);
    course.title = columnText(select, 1);
    course.hours = sqlite3_column_int(select, 2);
    course.required = sqlite3_column_int(select, 3) != 0;
    course.score = sqlite3_column_double(select, 4);
    if (sqlite3_column_type(select, 5) != SQLITE_NULL)
      course.lastModifyTime = sqlite3_column_double(select, 5);
    courses.push_back(std::move(course));
  }
  sqlite3_finalize(select);
  sqlite3_close(db);
  return courses;
}

// A fresh raw database with the table and write-ahead logging, as the store makes it.
std::string rawDatabase(const std::string& name) {
  const std::string path = folder().fresh(name);
  sqlite3* db = rawOpen(path);
  rawExec(db, "PRAGMA journal_mode=WAL");
  rawExec(db, kCreate);
  sqlite3_close(db);
  return path;
}

std::unique_ptr<VelkDBHelper> storeDatabase(const std::string& name) {
  pf::registerClass<BenchCourse>();
  auto store = std::make_unique<VelkDBHelper>(folder().mapping(), folder().fresh(name));
  store->createDatabase();
  return store;
}

void BM_InsertRaw(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    const std::string path = rawDatabase("raw-insert.db");
    state.ResumeTiming();
    rawInsert(path);
  }
}

void BM_InsertStore(benchmark::State& state) {
  const pf::ArrayPtr courses = storeCourses();
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<VelkDBHelper> store = storeDatabase("store-insert.db");
    state.ResumeTiming();
    if (!store->insertObjectsUseBatch(courses)) std::abort();
  }
}

void BM_QueryRaw(benchmark::State& state) {
  const std::string path = rawDatabase("raw-query.db");
  rawInsert(path);
  for (auto _ : state) {
    std::vector<RawCourse> courses = rawQuery(path);
    if (courses.size() != kRows) std::abort();
    benchmark::DoNotOptimize(courses.data());
  }
}

void BM_QueryStore(benchmark::State& state) {
  std::unique_ptr<VelkDBHelper> store = storeDatabase("store-query.db");
  if (!store->insertObjectsUseBatch(storeCourses())) std::abort();
  for (auto _ : state) {
    pf::Array courses = store->queryForAll("BenchCourse");
    if (courses.size() != kRows) std::abort();
    benchmark::DoNotOptimize(courses.data());
  }
}

BENCHMARK(BM_InsertRaw)->Apply(bench::configure);
BENCHMARK(BM_InsertStore)->Apply(bench::configure);
BENCHMARK(BM_QueryRaw)->Apply(bench::configure);
BENCHMARK(BM_QueryStore)->Apply(bench::configure);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  bench::RatioReporter reporter("store");
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatio("batch insert 10000 entities", "BM_InsertStore", "SQLite", "BM_InsertRaw");
  reporter.printRatio("query 10000 entities into objects", "BM_QueryStore", "SQLite", "BM_QueryRaw");
  benchmark::Shutdown();
  return 0;
}
