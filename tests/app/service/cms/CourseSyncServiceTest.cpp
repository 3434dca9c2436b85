// The course and study-record sync against a scripted server: what each phase changes, that a failed
// first phase still runs the second, that a second sync meanwhile returns at once, and that progress
// a player writes while the sync runs is not overwritten by the server's answer.

#include "app/service/cms/CourseSyncService.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <future>
#include <thread>

#include "app/model/cms/CourseStandard.h"
#include "app/service/cms/CoursePlayerService.h"
#include "app/service/cms/DownloadService.h"
#include "tests/app/service/cms/CourseStoreFixture.h"

namespace {

// Runs its action when the scope ends, however it ends.
class ScopeExit {
 public:
  explicit ScopeExit(std::function<void()> action) : action_(std::move(action)) {}
  ~ScopeExit() { action_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  std::function<void()> action_;
};

class CourseSyncServiceTest : public CourseStoreFixture {
 protected:
  void SetUp() override {
    CourseStoreFixture::SetUp();
    sync = std::make_unique<CourseSyncService>(delegate);
  }

  // The course ids of the records the device sent in its last study-record sync.
  std::vector<std::string> sentRecordCourses() {
    std::vector<std::string> ids;
    for (const auto& request : transport->sent()) {
      if (FakeTransport::methodPath(request) != OpenPhoneCourseStudyRecordService::kSyncPath) continue;
      ids.clear();
      const pf::Value records =
          pf::JsonSerialization::JSONObjectWithString(FakeTransport::parameters(request).at("clientRecords"));
      for (const pf::Value& record : *records.array()) ids.push_back(*record["courseId"].string());
    }
    return ids;
  }

  std::unique_ptr<CourseSyncService> sync;
};

TEST_F(CourseSyncServiceTest, CoursesAreAddedUpdatedAndDeletedForThisLearnerOnly) {
  storeCourse("SHARED", CourseStandard::kThreeScreen, "旧标题");  // another learner already holds it
  storeRecord("U2", "SHARED");
  for (const char* id : {"KEEP", "DROP"}) {
    storeCourse(id, CourseStandard::kThreeScreen);
    storeUnit(id, std::string(id) + "-1", "1");
    storeRecord("U1", id);
    storeUnitRecord("U1", id, std::string(id) + "-1", 1000);
  }
  storeRecord("U2", "DROP");
  storeUnitRecord("U2", "DROP", "DROP-1", 2000);
  storeDownload("U1", "DROP", "DROP-1");
  storeDownload("U2", "DROP", "DROP-1");
  serve(OpenCourseInfoService::kSyncCoursePath, R"({
      "addList": [{"id": "SHARED", "courseTitle": "新标题"}, {"id": "NEW", "courseTitle": "新课"}],
      "updateList": [{"id": "KEEP", "courseTitle": "改过"}],
      "deleteList": [{"id": "DROP"}]})");
  serve(OpenPhoneCourseStudyRecordService::kSyncPath, "[]");

  sync->syncCourseInfoAndStudyRecord();

  EXPECT_EQ(count("select count(*) from course_info"), 4) << "SHARED, NEW, KEEP and DROP (held by U2)";
  EXPECT_EQ(store()->queryForSingleResult(TypeCode::String,
                                          "select course_title from course_info where id = 'SHARED'"),
            pf::Value("新标题"));
  EXPECT_EQ(store()->queryForSingleResult(TypeCode::String,
                                          "select course_title from course_info where id = 'KEEP'"),
            pf::Value("改过"));
  EXPECT_EQ(count("select count(*) from course_study_record where user_id = 'U1' and course_id = 'DROP'"), 0);
  EXPECT_EQ(count("select count(*) from sco_study_record where user_id = 'U1' and course_id = 'DROP'"), 0);
  EXPECT_EQ(count("select count(*) from sco_study_record where user_id = 'U2' and course_id = 'DROP'"), 1);
  EXPECT_EQ(count("select count(*) from course_sco where course_id = 'DROP'"), 1);
  EXPECT_EQ(count("select count(*) from sco_download_info where user_id = 'U1'"), 0);
  EXPECT_EQ(count("select count(*) from sco_download_info where user_id = 'U2'"), 1);
  EXPECT_EQ(sentRecordCourses(), std::vector<std::string>{"KEEP"})
      << "the dropped course is gone before phase 2";
  EXPECT_FALSE(CourseSyncService::isSyncCourse());
}

TEST_F(CourseSyncServiceTest, TheServersRecordsAreInsertedOrWrittenOverTheLearnersOwn) {
  for (const char* id : {"A", "B", "THEIRS"}) storeCourse(id, CourseStandard::kThreeScreen);
  storeRecord("U2", "THEIRS", 10);  // only another learner holds it on this device
  storeRecord("U1", "A", 90);
  storeUnitRecord("U1", "A", "A-1", 90000, true, 100);
  storeUnitRecord("U1", "A", "A-2", 5000);
  storeRecord("U2", "A", 10);
  storeUnitRecord("U2", "A", "A-1", 7000);
  serve(OpenCourseInfoService::kSyncCoursePath, "{}");
  serve(OpenPhoneCourseStudyRecordService::kSyncPath, R"([
      {"courseId": "A", "userId": "U1", "courseName": "甲", "studyRate": 40, "studyTime": 1000,
       "scoStudyRecordList": [{"scoId": "A-1", "courseId": "A", "userId": "U1", "currentPosition": 3000},
                              {"scoId": "A-3", "courseId": "A", "userId": "U1", "currentPosition": 8000,
                               "studyComplete": true}]},
      {"courseId": "B", "userId": "U1", "studyRate": 20,
       "scoStudyRecordList": [{"scoId": "B-1", "courseId": "B", "userId": "U1", "currentPosition": 100},
                              {"scoId": "B-2", "courseId": "B", "userId": "U1"}]},
      {"courseId": "THEIRS", "userId": "U1", "studyRate": 30, "scoStudyRecordList": []}])");

