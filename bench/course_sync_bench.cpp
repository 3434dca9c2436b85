// The sync of 500 courses of 20 units each through CourseSyncService against the loopback stand-in:
// first onto an empty device (every row new), then again (every row an update). Against raw SQLite
// running the sync's statements on the same rows, in the same transactions, on a database of the same
// schema, without the network: the reads the sync makes (held courses, the records it sends with their
// units, held record ids, the unfinished count), then
//   new:    one transaction replacing the 500 courses, one inserting the 500 records, one inserting the
//           10,000 unit records;
//   update: one transaction replacing the 500 courses, one updating each record and each of its units
//           (guarded, by course and user, by unit and user) after reading the record's unit ids.
// The raw side leaves out the two remote calls (timed apart: the HTTP exchanges, the stand-in's own work
// included) and the app-square badge write. The client logs every answer in full: send standard error
// elsewhere.
//   course_sync_bench 2>/dev/null

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/service/cms/CourseSyncService.h"
#include "app/service/cms/DownloadService.h"
#include "bench/support/AppBench.h"
#include "bench/support/LoopbackBench.h"
#include "bench/support/RatioReporter.h"
#include "core/db/VelkDBHelper.h"
#include "core/open/HttpRemoteTransport.h"
#include "core/open/RequestUtil.h"
#include "core/reflect/TypeCode.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/RunLoop.h"
#include "tools/devserver/demo/DemoCms.h"
#include "tools/devserver/demo/GeneratedCatalogue.h"
#include "tools/devserver/open/OpenDataFolder.h"

namespace {

constexpr int kCourses = 500;
constexpr int kUnits = 20;
constexpr int kRounds = 3;
constexpr char kUser[] = "U0001";

// The HTTP engine, timing each exchange.
class TimedTransport : public RemoteTransport {
 public:
  Answer send(const Request& request) override {
    Answer answer;
    seconds += bench::seconds([&] { answer = engine_.send(request); });
    return answer;
  }
  double seconds = 0;

 private:
  HttpRemoteTransport engine_;
};

// ---- Raw SQLite

struct Cell {
  int type = SQLITE_NULL;
  sqlite3_int64 integer = 0;
  double real = 0;
  std::string text;
};
using Row = std::vector<Cell>;

// One connection with its statements prepared once, as the store caches them.
class RawDatabase {
 public:
  explicit RawDatabase(const std::string& path) {
    if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) fail("open");
    exec("PRAGMA journal_mode=WAL");
  }
  ~RawDatabase() {
    for (auto& [sql, statement] : statements_) sqlite3_finalize(statement);
    sqlite3_close(db_);
  }
  RawDatabase(const RawDatabase&) = delete;
  RawDatabase& operator=(const RawDatabase&) = delete;

  void exec(const std::string& sql) {
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) fail(sql);
  }
  // The rows of a query, or the rows an update touched as the count of changes in the first cell.
  std::vector<Row> run(const std::string& sql, const Row& arguments = {}) {
    sqlite3_stmt* statement = prepared(sql);
    for (std::size_t i = 0; i < arguments.size(); ++i) bind(statement, static_cast<int>(i) + 1, arguments[i]);
    std::vector<Row> rows;
    int step;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
      Row row(static_cast<std::size_t>(sqlite3_column_count(statement)));
      for (int i = 0; i < static_cast<int>(row.size()); ++i) row[i] = cell(statement, i);
      rows.push_back(std::move(row));
    }
    if (step != SQLITE_DONE) fail(sql);
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    return rows;
  }
  std::vector<std::string> columns(const std::string& table) {
    std::vector<std::string> names;
    for (const Row& row : run("select name from pragma_table_info(?)", {text(table)}))
      names.push_back(row[0].text);
    return names;
  }

  static Cell text(const std::string& value) {
    Cell cell;
    cell.type = SQLITE_TEXT;
    cell.text = value;
    return cell;
  }

 private:
  [[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "raw SQLite: %s: %s\n", what.c_str(), sqlite3_errmsg(db_));
    std::exit(1);
  }
  sqlite3_stmt* prepared(const std::string& sql) {
    sqlite3_stmt*& statement = statements_[sql];
    if (!statement && sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) fail(sql);
    return statement;
  }
  static void bind(sqlite3_stmt* statement, int at, const Cell& value) {
    switch (value.type) {
      case SQLITE_INTEGER:
        sqlite3_bind_int64(statement, at, value.integer);
        break;
      case SQLITE_FLOAT:
        sqlite3_bind_double(statement, at, value.real);
        break;
      case SQLITE_TEXT:
        sqlite3_bind_text(statement, at, value.text.data(), static_cast<int>(value.text.size()),
                          SQLITE_STATIC);
        break;
      default:
        sqlite3_bind_null(statement, at);
    }
  }
  static Cell cell(sqlite3_stmt* statement, int column) {
    Cell value;
    value.type = sqlite3_column_type(statement, column);
    if (value.type == SQLITE_INTEGER) value.integer = sqlite3_column_int64(statement, column);
    if (value.type == SQLITE_FLOAT) value.real = sqlite3_column_double(statement, column);
    if (value.type == SQLITE_TEXT)
      value.text.assign(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                        static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
    return value;
  }

  sqlite3* db_ = nullptr;
  std::map<std::string, sqlite3_stmt*> statements_;
};

