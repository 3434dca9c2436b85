// The video player over a device holding 500 synced courses of 20 units: 10 minutes of a unit's video
// played with a pause every 30 s, on the virtual clock through the real player screen in the headless
// host. Counts the SQL statements each halt runs and those run while playing (the 1.0 s progress and
// 3.0 s bar timers must run none), then times one save of the halt (CoursePlayerService, as the
// player calls it) against raw SQLite running the statements that save ran, prepared once, on the same
// database file. Statements are counted by wrapping sqlite3_step and sqlite3_exec in this program: a
// statement counts once however many rows it steps through (a statement the store steps again from its
// cache without a reset between escapes the count, so the first halt's list is the one to read); SQLite's own read of the schema, which
// starts every newly opened connection, is counted apart as a connection opened (the store opens one
// per operation outside queue mode).
//   player_halt_bench 2>/dev/null

#include <dlfcn.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/controller/cmn/BaseViewController.h"
#include "app/controller/cmn/CmnViewClasses.h"
#include "app/controller/cms/CmsMainMediaPlayerViewController.h"
#include "app/controller/cms/CmsMediaPlayerBottomView.h"
#include "app/controller/cms/CmsMediaPlayerViewController.h"
#include "app/controller/cms/CmsPlayerViewClasses.h"
#include "app/model/cms/CourseViewInfo.h"
#include "app/model/cms/ScoViewInfo.h"
#include "app/service/cms/CoursePlayerService.h"
#include "app/service/cms/CourseService.h"
#include "app/service/cms/CourseSyncService.h"
#include "app/service/cms/DownloadService.h"
#include "bench/support/AppBench.h"
#include "bench/support/LoopbackBench.h"
#include "bench/support/RatioReporter.h"
#include "core/db/VelkDBHelper.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/VirtualClock.h"
#include "platform/media/MoviePlayerController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Control.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "tools/devserver/demo/GeneratedCatalogue.h"

namespace {

constexpr int kCourses = 500;
constexpr int kUnits = 20;
constexpr double kVideoSeconds = 1200;
constexpr double kPlaySeconds = 600;
constexpr double kPauseEvery = 30;
constexpr int kSaves = 2000;
constexpr char kUser[] = "U0001";
constexpr char kSchemaRead[] = ".sqlite_master ORDER BY rowid";

// What the wrapped SQLite calls saw while counting.
struct StatementLog {
  bool counting = false;
  bool capturing = false;
  int inExec = 0;
  long statements = 0;
  long schemaReads = 0;
  std::vector<std::string> captured;  // the statements with their values, while capturing
};
StatementLog& statementLog() {
  static StatementLog log;
  return log;
}

}  // namespace

// The library's own, found past this program; every statement the app runs passes here.
extern "C" int sqlite3_step(sqlite3_stmt* statement) {
  using Step = int (*)(sqlite3_stmt*);
  static const Step real = reinterpret_cast<Step>(dlsym(RTLD_NEXT, "sqlite3_step"));
  StatementLog& log = statementLog();
  if (log.counting && log.inExec == 0 && !sqlite3_stmt_busy(statement)) {
    // SQLite reads the schema itself on a connection's first statement: a connection opened.
    char* text = sqlite3_expanded_sql(statement);
    const bool schemaRead = text && std::strstr(text, kSchemaRead) != nullptr;
    sqlite3_free(text);
    if (schemaRead) {
      ++log.schemaReads;
      return real(statement);
    }
    ++log.statements;
    if (log.capturing) {
      char* sql = sqlite3_expanded_sql(statement);
      log.captured.emplace_back(sql ? sql : "");
      sqlite3_free(sql);
    }
  }
  return real(statement);
}

