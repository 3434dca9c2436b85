// The course service over the HTTP engine against the stand-in's demo catalogue, signed in as the demo
// learner (U0001, who holds CRS-001, CRS-004 and CRS-007): units stored and refreshed from the server,
// download flags, promoted courses, comments with their argument rules, and the course badge.

#include <gtest/gtest.h>

#include <functional>

#include "app/model/cmn/MobileApp.h"
#include "app/model/cms/CourseStandard.h"
#include "app/model/cms/PopularizeResource.h"
#include "app/model/cms/ScoDownloadInfo.h"
#include "app/service/cmn/ReminderService.h"
#include "app/service/cms/CourseService.h"
#include "app/service/cms/CourseSyncService.h"
#include "app/service/cms/DownloadService.h"
#include "core/open/OpenExtension.h"
#include "core/open/RequestUtil.h"
#include "core/open/ServiceManager.h"
#include "core/reflect/TypeCode.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/RunLoop.h"
#include "tests/app/support/DemoServerSandbox.h"
#include "tests/core/open/ServiceErrorRecorder.h"
#include "tools/devserver/demo/CourseCatalogue.h"
#include "tools/devserver/demo/DemoCms.h"
#include "tools/devserver/open/OpenDataFolder.h"

namespace {

using Names = std::vector<std::string>;

class CourseServiceDemoTest : public DemoServerSandbox {
 protected:
  void SetUp() override {
    DemoServerSandbox::SetUp();
    startServer([](devserver::OpenServer& standIn) {
      std::string problem;
      ASSERT_TRUE(devserver::installDemoCms(standIn, MARLUNE_DEMO_DATA, &problem)) << problem;
    });
    if (HasFatalFailure()) return;
    openSession();
    becomeCurrentUser("U0001");
    service = std::make_unique<CourseService>(delegate);
  }
  void TearDown() override {
    service.reset();
    DemoServerSandbox::TearDown();
  }

  static void signIn(const std::string& userId) {
    auto user = std::make_shared<User>();
    user->userId = userId;
    user->corpCode = "demo";
    CommonService().updateCurrentUser(user);
  }

  // The learner's courses and records as the server holds them.
  void syncHisCourses() { CourseSyncService(delegate).syncCourseInfoAndStudyRecord(); }

  // The paths of the failures the delegate heard of so far.
  std::vector<std::string> reportedPaths() {
    bool drained = false;
    pf::DispatchQueue::main()->async([&] { drained = true; });
    EXPECT_TRUE(pf::RunLoop::main()->runUntilTrue([&] { return drained; }, 5));
    std::vector<std::string> paths;
    for (const auto& report : *delegate->reports) paths.push_back(report.requestUri);
    delegate->reports->clear();
    return paths;
  }

  std::size_t callsTo(const std::string& path) const { return server->calls(path).size(); }

  // The server answers the method with this body (or fails it with an error record when empty).
  void answer(const std::string& path, const std::string& body) {
    server->method(path, [body](const devserver::OpenCall&) {
      return body.empty() ? devserver::OpenAnswer::error("demo.down", "down") : devserver::OpenAnswer::json(body);
    });
  }

  static int count(const std::string& sql) {
    return VelkDBHelper::instance()->queryForSingleResult(TypeCode::Int, sql).intValue();
  }
  static std::string storedName(const std::string& scoId) {
    const pf::Value name = VelkDBHelper::instance()->queryForSingleResult(
        TypeCode::String, "select sco_name from course_sco where sco_id = ?", {scoId});
    return name.isString() ? *name.string() : "(none)";
  }