// The schema and the rows of the database the sync wrote, which the raw side writes again.
struct Synced {
  std::vector<std::string> schema;
  std::map<std::string, std::vector<std::string>> columns;
  std::map<std::string, std::vector<Row>> rows;
};

constexpr const char* kTables[] = {"course_info", "course_study_record", "sco_study_record"};

Synced readSynced(const std::string& path) {
  RawDatabase db(path);
  Synced synced;
  for (const Row& row :
       db.run("select sql from sqlite_master where sql is not null and name not like 'sqlite_%' "
              "order by type desc"))
    synced.schema.push_back(row[0].text);
  for (const char* table : kTables) {
    synced.columns[table] = db.columns(table);
    synced.rows[table] = db.run(std::string("select * from ") + table);
  }
  return synced;
}

std::size_t indexOf(const std::vector<std::string>& columns, const std::string& name) {
  return static_cast<std::size_t>(std::find(columns.begin(), columns.end(), name) - columns.begin());
}

std::string insertSql(const char* verb, const std::string& table, const std::vector<std::string>& columns) {
  std::string names;
  std::string marks;
  for (const std::string& column : columns) {
    names += (names.empty() ? "" : ", ") + column;
    marks += marks.empty() ? "?" : ", ?";
  }
  return std::string(verb) + " into " + table + " (" + names + ") values (" + marks + ")";
}

// What the sync reads before it writes: the held courses, the records it sends with their units, the
// held record ids. Answers the records sent.
std::vector<Row> rawReads(RawDatabase& db, const Synced& synced) {
  const Row user{RawDatabase::text(kUser)};
  db.run(
      "select ci.id from course_info ci inner join course_study_record csr on csr.course_id = ci.id where "
      "csr.user_id = ?",
      user);
  std::vector<Row> records = db.run(
      "select csr.* from course_info ci inner join course_study_record csr on csr.course_id = ci.id where "
      "csr.user_id = ?",
      user);
  const std::size_t courseId = indexOf(synced.columns.at("course_study_record"), "course_id");
  for (const Row& record : records)
    db.run("select * from sco_study_record where course_id = ? and user_id = ?", {record[courseId], user[0]});
  db.run("select course_id from course_study_record where user_id = ?", user);
  return records;
}

void rawReplaceCourses(RawDatabase& db, const Synced& synced) {
  const std::string replace = insertSql("replace", "course_info", synced.columns.at("course_info"));
  db.exec("begin exclusive transaction");
  for (const Row& course : synced.rows.at("course_info")) db.run(replace, course);
  db.exec("commit transaction");
}

void rawInsertAll(RawDatabase& db, const Synced& synced, const char* table) {
  const std::string insert = insertSql("insert", table, synced.columns.at(table));
  db.exec("begin exclusive transaction");
  for (const Row& row : synced.rows.at(table)) db.run(insert, row);
  db.exec("commit transaction");
}

void rawUnfinishedCount(RawDatabase& db) {
  db.run("select count(*) from course_study_record where study_rate < 100.0 and user_id = ?",
         {RawDatabase::text(kUser)});
}

void rawSyncNew(const std::string& path, const Synced& synced) {
  RawDatabase db(path);
  rawReads(db, synced);
  rawReplaceCourses(db, synced);
  rawInsertAll(db, synced, "course_study_record");
  rawInsertAll(db, synced, "sco_study_record");
  rawUnfinishedCount(db);
}

void rawSyncUpdate(const std::string& path, const Synced& synced) {
  RawDatabase db(path);
  const std::vector<Row> sent = rawReads(db, synced);
  rawReplaceCourses(db, synced);

  const auto& recordColumns = synced.columns.at("course_study_record");
  const auto column = [&recordColumns](const char* name) { return indexOf(recordColumns, name); };
  const auto& unitColumns = synced.columns.at("sco_study_record");
  const auto unitColumn = [&unitColumns](const char* name) { return indexOf(unitColumns, name); };
  std::map<std::string, std::vector<const Row*>> unitsByCourse;
  for (const Row& unit : synced.rows.at("sco_study_record"))
    unitsByCourse[unit[unitColumn("course_id")].text].push_back(&unit);

  const Cell user = RawDatabase::text(kUser);
  db.exec("begin exclusive transaction");
  for (const Row& record : sent) {
    db.run(
        "update course_study_record set course_name = ?,study_rate = ?,score = ?, last_study_time = ?, "
        "min_study_time = ?, study_time = ?, last_modify_time = ? where course_id = ? and user_id = ? and "
        "abs(ifnull(study_rate, 0) - ?) < 0.0001 and abs(ifnull(study_time, 0) - ?) < 0.5",
        {record[column("course_name")], record[column("study_rate")], record[column("score")],
         record[column("last_study_time")], record[column("min_study_time")], record[column("study_time")],
         record[column("last_modify_time")], record[column("course_id")], user, record[column("study_rate")],
         record[column("study_time")]});
    db.run("select sco_id from sco_study_record where course_id = ? and user_id = ?",
           {record[column("course_id")], user});
    for (const Row* unit : unitsByCourse[record[column("course_id")].text]) {
      const Row& u = *unit;
      db.run(
          "update sco_study_record set current_position = ?, study_complete = ?, last_study_time = ? where "
          "sco_id = ? and user_id = ? and ifnull(current_position, 0) = ? and ifnull(study_complete, 0) = ? "
          "and abs(ifnull(study_rate, 0) - ?) < 0.0001",
          {u[unitColumn("current_position")], u[unitColumn("study_complete")],
           u[unitColumn("last_study_time")], u[unitColumn("sco_id")], user, u[unitColumn("current_position")],
           u[unitColumn("study_complete")], u[unitColumn("study_rate")]});
    }
  }
  db.exec("commit transaction");
  rawUnfinishedCount(db);
}