  sync->syncCourseInfoAndStudyRecord();

  EXPECT_EQ(sentRecordCourses(), std::vector<std::string>{"A"});
  // The server wins over higher local progress, for this learner only.
  EXPECT_EQ(count("select study_rate from course_study_record where user_id = 'U1' and course_id = 'A'"), 40);
  EXPECT_EQ(count("select current_position from sco_study_record where user_id = 'U1' and sco_id = 'A-1'"),
            3000);
  EXPECT_EQ(count("select study_complete from sco_study_record where user_id = 'U1' and sco_id = 'A-1'"), 0);
  EXPECT_EQ(count("select current_position from sco_study_record where user_id = 'U1' and sco_id = 'A-2'"),
            5000);
  EXPECT_EQ(count("select study_complete from sco_study_record where user_id = 'U1' and sco_id = 'A-3'"), 1)
      << "a unit studied elsewhere gets its row";
  EXPECT_EQ(count("select current_position from sco_study_record where user_id = 'U2' and sco_id = 'A-1'"),
            7000);
  EXPECT_EQ(count("select study_rate from course_study_record where user_id = 'U2' and course_id = 'A'"), 10);
  // A course the device had no record of: inserted with fresh keys and all of its unit records.
  EXPECT_EQ(count("select count(*) from course_study_record where user_id = 'U1' and course_id = 'B'"), 1);
  EXPECT_EQ(count("select count(*) from sco_study_record where user_id = 'U1' and course_id = 'B'"), 2);
  EXPECT_EQ(count("select study_rate from course_study_record where user_id = 'U1' and course_id = 'THEIRS'"), 30)
      << "another learner's hold on the course does not make it this learner's";
  EXPECT_EQ(count("select study_rate from course_study_record where user_id = 'U2' and course_id = 'THEIRS'"), 10);
  EXPECT_EQ(count("select count(distinct sid) from sco_study_record"),
            count("select count(*) from sco_study_record"));
}

TEST_F(CourseSyncServiceTest, ACourseUpdatedByTheSyncShowsItsNewTitleInTheDownloadLists) {
  storeCourse("KEEP", CourseStandard::kThreeScreen, "旧标题");
  storeUnit("KEEP", "KEEP-1", "1");
  storeRecord("U1", "KEEP");
  storeDownload("U1", "KEEP", "KEEP-1");
  auto titles = [] {
    std::vector<std::string> out;
    for (const auto& course : DownloadService::instance()->courseInfos())
      out.push_back(course->courseTitle.value_or("?"));
    return out;
  };
  DownloadService::instance()->getDownloadInfos();
  ASSERT_EQ(titles(), std::vector<std::string>{"旧标题"});
  serve(OpenCourseInfoService::kSyncCoursePath, R"({"updateList": [{"id": "KEEP", "courseTitle": "改过"}]})");
  serve(OpenPhoneCourseStudyRecordService::kSyncPath, "[]");

  sync->syncCourseInfoAndStudyRecord();

  EXPECT_EQ(titles(), std::vector<std::string>{"改过"});
}

