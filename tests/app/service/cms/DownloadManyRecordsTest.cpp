// The download service's work on the main loop with hundreds of records on the device: what runs for
// every chunk and every finished transfer must not grow with records times units, or a long transfer
// holds the main loop (and every tap) until it ends. Costs are counted in SQLite statements and
// virtual-machine steps, not wall time.

#include <gtest/gtest.h>

#include "core/http/HttpRequest.h"
#include "tests/app/service/cms/DownloadFixture.h"
#include "tests/app/support/SqliteStatementCounter.h"

namespace download_test {
namespace {

class DownloadManyRecordsTest : public DownloadFixture {
 protected:
  // Adds units [from, to) of course C1, each with the learner's record, finished or waiting.
  void seed(int from, int to, bool finished) {
    auto db = VelkDBHelper::instance();
    for (int i = from; i < to; ++i) {
      const std::string scoId = "S" + std::to_string(i);
      auto sco = std::make_shared<CourseSco>();
      sco->scoId = scoId;
      sco->courseId = "C1";
      ASSERT_TRUE(db->insertObject(sco));
      auto record = std::make_shared<ScoDownloadInfo>();
      record->userId = "U1";
      record->scoId = scoId;
      record->courseId = "C1";
      record->downloadId = scoId;
      record->hasDownloaded = finished;
      record->downloadState = finished ? DownloadInfo::kFinished : DownloadInfo::kWaiting;
      ASSERT_TRUE(db->saveOrUpdateObject(record));
    }
  }
  void addCourse() {
    auto course = std::make_shared<CourseInfo>();
    course->id = "C1";
    ASSERT_TRUE(VelkDBHelper::instance()->insertObject(course));
  }
  // The steps of one rebuild of the downloaded courses, which follows every finished transfer.
  long stepsOfDownloadedCourses() {
    SqliteStatementCounter counter;
    service->getDownloadedCourses();
    return SqliteStatementCounter::steps;
  }
};

// Would catch the summary's query joining every finished record to every unit of its course: four
// times the records then cost sixteen times the steps, after each of hundreds of finished transfers.
TEST_F(DownloadManyRecordsTest, RebuildingDownloadedCoursesGrowsLinearlyWithRecords) {
  addCourse();
  seed(0, 60, true);
  const long few = stepsOfDownloadedCourses();
  ASSERT_EQ(service->downloadedCourses().size(), 1u);
  EXPECT_EQ(service->downloadedCourses()[0]->downloadChapterCount, 60);
  seed(60, 240, true);
  const long many = stepsOfDownloadedCourses();
  ASSERT_EQ(service->downloadedCourses().size(), 1u);
  EXPECT_EQ(service->downloadedCourses()[0]->downloadChapterCount, 240);
  EXPECT_EQ(service->downloadedCourses()[0]->totalCount, 240);
  EXPECT_LT(many, few * 7) << "60 records: " << few << " steps, 240 records: " << many;
}

// Would catch the rebuild after each finished transfer opening a connection (and reading the schema
// again) for each of its four queries a course.
TEST_F(DownloadManyRecordsTest, RebuildingDownloadedCoursesSharesOneConnection) {
  addCourse();
  seed(0, 3, true);
  auto second = std::make_shared<CourseInfo>();
  second->id = "C2";
  ASSERT_TRUE(VelkDBHelper::instance()->insertObject(second));
  auto sco = std::make_shared<CourseSco>();
  sco->scoId = "T1";
  sco->courseId = "C2";
  ASSERT_TRUE(VelkDBHelper::instance()->insertObject(sco));
  auto record = std::make_shared<ScoDownloadInfo>();
  record->userId = "U1";
  record->scoId = "T1";
  record->courseId = "C2";
  record->hasDownloaded = true;
  record->downloadState = DownloadInfo::kFinished;
  ASSERT_TRUE(VelkDBHelper::instance()->saveOrUpdateObject(record));

  SqliteStatementCounter counter;
  service->getDownloadedCourses();
  EXPECT_EQ(SqliteStatementCounter::connections, 1);
  EXPECT_EQ(SqliteStatementCounter::statements, 9);
  ASSERT_EQ(service->downloadedCourses().size(), 2u);
  EXPECT_EQ(service->downloadedCourses()[0]->courseInfo->id, "C1");
  EXPECT_EQ(service->downloadedCourses()[0]->downloadChapterCount, 3);
  EXPECT_EQ(service->downloadedCourses()[1]->courseInfo->id, "C2");
  EXPECT_EQ(service->downloadedCourses()[1]->totalCount, 1);
}

// Would catch a store write or reload per chunk: with 500 records, progress reports touch only the
// transfer's own record in memory and run no statement.
TEST_F(DownloadManyRecordsTest, ProgressReportsRunNoStatementAndReachOnlyTheirRecord) {
  seed(0, 500, false);
  service->getDownloadInfos();
  ASSERT_EQ(service->downloadingScos().size(), 500u);
  auto request = HttpRequest::requestWithURL(pf::Url::parse(server.url("/v/S250.mp4")));
  request->userInfo.set(pf::Dictionary{{"scoId", pf::Value("S250")}});
  const auto record = service->sdiIndownloadingInfosOfScoId("S250");
  ASSERT_TRUE(record);
  record->totalSize = 1000;

  SqliteStatementCounter counter;
  for (int chunk = 1; chunk <= 200; ++chunk) {
    service->requestDidReceiveBytes(request, 5);
    service->setProgress(static_cast<float>(chunk) / 200);
  }
  EXPECT_EQ(SqliteStatementCounter::statements, 0);
  EXPECT_EQ(service->currentDownloadingSco(), record);
  EXPECT_EQ(record->downloadState, DownloadInfo::kDownloading);
  EXPECT_EQ(record->downloadedSize, 1000u);
  EXPECT_EQ(service->sdiIndownloadingInfosOfScoId("S249")->downloadState, DownloadInfo::kPaused);
  EXPECT_EQ(observer->progressReports, 200);
}

}  // namespace
}  // namespace download_test
