// Downloaded-course summaries, lookups and removal over a seeded table: a learner sees his own study
// record and counts, removal deletes a file only when no other learner's record refers to it, and a
// change of learner empties the lists.

#include <gtest/gtest.h>

#include "app/model/cms/CourseStudyRecord.h"
#include "app/model/cms/ScoStudyRecord.h"
#include "tests/app/service/cms/DownloadFixture.h"

namespace download_test {
namespace {

class DownloadRemovalTest : public DownloadFixture {
 protected:
  void SetUp() override {
    DownloadFixture::SetUp();
    auto db = VelkDBHelper::instance();
    for (const char* id : {"C1", "C2"}) {
      auto course = std::make_shared<CourseInfo>();
      course->id = id;
      course->courseTitle = std::string("course ") + id;
      ASSERT_TRUE(db->insertObject(course));
    }
    // Units of C1 out of show order; C2 has one.
    const std::vector<std::tuple<const char*, const char*, const char*>> units = {
        {"S1", "C1", "10"}, {"S2", "C1", "2"}, {"S3", "C1", "1.5"}, {"S4", "C2", "1"}};
    for (const auto& [scoId, courseId, order] : units) {
      auto sco = std::make_shared<CourseSco>();
      sco->scoId = scoId;
      sco->courseId = courseId;
      sco->showOrder = order;
      ASSERT_TRUE(db->insertObject(sco));
    }
    // The other learner's study record of C1 comes first in the table.
    for (const char* userId : {"U2", "U1"}) {
      auto record = std::make_shared<CourseStudyRecord>();
      record->courseId = "C1";
      record->userId = userId;
      ASSERT_TRUE(db->saveObject(record));
      auto unitRecord = std::make_shared<ScoStudyRecord>();
      unitRecord->scoId = "S1";
      unitRecord->courseId = "C1";
      unitRecord->userId = userId;
      ASSERT_TRUE(db->saveObject(unitRecord));
    }
    auto c2Record = std::make_shared<CourseStudyRecord>();
    c2Record->courseId = "C2";
    c2Record->userId = "U1";
    ASSERT_TRUE(db->saveObject(c2Record));

    sharedFile = seed("U1", "S1", "C1", true);
    seed("U2", "S1", "C1", true);
    ownFile = seed("U1", "S2", "C1", true);
    partialFile = seed("U1", "S3", "C1", false);
    seed("U1", "S4", "C2", true);
    service->getDownloadInfos();
  }

  // A row with its file (the finished one or the partial one); answers that file.
  std::string seed(const std::string& userId, const std::string& scoId, const std::string& courseId,
                   bool complete) {
    auto record = std::make_shared<ScoDownloadInfo>();
    record->userId = userId;
    record->scoId = scoId;
    record->courseId = courseId;
    record->downloadId = scoId;
    record->downloadUrlStr = server.url("/v/" + scoId + ".mp4");
    record->savePath = FileTool::getDownloadDir() + "/" + scoId + ".mp4";
    record->tempSavePath = FileTool::getDownloadTmpDir() + "/" + scoId + ".mp4";
    record->hasDownloaded = complete;
    record->downloadState = complete ? DownloadInfo::kFinished : DownloadInfo::kPaused;
    record->progress = complete ? 1.0f : 0.5f;
    const std::string file = complete ? *record->savePath : *record->tempSavePath;
    std::ofstream(file, std::ios::binary) << "video of " << scoId;
    EXPECT_TRUE(VelkDBHelper::instance()->saveOrUpdateObject(record));
    return file;
  }

  static std::shared_ptr<SelectedObject> ticked(pf::Value value, bool selected = true) {
    auto item = std::make_shared<SelectedObject>(std::move(value));
    item->selected = selected;
    return item;
  }
  std::vector<std::string> summaryCourses() {
    std::vector<std::string> ids;
    for (const auto& summary : service->downloadedCourses())
      ids.push_back(summary->courseInfo->id.value_or("?"));
    return ids;
  }

