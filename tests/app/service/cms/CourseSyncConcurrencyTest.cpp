// Course syncs on a background thread while the player records progress on the main thread for the
// same learner, over the HTTP engine against the stand-in: every row and value the player writes
// survives, the syncs bring what another device sent, and nothing races (run under ThreadSanitizer).

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <thread>

#include <nlohmann/json.hpp>

#include "app/service/cms/CoursePlayerService.h"
#include "app/service/cms/CourseService.h"
#include "app/service/cms/CourseSyncService.h"
#include "app/service/cms/DownloadService.h"
#include "core/open/OpenExtension.h"
#include "core/open/RequestUtil.h"
#include "core/open/ServiceManager.h"
#include "core/reflect/TypeCode.h"
#include "platform/foundation/RunLoop.h"
#include "tests/app/support/DemoServerSandbox.h"
#include "tests/core/open/ServiceErrorRecorder.h"
#include "tests/support/TemporaryFolder.h"
#include "tools/devserver/demo/DemoCms.h"
#include "tools/devserver/demo/GeneratedCatalogue.h"
#include "tools/devserver/open/OpenDataFolder.h"

namespace {

constexpr char kLearner[] = "U0001";
constexpr int kCourses = 3;
constexpr int kUnits = 4;

std::string courseId(int c) {
  return devserver::generatedCourseId(c);
}
std::string unitId(int c, int u) {
  return devserver::generatedUnitId(c, u);
}

std::shared_ptr<ScoViewInfo> unitOf(const CourseViewInfo& course, const std::string& scoId) {
  for (const auto& unit : course.scoInfoList)
    if (unit->scoId == scoId) return unit;
  return nullptr;
}

// While alive, the first statement a thread other than the main one starts with the prefix, on a
// connection opened meanwhile, holds that thread for a while: the main thread acts in between.
class StatementHold {
 public:
  explicit StatementHold(std::string prefix) {
    prefix_ = std::move(prefix);
    held_ = false;
    reached_ = false;
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(&StatementHold::onOpen));
  }
  ~StatementHold() { sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(&StatementHold::onOpen)); }
  static bool reached() { return reached_; }

  static constexpr auto kHold = std::chrono::milliseconds(500);

 private:
  static int onOpen(sqlite3* db, const char**, const void*) {
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, &StatementHold::onStatement, nullptr);
    return SQLITE_OK;
  }
  static int onStatement(unsigned, void*, void* statement, void*) {
    if (held_ || pf::RunLoop::isMainThread()) return 0;
    const char* sql = sqlite3_sql(static_cast<sqlite3_stmt*>(statement));
    if (!sql || !std::string_view(sql).starts_with(prefix_) || held_.exchange(true)) return 0;
    reached_ = true;
    pf::RunLoop::main()->wake();
    std::this_thread::sleep_for(kHold);
    return 0;
  }

  static inline std::string prefix_;
  static inline std::atomic<bool> held_{false};
  static inline std::atomic<bool> reached_{false};
};

class CourseSyncConcurrencyTest : public DemoServerSandbox {
 protected:
  void SetUp() override {
    DemoServerSandbox::SetUp();
    startServer([&](devserver::OpenServer& standIn) {
      std::string problem;
      ASSERT_TRUE(devserver::installDemoCms(standIn, writeCatalogue(), &problem)) << problem;
    });
    if (HasFatalFailure()) return;
    openSession();
    becomeCurrentUser(kLearner);
    CourseService(delegate).syncCorpStudyRateWithCorpCode(std::string("demo"));  // units pass at 80 %
    ASSERT_EQ(CourseService(delegate).getCorpStudyRate(), 80);
  }

  // kCourses video courses of kUnits units each, all held by the learner, nothing studied yet.
  std::string writeCatalogue() {
    return devserver::writeGeneratedCatalogue(folder_.path(), kCourses, kUnits, kLearner);
  }

  // Another device of the learner completes the unit at the server.
  void completeElsewhere(int c, int u, int position) {
    auto unit = std::make_shared<ScoStudyRecord>();
    unit->scoId = unitId(c, u);
    unit->courseId = courseId(c);
    unit->userId = kLearner;
    unit->currentPosition = position;
    unit->studyComplete = true;
    unit->studyRate = 100;
    auto record = std::make_shared<CourseStudyRecord>();
    record->courseId = courseId(c);
    record->userId = kLearner;
    record->scoStudyRecordList = {unit};
    auto records = std::make_shared<pf::Array>();
    records->push_back(pf::Value(pf::ObjectPtr(record)));
    ASSERT_TRUE(OpenPhoneCourseStudyRecordService(delegate).sync(records));
  }

  // The server's record of the unit, asked with an empty sync that changes nothing.
  std::shared_ptr<ScoStudyRecord> unitAtServer(int c, int u) {
    const pf::ArrayPtr records =
        OpenPhoneCourseStudyRecordService(delegate).sync(std::make_shared<pf::Array>());
    for (const pf::Value& value : records ? *records : pf::Array{}) {
      const auto record = value.objectAs<CourseStudyRecord>();
      if (record->courseId != courseId(c)) continue;
      for (const auto& unit : record->scoStudyRecordList)
        if (unit->scoId == unitId(c, u)) return unit;
    }
    return std::make_shared<ScoStudyRecord>();
  }

  static int count(const std::string& sql, const pf::Array& args = {}) {
    return VelkDBHelper::instance()->queryForSingleResult(TypeCode::Int, sql, args).intValue();
  }


 private:
  pf_test::TemporaryFolder folder_;
};

