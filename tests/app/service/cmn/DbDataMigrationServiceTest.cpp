// The launch-time migration of the previous release's data on a launched device: resource folders,
// partial download names, and the earlier database carried into the current tables once.

#include "app/service/cmn/DbDataMigrationService.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/model/AppClasses.h"
#include "app/model/cms/CourseStudyRecord.h"
#include "app/model/cms/ScoDownloadInfo.h"
#include "app/model/cms/ScoStudyRecord.h"
#include "core/util/FileTool.h"
#include "tests/app/support/AppSandbox.h"
#include "tests/app/support/EarlierReleaseDatabase.h"

namespace {

namespace fs = std::filesystem;

class DbDataMigrationServiceTest : public AppSandbox {
 protected:
  void SetUp() override {
    AppSandbox::SetUp();
    ASSERT_EQ(launch(), InitService::DatabaseStart::Created);
    registerAppClasses();
  }

  std::string earlierDatabase() const { return FileTool::getDocumentPath() + "/Marlune/Marlune.db"; }
  std::string workingFolder() const { return FileTool::getDocumentPath() + "/dbTem"; }

  template <typename T>
  static std::vector<std::shared_ptr<T>> stored(const std::string& order = "rowid") {
    const std::map<std::string, std::string> tables{{CourseStudyRecord::kClassName, "course_study_record"},
                                                    {ScoStudyRecord::kClassName, "sco_study_record"},
                                                    {ScoDownloadInfo::kClassName, "sco_download_info"}};
    std::vector<std::shared_ptr<T>> rows;
    for (const auto& row : VelkDBHelper::instance()->queryForList(
             T::kClassName, "select * from " + tables.at(T::kClassName) + " order by " + order)) {
      rows.push_back(row.template objectAs<T>());
    }
    return rows;
  }
  static void touch(const std::string& path) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path) << "x";
  }
};

TEST_F(DbDataMigrationServiceTest, WithoutAnEarlierDatabaseOnlyFoldersAndPartialNamesChange) {
  touch(FileTool::getCourseResourcePath() + "/a/index.html");
  touch(FileTool::getMicroBlogResourcePath() + "/b.png");
  touch(FileTool::getQAResourcePath() + "/c.png");
  const std::string temp = FileTool::getDownloadTmpDir();
  touch(temp + "/s1.mp4.temp");
  touch(temp + "/s2.temp.mp4.temp");
  touch(temp + "/s3.mp4");
  const auto databaseBefore = fs::last_write_time(databasePath());

  DbDataMigrationService().beginMigrations();

  EXPECT_FALSE(fs::exists(FileTool::getCachesPath() + "/Course"));
  EXPECT_FALSE(fs::exists(FileTool::getCachesPath() + "/MicroBlog"));
  EXPECT_FALSE(fs::exists(FileTool::getCachesPath() + "/QuestionAndAnswer"));
  EXPECT_EQ(FileTool::getFileListFromDir(temp), (std::vector<std::string>{"s1.mp4", "s2.mp4", "s3.mp4"}));
  EXPECT_FALSE(fs::exists(workingFolder()));
  EXPECT_TRUE(stored<CourseStudyRecord>().empty());
  EXPECT_TRUE(stored<ScoStudyRecord>().empty());
  EXPECT_TRUE(stored<ScoDownloadInfo>().empty());
  EXPECT_EQ(fs::last_write_time(databasePath()), databaseBefore);
}

