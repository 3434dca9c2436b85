// The course sync of the app's services over the HTTP engine against the stand-in: progress made on
// the device without the server reaches it at the next sync, and a sync uses one connection for both
// phases. The last test measures a large sync; run it with --gtest_also_run_disabled_tests.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>

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
#include "tests/app/support/SqliteStatementCounter.h"
#include "tests/core/open/ServiceErrorRecorder.h"
#include "tests/support/TemporaryFolder.h"
#include "tools/devserver/demo/DemoCms.h"
#include "tools/devserver/demo/GeneratedCatalogue.h"
#include "tools/devserver/open/OpenDataFolder.h"

namespace {

class DemoCourseSyncTest : public DemoServerSandbox {
 protected:
  // The stand-in serves the course data of the folder (the demo's by default).
  void startServer(const std::string& cmsFolder = MARLUNE_DEMO_DATA) {
    DemoServerSandbox::startServer([&](devserver::OpenServer& standIn) {
      std::string problem;
      ASSERT_TRUE(devserver::installDemoCms(standIn, cmsFolder, &problem)) << problem;
    });
    if (HasFatalFailure()) return;
    openSession();
    becomeCurrentUser("U0001");
  }

  // A catalogue of `courses` courses of `units` units each, all held by the demo learner.
  std::string writeCatalogue(int courses, int units) {
    return devserver::writeGeneratedCatalogue(folder_.path(), courses, units, "U0001");
  }

  // The server's record of the learner's course, asked with an empty sync that changes nothing.
  std::shared_ptr<CourseStudyRecord> recordAtServer(const std::string& courseId) {
    const pf::ArrayPtr records =
        OpenPhoneCourseStudyRecordService(delegate).sync(std::make_shared<pf::Array>());
    if (!records) return nullptr;
    for (const pf::Value& value : *records)
      if (value.objectAs<CourseStudyRecord>()->courseId == courseId)
        return value.objectAs<CourseStudyRecord>();
    return nullptr;
  }
  std::shared_ptr<ScoStudyRecord> unitAtServer(const std::string& courseId, const std::string& scoId) {
    if (const auto record = recordAtServer(courseId))
      for (const auto& unit : record->scoStudyRecordList)
        if (unit->scoId == scoId) return unit;
    return std::make_shared<ScoStudyRecord>();
  }

  static int count(const std::string& sql) {
    return VelkDBHelper::instance()->queryForSingleResult(TypeCode::Int, sql).intValue();
  }


 private:
  pf_test::TemporaryFolder folder_;
};

TEST_F(DemoCourseSyncTest, ProgressMadeOnTheDeviceReachesTheServerAtTheNextSync) {
  startServer();
  CourseSyncService(delegate).syncCourseInfoAndStudyRecord();
  CourseService courses(delegate);
  std::vector<std::string> mine;
  for (const auto& course : courses.getMyCourse()) mine.push_back(*course->id);
  EXPECT_EQ(mine, (std::vector<std::string>{"CRS-004", "CRS-001", "CRS-007"}));
  courses.syncCorpStudyRateWithCorpCode(std::string("demo"));
  EXPECT_EQ(courses.getCorpStudyRate(), 80);

  // Studied on the device: the server hears of it only at the next sync.
  const auto course = courses.getCourseViewInfoWithCourseID("CRS-001");
  ASSERT_TRUE(course);
  ASSERT_EQ(course->scoInfoList.size(), 5u);
  const auto unit = course->scoInfoList[4];
  ASSERT_EQ(unit->scoId, "SCO-001-05");
  unit->currentPosition = 40000;
  CoursePlayerService player(delegate);
  player.saveStudyRecordWithCourse(course, unit, 40, 40);
  ASSERT_TRUE(unit->studyComplete);
  const float deviceRate = course->studyRate;
  EXPECT_FALSE(unitAtServer("CRS-001", "SCO-001-05")->studyComplete);

  CourseSyncService(delegate).syncCourseInfoAndStudyRecord();

  const auto record = recordAtServer("CRS-001");
  ASSERT_TRUE(record);
  EXPECT_GE(record->studyRate, deviceRate);
  const auto studied = unitAtServer("CRS-001", "SCO-001-05");
  EXPECT_TRUE(studied->studyComplete);
  EXPECT_EQ(studied->currentPosition, 40000);
  EXPECT_EQ(
      count("select study_complete from sco_study_record where sco_id = 'SCO-001-05' and user_id = 'U0001'"),
      1);
}

TEST_F(DemoCourseSyncTest, BothPhasesRunOnOneConnection) {
  startServer(writeCatalogue(12, 6));
  for (int run = 0; run < 2; ++run) {  // first everything is new, then everything is an update
    SqliteStatementCounter counter;
    CourseSyncService(delegate).syncCourseInfoAndStudyRecord();
    EXPECT_EQ(SqliteStatementCounter::connections.load(), 1) << "run " << run;
    EXPECT_GT(SqliteStatementCounter::statements.load(), 0);
  }
  EXPECT_EQ(count("select count(*) from course_info"), 12);
  EXPECT_EQ(count("select count(*) from course_study_record where user_id = 'U0001'"), 12);
  EXPECT_EQ(count("select count(*) from sco_study_record where user_id = 'U0001'"), 72);
}

TEST_F(DemoCourseSyncTest, DISABLED_MeasureFiveHundredCoursesOfTwentyUnits) {
  startServer(writeCatalogue(500, 20));
  for (const char* run : {"first sync (all new)", "second sync (all updates)"}) {
    SqliteStatementCounter counter;
    const auto start = std::chrono::steady_clock::now();
    CourseSyncService(delegate).syncCourseInfoAndStudyRecord();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s: %.2f s, %ld statements, %d connections\n", run, seconds,
                SqliteStatementCounter::statements.load(), SqliteStatementCounter::connections.load());
    EXPECT_EQ(SqliteStatementCounter::connections.load(), 1);
  }
  EXPECT_EQ(count("select count(*) from course_study_record"), 500);
  EXPECT_EQ(count("select count(*) from sco_study_record"), 10000);
}

}  // namespace