// Units 0 to 2 of each course are the player's: unit 0 has no row on the device yet (the player makes
// it), units 1 and 2 have. Unit 3 is completed on another device while the syncs run.
TEST_F(CourseSyncConcurrencyTest, EveryWriteOfThePlayerDuringSyncsSurvives) {
  constexpr int kSyncs = 3;
  constexpr int kPlayed = 3;
  CourseSyncService(delegate).syncCourseInfoAndStudyRecord();
  ASSERT_EQ(count("select count(*) from sco_study_record where user_id = ?", {kLearner}), kCourses * kUnits);
  VelkDBHelper::instance()->executeUpdate("delete from sco_study_record where sco_id like '%-0'");
  for (int c = 0; c < kCourses; ++c) completeElsewhere(c, 3, 70000);

  CourseService courses(delegate);
  struct Played {
    std::shared_ptr<CourseViewInfo> course;
    std::shared_ptr<ScoViewInfo> unit;
  };
  std::vector<Played> played;
  for (int c = 0; c < kCourses; ++c) {
    const auto course = courses.getCourseViewInfoWithCourseID(courseId(c));
    ASSERT_TRUE(course);
    for (int u = 0; u < kPlayed; ++u) {
      played.push_back({course, unitOf(*course, unitId(c, u))});
      ASSERT_TRUE(played.back().unit) << unitId(c, u);
    }
  }

  std::atomic<bool> syncing{true};
  std::thread background([&] {
    for (int i = 0; i < kSyncs; ++i) CourseSyncService(delegate).syncCourseInfoAndStudyRecord();
    syncing = false;
    pf::RunLoop::main()->wake();
  });
  // The player plays a little further on each of its units in turn; the loop also serves the main
  // queue, which the syncs use to refresh the download lists.
  CoursePlayerService player(delegate);
  std::map<std::string, int> lastPosition;
  int rounds = 0;
  while (syncing) {
    ++rounds;
    for (const Played& p : played) {
      p.unit->currentPosition = 1000 * rounds;
      player.saveStudyRecordWithCourse(p.course, p.unit, 1, 600);  // 600 s long: never completes
      lastPosition[*p.unit->scoId] = p.unit->currentPosition;
      pf::RunLoop::main()->runOnce(0);
    }
  }
  background.join();
  EXPECT_GE(rounds, 2) << "the player wrote while the syncs ran";

  for (int c = 0; c < kCourses; ++c) {
    for (int u = 0; u < kUnits; ++u) {
      SCOPED_TRACE(unitId(c, u));
      const pf::Array args{unitId(c, u), kLearner};
      ASSERT_EQ(count("select count(*) from sco_study_record where sco_id = ? and user_id = ?", args), 1);
      const int position =
          count("select current_position from sco_study_record where sco_id = ? and user_id = ?", args);
      const int complete =
          count("select study_complete from sco_study_record where sco_id = ? and user_id = ?", args);
      if (u < kPlayed) {
        EXPECT_EQ(position, lastPosition[unitId(c, u)]) << "the player's last write";
        EXPECT_EQ(complete, 0);
      } else {
        EXPECT_EQ(position, 70000) << "from the other device";
        EXPECT_EQ(complete, 1);
      }
    }
  }
  EXPECT_EQ(count("select count(*) from course_study_record where user_id = ?", {kLearner}), kCourses);
  EXPECT_EQ(count("select count(*) from course_info"), kCourses);
  EXPECT_FALSE(CourseSyncService::isSyncCourse());

  // The next sync takes the player's progress to the server.
  CourseSyncService(delegate).syncCourseInfoAndStudyRecord();
  for (int c = 0; c < kCourses; ++c)
    for (int u = 0; u < kPlayed; ++u)
      EXPECT_EQ(unitAtServer(c, u)->currentPosition, lastPosition[unitId(c, u)]) << unitId(c, u);
}

// The sync inserts the server's row of a unit the device has none of inside its transaction; the
// player opening that unit meanwhile must find it rather than insert a second row of its own.
TEST_F(CourseSyncConcurrencyTest, AUnitOpenedWhileTheSyncWritesGetsOneRow) {
  CourseSyncService(delegate).syncCourseInfoAndStudyRecord();
  VelkDBHelper::instance()->executeUpdate("delete from sco_study_record where sco_id = ?", {unitId(0, 0)});
  const auto course = CourseService(delegate).getCourseViewInfoWithCourseID(courseId(0));
  ASSERT_TRUE(course);
  const auto unit = unitOf(*course, unitId(0, 0));
  ASSERT_TRUE(unit);

  std::atomic<bool> done{false};
  std::thread background;
  {
    // The first update of the sync's study-record transaction.
    StatementHold hold("update course_study_record set course_name");
    background = std::thread([&] {
      CourseSyncService(delegate).syncCourseInfoAndStudyRecord();
      done = true;
      pf::RunLoop::main()->wake();
    });
    EXPECT_TRUE(pf::RunLoop::main()->runUntilTrue([] { return StatementHold::reached(); }, 30));
    unit->currentPosition = 5000;
    CoursePlayerService(delegate).saveStudyRecordWithCourse(course, unit, 5, 600);
  }
  EXPECT_TRUE(pf::RunLoop::main()->runUntilTrue([&] { return done.load(); }, 30));
  background.join();

  const pf::Array args{unitId(0, 0), kLearner};
  EXPECT_EQ(count("select count(*) from sco_study_record where sco_id = ? and user_id = ?", args), 1);
  EXPECT_EQ(count("select current_position from sco_study_record where sco_id = ? and user_id = ?", args),
            5000);
}

}  // namespace
