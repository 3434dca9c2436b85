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
#include "core/util/MD5HexDigest.h"
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

// The earlier release kept downloads under the last name of their address alone, so two units whose
// addresses end alike shared one file. The first record keeps the file; a record of another address
// gets paths of its own and starts over; two learners' downloads of one address still share.
TEST_F(DbDataMigrationServiceTest, DownloadsWhoseAddressesEndAlikeNoLongerShareAFile) {
  app_test::EarlierReleaseDatabase::write(earlierDatabase());
  const std::string otherAddress = "http://files/other/s1.mp4";
  {
    auto earlier = SqlDatabase::databaseWithPath(earlierDatabase());
    ASSERT_TRUE(earlier->open());
    ASSERT_TRUE(earlier->executeUpdate(
        "INSERT INTO filedownlog VALUES ('S1', 'U2', 'C1', 'http://files/u/s1.mp4?v=2', 1000, 1000)"));
    ASSERT_TRUE(earlier->executeUpdate("INSERT INTO filedownlog VALUES ('S4', 'U1', 'C2', ?, 800, 800)",
                                       otherAddress));
    earlier->close();
  }
  const std::string shared = FileTool::getDownloadDir() + "/s1.mp4";
  touch(shared);
  DbDataMigrationService().beginMigrations();

  std::map<std::string, std::shared_ptr<ScoDownloadInfo>> byUnitAndUser;
  for (const auto& record : stored<ScoDownloadInfo>())
    byUnitAndUser[*record->scoId + "/" + *record->userId] = record;
  ASSERT_EQ(byUnitAndUser.size(), 5u);
  const std::string own = MD5HexDigest::MD5TO32Lower(otherAddress) + "_s1.mp4";
  const struct {
    const char* key;
    std::string savePath;
    std::string tempSavePath;
    int state;
    unsigned long long downloaded;
    float progress;
  } cases[] = {
      {"S1/U1", shared, FileTool::getDownloadTmpDir() + "/s1.mp4", DownloadInfo::kFinished, 1000, 1.0f},
      {"S1/U2", shared, FileTool::getDownloadTmpDir() + "/s1.mp4", DownloadInfo::kFinished, 1000, 1.0f},
      {"S4/U1", FileTool::getDownloadDir() + "/" + own, FileTool::getDownloadTmpDir() + "/" + own,
       DownloadInfo::kPaused, 0, 0.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    const auto& record = byUnitAndUser.at(c.key);
    EXPECT_EQ(record->savePath, c.savePath);
    EXPECT_EQ(record->tempSavePath, c.tempSavePath);
    EXPECT_EQ(record->downloadState, c.state);
    EXPECT_EQ(record->hasDownloaded, c.state == DownloadInfo::kFinished);
    EXPECT_EQ(record->downloadedSize, c.downloaded);
    EXPECT_FLOAT_EQ(record->progress, c.progress);
  }
  EXPECT_EQ(byUnitAndUser.at("S4/U1")->totalSize, 800u);
  EXPECT_TRUE(fs::exists(shared));
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