extern "C" int sqlite3_exec(sqlite3* db, const char* sql, int (*callback)(void*, int, char**, char**),
                            void* argument, char** error) {
  using Exec = int (*)(sqlite3*, const char*, int (*)(void*, int, char**, char**), void*, char**);
  static const Exec real = reinterpret_cast<Exec>(dlsym(RTLD_NEXT, "sqlite3_exec"));
  StatementLog& log = statementLog();
  if (log.counting && log.inExec == 0 && sql && std::strstr(sql, kSchemaRead)) {
    ++log.schemaReads;
  } else if (log.counting && log.inExec == 0) {
    ++log.statements;
    if (log.capturing) log.captured.emplace_back(sql ? sql : "");
  }
  ++log.inExec;
  const int result = real(db, sql, callback, argument, error);
  --log.inExec;
  return result;
}

namespace {

// Every unit of the generated catalogue gets a video of kVideoSeconds.
void giveUnitsVideos(const std::filesystem::path& dataFolder) {
  const auto path = dataFolder / "cms" / "catalogue.json";
  nlohmann::json data = nlohmann::json::parse(std::ifstream(path));
  for (auto& course : data["courses"])
    for (auto& unit : course["units"]) unit["videoSeconds"] = int(kVideoSeconds);
  std::ofstream(path) << data.dump();
}

long countStatements(const std::function<void()>& work, long* schemaReads = nullptr) {
  StatementLog& log = statementLog();
  const long before = log.statements, readsBefore = log.schemaReads;
  log.counting = true;
  work();
  log.counting = false;
  if (schemaReads) *schemaReads += log.schemaReads - readsBefore;
  return log.statements - before;
}

// Raw SQLite: the captured statements prepared once on a connection of its own, run in order.
double rawSaveMilliseconds(const std::string& dbPath, const std::vector<std::string>& statements) {
  sqlite3* db = nullptr;
  if (sqlite3_open(dbPath.c_str(), &db) != SQLITE_OK) return -1;
  std::vector<sqlite3_stmt*> prepared;
  for (const std::string& sql : statements) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
      std::fprintf(stderr, "raw SQLite: %s: %s\n", sql.c_str(), sqlite3_errmsg(db));
      return -1;
    }
    prepared.push_back(statement);
  }
  double best = 1e9;
  for (int round = 0; round < 7; ++round) {
    const double time = bench::seconds([&] {
      for (int i = 0; i < kSaves; ++i)
        for (sqlite3_stmt* statement : prepared) {
          while (sqlite3_step(statement) == SQLITE_ROW) {
          }
          sqlite3_reset(statement);
        }
    });
    best = std::min(best, time);
  }
  for (sqlite3_stmt* statement : prepared) sqlite3_finalize(statement);
  sqlite3_close(db);
  return best * 1e3 / kSaves;
}

}  // namespace