TEST_F(CourseSyncServiceTest, AFailedCourseSyncStillSendsTheStudyRecords) {
  storeCourse("A", CourseStandard::kThreeScreen);
  storeRecord("U1", "A", 30);
  serve(OpenPhoneCourseStudyRecordService::kSyncPath,
        R"([{"courseId": "A", "userId": "U1", "studyRate": 60}])");
  sync->syncCourseInfoAndStudyRecord();
  EXPECT_EQ(transport->sentPaths(), (std::vector<std::string>{OpenCourseInfoService::kSyncCoursePath,
                                                              OpenPhoneCourseStudyRecordService::kSyncPath}));
  EXPECT_EQ(count("select study_rate from course_study_record where user_id = 'U1'"), 60);
  drainMainQueue();
  ASSERT_EQ(delegate->reports->size(), 1u);
  EXPECT_EQ(delegate->reports->front().requestUri, OpenCourseInfoService::kSyncCoursePath);

  // An empty answer of the study records changes nothing.
  serve(OpenPhoneCourseStudyRecordService::kSyncPath, "[]");
  sync->syncCourseInfoAndStudyRecord();
  EXPECT_EQ(count("select study_rate from course_study_record where user_id = 'U1'"), 60);
}

// The sync runs on a background thread and is held while the server "answers" the study records;
// meanwhile a second sync returns at once and the player completes a unit on the main thread,
// through a connection of its own. The server's older values must not overwrite that progress.
TEST_F(CourseSyncServiceTest, ASecondSyncReturnsAtOnceAndPlayerWritesMeanwhileSurvive) {
  store()->setValue("80.000000", CourseService::corpStudyRateKey("corp"));
  storeCourse("A", CourseStandard::kThreeScreen);
  storeUnit("A", "A-1", "1");
  storeUnit("A", "A-2", "2");
  storeRecord("U1", "A", 0);
  storeUnitRecord("U1", "A", "A-1", 1000);
  storeUnitRecord("U1", "A", "A-2", 1000);
  serve(OpenCourseInfoService::kSyncCoursePath, "{}");
  const std::string answer = R"([{"courseId": "A", "userId": "U1", "studyRate": 0, "studyTime": 5,
      "scoStudyRecordList": [{"scoId": "A-1", "courseId": "A", "userId": "U1", "currentPosition": 2000},
                             {"scoId": "A-2", "courseId": "A", "userId": "U1", "currentPosition": 3000}]}])";
  std::atomic<bool> answering{false};
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  transport->setScript([&, released](const RemoteTransport::Request& request) {
    const std::string path = FakeTransport::methodPath(request);
    if (path == OpenCourseInfoService::kSyncCoursePath) return FakeTransport::ok("{}");
    if (path != OpenPhoneCourseStudyRecordService::kSyncPath)
      return FakeTransport::failure(HttpRequestErrorCode::ConnectionFailure);
    answering = true;
    pf::DispatchQueue::main()->async([] {});  // wakes the main loop to look
    released.wait();
    return FakeTransport::ok(answer);
  });

  std::atomic<bool> done{false};
  bool releasedOnce = false;
  auto releaseOnce = [&] {
    if (!releasedOnce) release.set_value();
    releasedOnce = true;
  };
  std::thread background([&] {
    CourseSyncService(delegate).syncCourseInfoAndStudyRecord();
    done = true;
    pf::DispatchQueue::main()->async([] {});
  });
  // A failed assertion returns early: the sync is let go and joined first, or std::terminate would end
  // the whole test binary.
  const ScopeExit joinBackground([&] {
    releaseOnce();
    if (background.joinable()) background.join();
  });
  ASSERT_TRUE(pf::RunLoop::main()->runUntilTrue([&] { return answering.load(); }, 10));
  EXPECT_TRUE(CourseSyncService::isSyncCourse());

  const std::size_t sentBefore = transport->sent().size();
  sync->syncCourseInfoAndStudyRecord();
  EXPECT_EQ(transport->sent().size(), sentBefore) << "the second sync sent nothing";

  CoursePlayerService player(delegate);
  CourseService courses(delegate);
  const auto course = courses.getCourseViewInfoWithCourseID("A");
  ASSERT_TRUE(course);
  ASSERT_EQ(course->scoInfoList.size(), 2u);
  const auto unit = course->scoInfoList[0];
  unit->currentPosition = 95000;
  player.saveStudyRecordWithCourse(course, unit, 94, 100);
  ASSERT_TRUE(unit->studyComplete);

  releaseOnce();
  ASSERT_TRUE(pf::RunLoop::main()->runUntilTrue([&] { return done.load(); }, 10));
  background.join();
  EXPECT_FALSE(CourseSyncService::isSyncCourse());

  EXPECT_EQ(count("select current_position from sco_study_record where sco_id = 'A-1'"), 95000);
  EXPECT_EQ(count("select study_complete from sco_study_record where sco_id = 'A-1'"), 1);
  EXPECT_EQ(count("select study_rate from course_study_record where course_id = 'A'"), 50);
  EXPECT_EQ(count("select current_position from sco_study_record where sco_id = 'A-2'"), 3000)
      << "untouched: server";
}

}  // namespace