  static std::shared_ptr<CourseViewInfo> view(const std::string& id, const std::string& standard,
                                              const std::string& title = "课程") {
    auto course = std::make_shared<CourseViewInfo>();
    course->id = id;
    course->courseStandard = standard;
    course->courseTitle = title;
    return course;
  }
  static std::shared_ptr<ScoViewInfo> unit(const std::string& scoId, bool hasDownload = false) {
    auto made = std::make_shared<ScoViewInfo>();
    made->scoId = scoId;
    made->hasDownload = hasDownload;
    return made;
  }
  static void storeDownload(const std::string& userId, const std::string& courseId, const std::string& scoId,
                            int state) {
    auto record = std::make_shared<ScoDownloadInfo>();
    record->userId = userId;
    record->courseId = courseId;
    record->scoId = scoId;
    record->downloadId = scoId;
    record->downloadState = state;
    record->hasDownloaded = state == DownloadInfo::kFinished;
    ASSERT_TRUE(VelkDBHelper::instance()->saveObject(record));
  }
  static Names namesOf(const CourseService::ScoViews& units) {
    Names names;
    for (const auto& u : units) names.push_back(u->scoId.value_or("?") + " " + u->scoName.value_or("(nil)"));
    return names;
  }
  static std::shared_ptr<Page> firstPage() {
    auto page = std::make_shared<Page>();
    page->pageNo = 1;
    page->pageSize = 20;
    return page;
  }