  std::string sharedFile;
  std::string ownFile;
  std::string partialFile;
};

TEST_F(DownloadRemovalTest, SummariesCountTheLearnersFinishedUnitsWithHisOwnStudyRecord) {
  EXPECT_EQ(summaryCourses(), (std::vector<std::string>{"C1", "C2"}));
  const auto summary = service->courseDownloadInfoOfCourse("C1");
  ASSERT_NE(summary->courseInfo, nullptr);
  EXPECT_EQ(summary->courseInfo->courseTitle, "course C1");
  ASSERT_NE(summary->studyRecord, nullptr);
  EXPECT_EQ(summary->studyRecord->userId, "U1");
  EXPECT_EQ(summary->downloadChapterCount, 2);
  EXPECT_EQ(summary->totalCount, 3);
  const auto none = service->courseDownloadInfoOfCourse("C9");
  EXPECT_EQ(none->downloadChapterCount, 0);
  EXPECT_EQ(none->courseInfo, nullptr);
  EXPECT_EQ(service->downloadedCount(), 3);
  EXPECT_FALSE(service->chechUnDownloadedTask());
}

TEST_F(DownloadRemovalTest, ListsOfACourse) {
  std::vector<std::string> finished;
  const auto units = service->downloadedScosOfCourse("C1");
  ASSERT_TRUE(units);
  for (const auto& sco : *units) finished.push_back(*sco->scoId);
  EXPECT_EQ(finished, (std::vector<std::string>{"S2", "S1"}));  // show order 2 before 10
  EXPECT_EQ(service->downloadedScosOfCourse(""), std::nullopt);
  EXPECT_EQ(service->downloadedScosOfCourse(std::nullopt), std::nullopt);
  auto held = service->scoDownloadedWithCourseID("C1");
  std::sort(held.begin(), held.end());
  EXPECT_EQ(held, (std::vector<std::string>{"S1", "S2", "S3"}));  // the paused one too
  EXPECT_EQ(service->downloadedSdisOfCourse("C1").size(), 2u);
  EXPECT_EQ(service->courseInfoWithCourseId("C2")->id, "C2");
  EXPECT_EQ(service->courseInfoWithCourseId(std::nullopt), nullptr);
  ASSERT_NE(service->scoInfoWithScoId("S3"), nullptr);
  const auto study = service->scoStudyInfoOfScoInfo(service->scoInfoWithScoId("S1"));
  ASSERT_NE(study, nullptr);
  EXPECT_EQ(study->userId, "U1");
  EXPECT_EQ(service->scoStudyInfoOfScoInfo(nullptr), nullptr);
}

TEST_F(DownloadRemovalTest, RemovingAUnitDeletesOnlyFilesNoOtherLearnerHolds) {
  const struct {
    const char* scoId;
    std::string file;
    bool fileStays;
    int rowsLeft;
  } cases[] = {
      {"S1", sharedFile, true, 1},    // U2 holds it too
      {"S2", ownFile, false, 0},      // finished, only U1
      {"S3", partialFile, false, 0},  // partial, only U1
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scoId);
    service->removeDownloadScosInMarkableDownloadScos(
        std::vector{ticked(pf::Value(service->sdiWithScoId(c.scoId)))});
    EXPECT_EQ(std::filesystem::exists(c.file), c.fileStays);
    EXPECT_EQ(rowCount(c.scoId), c.rowsLeft);
    EXPECT_EQ(service->sdiWithScoId(c.scoId), nullptr);
    EXPECT_EQ(observer->events.back(), std::string("removed ") + c.scoId);
  }
  EXPECT_EQ(storedState("S1", "U2"), DownloadInfo::kFinished);
  EXPECT_EQ(summaryCourses(), std::vector<std::string>{"C2"});
  // Nothing to do for a nil list or an item without a record.
  service->removeDownloadScosInMarkableDownloadScos(std::nullopt);
  service->removeDownloadScosInMarkableDownloadScos(std::vector{ticked(pf::Value(unit("S9", "/v/x.mp4")))});
  EXPECT_EQ(observer->events.size(), 3u);
}

TEST_F(DownloadRemovalTest, RemovingCoursesTakesTheirFinishedUnitsAndAlwaysReportsOnce) {
  const auto summaries = service->downloadedCourses();
  service->removeDownloadedCoursesInMarkableDownlaodedCourses(
      std::vector{ticked(pf::Value(summaries[0]), false)});
  EXPECT_EQ(observer->events, std::vector<std::string>{"removed -"});
  EXPECT_EQ(summaryCourses(), (std::vector<std::string>{"C1", "C2"}));

  service->removeDownloadedCoursesInMarkableDownlaodedCourses(std::vector{ticked(pf::Value(summaries[0]))});
  EXPECT_EQ(observer->events, (std::vector<std::string>{"removed -", "removed -"}));
  EXPECT_EQ(summaryCourses(), std::vector<std::string>{"C2"});
  EXPECT_TRUE(std::filesystem::exists(sharedFile));
  EXPECT_FALSE(std::filesystem::exists(ownFile));
  EXPECT_TRUE(std::filesystem::exists(partialFile));  // not finished: untouched
  EXPECT_EQ(storedState("S3"), DownloadInfo::kPaused);
  EXPECT_EQ(rowCount("S1"), 1);
  EXPECT_EQ(service->downloadedCount(), 1);
}

TEST_F(DownloadRemovalTest, AChangeOfLearnerEmptiesTheListsUntilHisAreLoaded) {
  EXPECT_EQ(service->downloadInfos().size(), 4u);
  EXPECT_FALSE(service->scoStudyRecords().empty());
  signIn("U3");
  EXPECT_TRUE(service->downloadInfos().empty());
  EXPECT_EQ(service->sdiWithScoId("S2"), nullptr);
  EXPECT_EQ(service->vedioPathWithScoID("S2"), std::nullopt);
  service->getDownloadInfos();
  EXPECT_TRUE(service->scoStudyRecords().empty());
  EXPECT_TRUE(service->downloadedCourses().empty());

  signIn("U2");
  service->getDownloadInfos();
  EXPECT_EQ(service->vedioPathWithScoID("S1"), sharedFile);
  ASSERT_EQ(service->scoStudyRecords().size(), 1u);
  EXPECT_EQ(service->scoStudyRecords()[0]->userId, "U2");
}

TEST_F(DownloadRemovalTest, TransfersLeftByAnEndedProcessReadAsPaused) {
  for (const int state : {DownloadInfo::kDownloading, DownloadInfo::kWaiting}) {
    auto record = service->sdiWithScoId("S3");
    record->downloadState = state;
    ASSERT_TRUE(VelkDBHelper::instance()->updateObject(record));
    service->getDownloadInfos();
    EXPECT_EQ(stateOf("S3"), DownloadInfo::kPaused) << state;
    ASSERT_EQ(service->downloadingScos().size(), 1u);
  }
}

}  // namespace
}  // namespace download_test