TEST_F(DbDataMigrationServiceTest, CarriesRecordsAndOneDownloadPerEarlierDownloadThenRemovesTheFolders) {
  app_test::EarlierReleaseDatabase::write(earlierDatabase());
  DbDataMigrationService migration;
  migration.beginMigrations();

  const auto courses = stored<CourseStudyRecord>("user_id");
  ASSERT_EQ(courses.size(), 2u);
  EXPECT_EQ(courses[0]->courseName, "安全生产");
  EXPECT_FLOAT_EQ(courses[0]->minStudyTime, 30);
  EXPECT_EQ(courses[0]->lastModifyTime, courses[0]->lastStudyTime);
  ASSERT_TRUE(courses[1]->lastModifyTime);
  EXPECT_EQ(courses[1]->lastModifyTime->seconds, app_test::EarlierReleaseDatabase::kLastStudy + 60);

  const auto units = stored<ScoStudyRecord>();
  ASSERT_EQ(units.size(), 6u);
  EXPECT_FLOAT_EQ(units[0]->studyRate, 55.5f);
  EXPECT_EQ(units[0]->currentPosition, 120);
  EXPECT_EQ(units[0]->courseId, "C1");

  const auto downloads = stored<ScoDownloadInfo>("sco_id");
  ASSERT_EQ(downloads.size(), 3u);
  struct Expected {
    const char* scoId;
    const char* userId;
    int state;
    bool whole;
    float progress;
    const char* file;
  };
  const Expected expected[] = {{"S1", "U1", DownloadInfo::kFinished, true, 1.0f, "s1.mp4"},
                               {"S2", "U1", DownloadInfo::kPaused, false, 0.25f, "s2.mp4"},
                               {"S3", "U2", DownloadInfo::kPaused, false, 0.0f, "s3.mp4"}};
  std::set<std::string> keys;
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(expected[i].scoId);
    const auto& record = *downloads[i];
    EXPECT_EQ(record.scoId, expected[i].scoId);
    EXPECT_EQ(record.userId, expected[i].userId);
    EXPECT_EQ(record.downloadId, expected[i].scoId);
    EXPECT_EQ(record.downloadState, expected[i].state);
    EXPECT_EQ(record.hasDownloaded, expected[i].whole);
    EXPECT_FLOAT_EQ(record.progress, expected[i].progress);
    EXPECT_EQ(record.savePath, FileTool::getDownloadDir() + "/" + expected[i].file);
    EXPECT_EQ(record.tempSavePath, FileTool::getDownloadTmpDir() + "/" + expected[i].file);
    keys.insert(record.sid.value_or(""));
  }
  for (const auto& unit : units) keys.insert(unit->sid.value_or(""));
  for (const auto& course : courses) keys.insert(course->sid.value_or(""));
  EXPECT_EQ(keys.size(), 11u);
  EXPECT_EQ(keys.begin()->size(), 32u);

  EXPECT_FALSE(fs::exists(FileTool::getDocumentPath() + "/Marlune"));
  EXPECT_FALSE(fs::exists(workingFolder()));
  ASSERT_NE(migration.db, nullptr);
  EXPECT_FALSE(migration.db->goodConnection());

  DbDataMigrationService().beginMigrations();  // the next launch finds nothing to carry
  EXPECT_EQ(stored<ScoDownloadInfo>().size(), 3u);
}

TEST_F(DbDataMigrationServiceTest, AFailedStepKeepsTheFoldersAndIsRetriedAloneAtTheNextLaunch) {
  app_test::EarlierReleaseDatabase::write(earlierDatabase(), false);
  DbDataMigrationService().beginMigrations();
  EXPECT_EQ(stored<CourseStudyRecord>().size(), 2u);
  EXPECT_TRUE(stored<ScoStudyRecord>().empty());
  EXPECT_EQ(stored<ScoDownloadInfo>().size(), 3u);
  EXPECT_TRUE(fs::exists(earlierDatabase()));
  EXPECT_TRUE(fs::exists(workingFolder()));

  // Still failing at the next launch: nothing doubles.
  relaunch();
  ASSERT_EQ(InitService().initAll(), InitService::DatabaseStart::Current);
  DbDataMigrationService().beginMigrations();
  EXPECT_EQ(stored<CourseStudyRecord>().size(), 2u);
  EXPECT_EQ(stored<ScoDownloadInfo>().size(), 3u);

  {
    auto earlier = SqlDatabase::databaseWithPath(earlierDatabase());
    ASSERT_TRUE(earlier->open());
    app_test::EarlierReleaseDatabase::addUnitTable(*earlier);
    earlier->close();
  }
  relaunch();
  ASSERT_EQ(InitService().initAll(), InitService::DatabaseStart::Current);
  DbDataMigrationService().beginMigrations();
  EXPECT_EQ(stored<CourseStudyRecord>().size(), 2u);
  EXPECT_EQ(stored<ScoStudyRecord>().size(), 6u);
  EXPECT_EQ(stored<ScoDownloadInfo>().size(), 3u);
  EXPECT_FALSE(fs::exists(FileTool::getDocumentPath() + "/Marlune"));
  EXPECT_FALSE(fs::exists(workingFolder()));
}

TEST_F(DbDataMigrationServiceTest, AStepWithoutQueryOrClassFails) {
  DbDataMigrationService migration;
  auto noQuery = std::make_shared<DataTransferObj>();
  noQuery->resultClassName = "ScoStudyRecord";
  auto noClass = std::make_shared<DataTransferObj>();
  noClass->querySql = "select 1";
  auto emptyClass = std::make_shared<DataTransferObj>(*noClass);
  emptyClass->resultClassName = "";
  for (const auto& step : {noQuery, noClass, emptyClass})
    EXPECT_FALSE(migration.migrateWithRelationObj(step));
}

}  // namespace