int main() {
  pf::RunLoop::setMainThread();
  const bench::PrivateFolder folder("marlune-player-halt-bench");
  if (folder.path().empty()) return 1;
  const auto data = bench::AppBench::copyDemoData(folder.path());
  devserver::writeGeneratedCatalogue(data, kCourses, kUnits, kUser);
  giveUnitsVideos(data);
  bench::AppBench app;
  if (!app.start(data.string(), (folder.path() / "home").string(), kUser)) return 1;
  CourseSyncService().syncCourseInfoAndStudyRecord();

  // The screen on the virtual clock, from the real time (the stand-in checks the calls' stamps).
  auto clock = std::make_shared<pf::VirtualClock>(pf::Clock::current()->wall());
  pf::Clock::install(clock);
  auto loop = pf::RunLoop::main();
  const auto runFor = [&](double seconds) { loop->runUntil(pf::Clock::now() + seconds); };
  pf::Screen::configure(pf::Screen::Profile::Phone);
  registerCmnViewClasses();
  registerCmsPlayerViewClasses();
  auto window = std::make_shared<pf::Window>();
  window->makeKeyAndVisible();
  auto root = std::make_shared<pf::NavigationController>(std::make_shared<BaseViewController>());
  window->setRootViewController(root);

  CourseService courses;
  auto course = courses.getCourseViewInfoWithCourseID(devserver::generatedCourseId(kCourses / 2));
  if (course && course->scoInfoList.empty())
    if (auto units = courses.getScoViewInfosWithCourseViewInfo(course)) course->scoInfoList = *units;
  if (!course || course->scoInfoList.size() != kUnits) {
    std::fprintf(stderr, "the synced course has no %d units\n", kUnits);
    return 1;
  }
  auto unit = course->scoInfoList[kUnits / 2];
  pf::MoviePlayerController::configureDuration(unit->videoUrl.value_or(""), kVideoSeconds);
  auto container = std::make_shared<CmsMainMediaPlayerViewController>();
  container->courseViewInfo = course;
  container->scoViewInfo = unit;
  root->pushViewController(container, false);
  runFor(2);
  auto video = std::dynamic_pointer_cast<CmsMediaPlayerViewController>(container->player());
  const auto isPlaying = [&] {
    return video && video->moviePlayerController &&
           video->moviePlayerController->playbackState() == pf::MoviePlayerController::PlaybackState::Playing;
  };
  if (!isPlaying()) {
    std::fprintf(stderr, "the unit does not play\n");
    return 1;
  }
  const auto pressPlay = [&] {
    video->hiddenToolBar(false);
    video->bottomView->playBtn.lock()->sendActionsForControlEvents(pf::Control::kTouchUpInside);
    runFor(0.05);
  };

  long playingStatements = 0, haltStatements = 0, maxHalt = 0, resumeStatements = 0, haltConnections = 0;
  int halts = 0;
  for (double played = 0; played < kPlaySeconds; played += kPauseEvery) {
    playingStatements += countStatements([&] { runFor(kPauseEvery); });
    statementLog().capturing = halts == 0;
    const long halt = countStatements(pressPlay, &haltConnections);
    statementLog().capturing = false;
    haltStatements += halt;
    maxHalt = std::max(maxHalt, halt);
    ++halts;
    if (isPlaying()) {
      std::fprintf(stderr, "the pause did not halt the video\n");
      return 1;
    }
    resumeStatements += countStatements(pressPlay);
  }
  const int position = unit->currentPosition;
  root->popViewControllerAnimated(false);
  runFor(1);
  container.reset();
  video.reset();
  window.reset();
  pf::Clock::install(nullptr);

  // One save as the halt makes it, against the statements it ran.
  CoursePlayerService player;
  const std::vector<std::string> haltSql = std::move(statementLog().captured);
  statementLog().captured.clear();
  statementLog().capturing = true;
  long saveConnections = 0;
  const long saveStatements = countStatements(
      [&] { player.saveStudyRecordWithCourse(course, unit, kPauseEvery, kVideoSeconds); }, &saveConnections);
  statementLog().capturing = false;
  double ours = 1e9;
  for (int round = 0; round < 7; ++round) {
    ours = std::min(ours, bench::seconds([&] {
      for (int i = 0; i < kSaves; ++i) player.saveStudyRecordWithCourse(course, unit, kPauseEvery, kVideoSeconds);
    }));
  }
  const double raw = rawSaveMilliseconds(VelkDBHelper::instance()->dbPath(), statementLog().captured);
  app.stop();

  std::printf("%d halts over %.0f s of play (a pause every %.0f s), %d courses of %d units synced; position %d ms\n",
              halts, kPlaySeconds, kPauseEvery, kCourses, kUnits, position);
  std::printf("player: statements per halt  %.1f (at most %ld), connections opened per halt %.1f\n",
              double(haltStatements) / halts, maxHalt, double(haltConnections) / halts);
  std::printf("player: statements while playing (progress and bar timers, %.0f s)  %ld\n", kPlaySeconds,
              playingStatements);
  std::printf("player: statements per resume  %.1f\n", double(resumeStatements) / halts);
  std::printf("player: the first halt's statements:\n");
  for (const std::string& sql : haltSql) std::printf("    %s\n", sql.c_str());
  std::printf("player: statements of one save  %ld, on %ld connections opened for it\n", saveStatements,
              saveConnections);
  if (raw < 0) return 1;
  bench::printRatioLine("player", "one halt's save over 500 courses x 20 units", ours * 1e3 / kSaves,
                        "SQLite", raw);
  return playingStatements == 0 ? 0 : 1;
}