void createRawDatabase(const std::string& path, const Synced& synced) {
  std::filesystem::remove(path);
  RawDatabase db(path);
  for (const std::string& sql : synced.schema) db.exec(sql);
}

// ---- Ours

int storedCount(const char* table) {
  return VelkDBHelper::instance()
      ->queryForSingleResult(TypeCode::Int, std::string("select count(*) from ") + table)
      .intValue();
}

struct Best {
  double seconds = 1e9;
  double exchanges = 0;
  void take(double time, double exchangeTime) {
    if (time >= seconds) return;
    seconds = time;
    exchanges = exchangeTime;
  }
};

}  // namespace

int main() {
  pf::RunLoop::setMainThread();
  const bench::PrivateFolder folder("marlune-course-sync-bench");
  if (folder.path().empty()) {
    std::fprintf(stderr, "cannot make a temporary folder\n");
    return 1;
  }
  devserver::writeGeneratedCatalogue(folder.path() / "data", kCourses, kUnits, kUser);
  pf::Bundle::setMainBundlePath(MARLUNE_APP_RESOURCES);
  std::string problem;
  const auto demo = devserver::OpenDataFolder::read(MARLUNE_DEMO_DATA, &problem);
  if (!demo) {
    std::fprintf(stderr, "demo data: %s\n", problem.c_str());
    return 1;
  }
  devserver::OpenServer server(demo->settings);
  demo->install(server);
  if (!devserver::installDemoCms(server, (folder.path() / "data").string(), &problem) || !server.start()) {
    std::fprintf(stderr, "cannot start the stand-in: %s\n", problem.c_str());
    return 1;
  }
  auto transport = std::make_shared<TimedTransport>();
  RequestUtil::setTransport(transport);

  Best oursNew, oursUpdate, rawNew, rawUpdate;
  for (int round = 0; round < kRounds; ++round) {
    bench::AppBench::launchDevice((folder.path() / ("home" + std::to_string(round))).string(), server,
                                  demo->settings, kUser);
    if (!bench::AppBench::signIn()) {
      std::fprintf(stderr, "the demo learner cannot sign in\n");
      return 1;
    }
    for (Best* best : {&oursNew, &oursUpdate}) {
      transport->seconds = 0;
      const double time = bench::seconds([] { CourseSyncService().syncCourseInfoAndStudyRecord(); });
      best->take(time, transport->seconds);
      if (storedCount("course_study_record") != kCourses ||
          storedCount("sco_study_record") != kCourses * kUnits) {
        std::fprintf(stderr, "the sync stored %d records and %d unit records\n",
                     storedCount("course_study_record"), storedCount("sco_study_record"));
        return 1;
      }
    }
    const Synced synced = readSynced(VelkDBHelper::instance()->dbPath());
    const std::string rawPath = (folder.path() / ("raw" + std::to_string(round) + ".db")).string();
    createRawDatabase(rawPath, synced);
    rawNew.take(bench::seconds([&] { rawSyncNew(rawPath, synced); }), 0);
    rawUpdate.take(bench::seconds([&] { rawSyncUpdate(rawPath, synced); }), 0);
  }
  DownloadService::unload();
  server.stop();

  std::printf(
      "best of %d rounds; of ours, the two HTTP exchanges (the stand-in's work included) took "
      "%.0f ms (new) and %.0f ms (update)\n",
      kRounds, oursNew.exchanges * 1e3, oursUpdate.exchanges * 1e3);
  const std::string size = std::to_string(kCourses) + " courses of " + std::to_string(kUnits) + " units";
  bench::printRatioLine("course sync", size + ", all new", oursNew.seconds * 1e3, "SQLite",
                        rawNew.seconds * 1e3);
  bench::printRatioLine("course sync", size + ", all updates", oursUpdate.seconds * 1e3, "SQLite",
                        rawUpdate.seconds * 1e3);
  return 0;
}