  std::unique_ptr<CourseService> service;
};

TEST_F(CourseServiceDemoTest, UnitsAreStoredOnceRenumberedOrNotAtAll) {
  const struct {
    const char* what;
    std::shared_ptr<CourseViewInfo> course;
    bool stored;
    Names names;  // the stored units by show order
    std::size_t serverCalls;
    std::vector<std::string> reported;
  } cases[] = {
      {"no course", nullptr, false, {}, 0, {}},
      {"units from the server",
       view("CRS-009", CourseStandard::kThreeScreen),
       true,
       {"SCO-009-01 1.认识情绪", "SCO-009-02 2.压力与调节"},
       1,
       {}},
      {"a single-video course makes its one unit", view("CRS-003", CourseStandard::kOneScreen, "新员工安全培训"),
       true, {"? 1.新员工安全培训"}, 0, {}},
      {"the server has no units", view("CRS-005", "OLINEURL"), false, {}, 1, {}},
      {"the server refuses", view("NO-SUCH", CourseStandard::kThreeScreen), false, {}, 1,
       {OpenCourseInfoService::kGetCourseScoListPath}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::size_t before = callsTo(OpenCourseInfoService::kGetCourseScoListPath);
    EXPECT_EQ(service->judgeHasScoInfoAndDownloadScoInfoWithCourseViewInfo(c.course), c.stored);
    EXPECT_EQ(callsTo(OpenCourseInfoService::kGetCourseScoListPath) - before, c.serverCalls);
    EXPECT_EQ(reportedPaths(), c.reported);
    if (!c.course) continue;
    Names names;
    for (const auto& row : VelkDBHelper::instance()->queryForList(
             CourseSco::kClassName, "select * from course_sco where course_id = ? order by show_order",
             {*c.course->id})) {
      const auto sco = row.objectAs<CourseSco>();
      const bool generated = sco->scoId && sco->scoId->size() == 32;
      names.push_back((generated ? "?" : sco->scoId.value_or("(nil)")) + " " + sco->scoName.value_or("(nil)"));
      if (generated) {
        EXPECT_EQ(sco->showOrder, "1.0");
        EXPECT_EQ(sco->videoUrl, c.course->videoUrl);
      }
    }
    EXPECT_EQ(names, c.names);
    // Once stored, the course's units are never asked for again.
    if (c.stored) {
      const std::size_t again = callsTo(OpenCourseInfoService::kGetCourseScoListPath);
      EXPECT_TRUE(service->judgeHasScoInfoAndDownloadScoInfoWithCourseViewInfo(c.course));
      EXPECT_EQ(callsTo(OpenCourseInfoService::kGetCourseScoListPath), again);
    }
  }
}

TEST_F(CourseServiceDemoTest, StoringUnitsRebuildsTheDownloadListsAndARefusedBatchStoresNothing) {
  DownloadService::instance()->getDownloadInfos();
  storeDownload("U0001", "CRS-009", "SCO-009-01", DownloadInfo::kFinished);
  ASSERT_TRUE(DownloadService::instance()->downloadInfos().empty()) << "not read yet";
  ASSERT_TRUE(service->judgeHasScoInfoAndDownloadScoInfoWithCourseViewInfo(view("CRS-009", "THREESCREEN")));
  EXPECT_EQ(DownloadService::instance()->downloadInfos().size(), 1u);

  VelkDBHelper::instance()->executeUpdate(
      "CREATE TRIGGER refuse_units BEFORE INSERT ON course_sco BEGIN SELECT RAISE(ABORT, 'full'); END");
  EXPECT_FALSE(service->judgeHasScoInfoAndDownloadScoInfoWithCourseViewInfo(view("CRS-001", "THREESCREEN")));
  EXPECT_EQ(count("select count(*) from course_sco where course_id = 'CRS-001'"), 0);
  EXPECT_FALSE(service->getScoViewInfosWithCourseViewInfo(view("CRS-001", "THREESCREEN"), true));
}

TEST_F(CourseServiceDemoTest, RefreshingRewritesTheStoredUnitsAndKeepsTheLearnersProgress) {
  syncHisCourses();
  const auto course = service->getCourseViewInfoWithCourseID("CRS-001");
  ASSERT_TRUE(course);
  ASSERT_EQ(course->scoInfoList.size(), 5u);
  ASSERT_EQ(course->scoInfoList[1]->scoId, "SCO-001-02");
  ASSERT_EQ(course->scoInfoList[1]->currentPosition, 30000);

  // The server renamed two units and added one.
  answer(OpenCourseInfoService::kGetCourseScoListPath,
         R"([{"courseId": "CRS-001", "scoId": "SCO-001-02", "scoName": "二.如何倾听", "showOrder": "2"},
             {"courseId": "CRS-001", "scoId": "SCO-001-01", "scoName": "第1节：开篇", "showOrder": "1",
              "isChapter": true},
             {"courseId": "CRS-001", "scoId": "SCO-001-99", "scoName": "新增", "showOrder": "3"}])");
  const auto refreshed = service->synScoInfoWithCourseViewInfo(course, true);
  ASSERT_TRUE(refreshed);
  EXPECT_EQ(storedName("SCO-001-01"), "1.开篇");
  EXPECT_EQ(storedName("SCO-001-02"), "2.如何倾听");
  EXPECT_EQ(storedName("SCO-001-99"), "(none)") << "units new on the server are not added here";
  EXPECT_EQ(count("select count(*) from course_sco where course_id = 'CRS-001'"), 5);
  ASSERT_EQ(refreshed->size(), 5u);
  EXPECT_EQ((*refreshed)[0]->scoName, "1.开篇");
  EXPECT_EQ((*refreshed)[1]->scoName, "2.如何倾听");
  EXPECT_EQ((*refreshed)[1]->currentPosition, 30000);
  EXPECT_TRUE((*refreshed)[1]->studyComplete);
  EXPECT_EQ(reportedPaths(), std::vector<std::string>{});
}

TEST_F(CourseServiceDemoTest, ARefreshWithoutNewUnitsAnswersTheCurrentList) {
  syncHisCourses();
  const auto course = service->getCourseViewInfoWithCourseID("CRS-001");
  ASSERT_TRUE(course);
  const Names before = namesOf(course->scoInfoList);
  const struct {
    const char* what;
    const char* answer;  // empty: the call fails
    std::vector<std::string> reported;
  } cases[] = {
      {"the server fails", "", {OpenCourseInfoService::kGetCourseScoListPath}},
      {"the server has none", "[]", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    answer(OpenCourseInfoService::kGetCourseScoListPath, c.answer);
    const auto kept = service->synScoInfoWithCourseViewInfo(course, true);
    ASSERT_TRUE(kept);
    EXPECT_EQ(namesOf(*kept), before);
    EXPECT_EQ(count("select count(*) from course_sco where course_id = 'CRS-001'"), 5);
    EXPECT_EQ(reportedPaths(), c.reported);
  }
  EXPECT_FALSE(service->synScoInfoWithCourseViewInfo(nullptr, true));

  // A single-video course is its own unit: the server is not asked.
  const std::size_t calls = callsTo(OpenCourseInfoService::kGetCourseScoListPath);
  auto single = view("CRS-003", CourseStandard::kOneScreen);
  single->scoInfoList = {unit("ONE")};
  const auto same = service->synScoInfoWithCourseViewInfo(single, true);
  ASSERT_TRUE(same);
  EXPECT_EQ(namesOf(*same), Names{"ONE (nil)"});
  EXPECT_EQ(callsTo(OpenCourseInfoService::kGetCourseScoListPath), calls);
}

TEST_F(CourseServiceDemoTest, RefreshingACourseNotHeldStoresNothingAndShowsTheServersNames) {
  const auto units = service->synScoInfoWithCourseViewInfo(view("CRS-009", "THREESCREEN"), false);
  ASSERT_TRUE(units);
  EXPECT_EQ(namesOf(*units), (Names{"SCO-009-01 认识情绪", "SCO-009-02 压力与调节"}));
  EXPECT_EQ(count("select count(*) from course_sco"), 0);
}

TEST_F(CourseServiceDemoTest, DownloadFlagsComeFromTheLearnersOwnRecordsOfTheCourse) {
  storeDownload("U0001", "C", "S1", DownloadInfo::kFinished);
  storeDownload("U0001", "C", "S2", DownloadInfo::kPaused);
  storeDownload("U0002", "C", "S3", DownloadInfo::kFinished);      // another learner's
  storeDownload("U0001", "OTHER", "S4", DownloadInfo::kFinished);  // his, of another course
  const struct {
    const char* what;
    std::optional<std::string> courseId;
    std::vector<bool> flags;  // of S1, S2, S3, S4
  } cases[] = {
      {"his records of the course, any state", "C", {true, true, false, false}},
      {"a course he downloaded nothing of clears every flag", "NONE", {false, false, false, false}},
      {"no course", std::nullopt, {false, false, false, false}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const CourseService::ScoViews units = {unit("S1", true), unit("S2", true), unit("S3", true), unit("S4", true)};
    const auto flagged = service->getScoViewInfosForIsDownloadWithScoInfos(units, c.courseId);
    ASSERT_TRUE(flagged);
    std::vector<bool> flags;
    for (const auto& u : *flagged) flags.push_back(u->hasDownload);
    EXPECT_EQ(flags, c.flags);
  }
  EXPECT_FALSE(service->getScoViewInfosForIsDownloadWithScoInfos({}, std::string("C")));
}

TEST_F(CourseServiceDemoTest, PromotedCoursesArriveInTheServersOrder) {
  const pf::ArrayPtr promoted = service->getRecommendResource();
  ASSERT_TRUE(promoted);
  std::vector<std::string> courses;
  for (const pf::Value& value : *promoted) {
    const auto resource = value.objectAs<PopularizeResource>();
    ASSERT_TRUE(resource);
    courses.push_back(resource->courseId.value_or("?") + " " + resource->courseName.value_or("?"));
    EXPECT_EQ(resource->coverImgBig,
              "http://" + server->host() + std::string(devserver::CourseCatalogue::kCoverPath) + resource->courseId.value_or("") + ".png");
  }
  EXPECT_EQ(courses, (std::vector<std::string>{"CRS-004 团队领导力", "CRS-001 高效沟通的艺术",
                                                "CRS-009 情绪管理"}));

  answer(OpenCourseInfoService::kLoadPopularizeCoursePath, "");
  EXPECT_FALSE(service->getRecommendResource());
  EXPECT_EQ(reportedPaths(), std::vector<std::string>{OpenCourseInfoService::kLoadPopularizeCoursePath});
}

TEST_F(CourseServiceDemoTest, CommentsNeedACourseAndText) {
  using Optional = std::optional<std::string>;
  const struct {
    Optional courseId;
    Optional text;
    bool added;
    bool sent;
  } cases[] = {
      {std::nullopt, "好课", false, false},
      {"CRS-001", std::nullopt, false, false},
      {"CRS-001", "", false, false},
      {"NO-SUCH", "好课", false, true},
      {"CRS-001", "案例很好", true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.courseId.value_or("(nil)") + " / " + c.text.value_or("(nil)"));
    const std::size_t before = callsTo(OpenDiscussService::kCommentCoursePath);
    EXPECT_EQ(service->addCommentForCourse(c.courseId, c.text), c.added);
    EXPECT_EQ(callsTo(OpenDiscussService::kCommentCoursePath) - before, c.sent ? 1u : 0u);
  }
  EXPECT_EQ(reportedPaths(), std::vector<std::string>{OpenDiscussService::kCommentCoursePath});

  const auto comments = service->courseCommentsOfCourse("CRS-001", firstPage());
  ASSERT_TRUE(comments);
  ASSERT_EQ(comments->size(), 20u) << "a full first page of the course's 26 comments";
  EXPECT_EQ((*comments)[0]->content, "案例很好");
  EXPECT_EQ((*comments)[0]->creator->userId, "U0001");
  EXPECT_EQ((*comments)[2]->discussList.size(), 2u) << "replies arrive with their comment";

  EXPECT_FALSE(service->courseCommentsOfCourse("NO-SUCH", firstPage()));
  EXPECT_EQ(reportedPaths(), std::vector<std::string>{OpenDiscussService::kLoadDiscussPath});
}

TEST_F(CourseServiceDemoTest, RepliesNeedACommentTextAndCourse) {
  const auto comments = service->courseCommentsOfCourse("CRS-001", firstPage());
  ASSERT_TRUE(comments && comments->size() == 20u);
  const std::shared_ptr<Discuss> older = (*comments)[1];
  auto unknown = std::make_shared<Discuss>();
  unknown->idPath = "/NO-SUCH/";
  using Optional = std::optional<std::string>;
  const struct {
    const char* what;
    std::shared_ptr<Discuss> comment;
    Optional text;
    Optional courseId;
    bool added;
    bool sent;
  } cases[] = {
      {"no comment", nullptr, "同意", "CRS-001", false, false},
      {"no text", older, std::nullopt, "CRS-001", false, false},
      {"empty text", older, "", "CRS-001", false, false},
      {"no course", older, "同意", std::nullopt, false, false},
      {"a comment the server does not know", unknown, "同意", "CRS-001", false, true},
      {"a reply", older, "我也觉得", "CRS-001", true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::size_t before = callsTo(OpenDiscussService::kReplyCoursePath);
    EXPECT_EQ(service->addReplyForCourseComment(c.comment, c.text, c.courseId), c.added);
    EXPECT_EQ(callsTo(OpenDiscussService::kReplyCoursePath) - before, c.sent ? 1u : 0u);
  }
  EXPECT_EQ(reportedPaths(), std::vector<std::string>{OpenDiscussService::kReplyCoursePath});
  const auto again = service->courseCommentsOfCourse("CRS-001", firstPage());
  ASSERT_TRUE(again && again->size() == 20u);
  const auto& replies = (*again)[1]->discussList;
  ASSERT_EQ(replies.size(), 3u);
  EXPECT_EQ(replies[2]->content, "我也觉得");
}

// The badge count stays what the last online sign-in stored, however the learner's courses change.
TEST_F(CourseServiceDemoTest, TheCourseBadgeKeepsTheCountOfTheLastSignIn) {
  auto app = std::make_shared<MobileApp>();
  app->userId = "U0001";
  app->appCode = CourseService::kCourseAppCode;
  app->reminder = 5;
  ASSERT_TRUE(VelkDBHelper::instance()->saveObject(app));
  syncHisCourses();
  ASSERT_EQ(count("select count(*) from course_study_record where user_id = 'U0001' and study_rate < 100"), 2);
  const std::size_t calls = server->calls().size();
  service->updateCourseReminder();
  EXPECT_EQ(ReminderService().getAppReminderWithAppCode(CourseService::kCourseAppCode), 5);
  EXPECT_EQ(server->calls().size(), calls) << "the count is the device's, not the server's";
}

}  // namespace
