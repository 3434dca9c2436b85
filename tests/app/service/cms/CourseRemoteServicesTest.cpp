// The course module's remote services against the stand-in's demo catalogue: every method's
// parameter names and answer type, then what the catalogue, selection, sync and comment methods
// answer, and failures reaching the delegate.

#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "app/model/cms/Category.h"
#include "app/model/cms/CourseSco.h"
#include "app/model/cms/Discuss.h"
#include "app/model/cms/PopularizeResource.h"
#include "app/service/cms/OpenCategoryService.h"
#include "app/service/cms/OpenCourseInfoService.h"
#include "app/service/cms/OpenCourseStudyRecordService.h"
#include "app/service/cms/OpenDiscussService.h"
#include "app/service/cms/OpenPhoneCourseStudyRecordService.h"
#include "core/http/HttpRequest.h"
#include "tests/app/service/cms/CourseDemoFixture.h"

namespace {

std::shared_ptr<CourseInfo> courseWithId(const std::string& id) {
  auto course = std::make_shared<CourseInfo>();
  course->id = id;
  return course;
}

template <typename T>
bool allOf(const pf::ArrayPtr& list) {
  if (!list || list->empty()) return false;
  return std::all_of(list->begin(), list->end(),
                     [](const pf::Value& v) { return v.objectAs<T>() != nullptr; });
}

std::vector<std::string> ids(const pf::ArrayPtr& courses) {
  std::vector<std::string> found;
  if (!courses) return found;
  for (const pf::Value& value : *courses) found.push_back(value.objectAs<CourseInfo>()->id.value_or("nil"));
  return found;
}

class CourseRemoteServices : public CourseDemoFixture {
 protected:
  std::shared_ptr<Page> page(std::uint32_t pageNo = 1, std::uint32_t pageSize = 20) {
    auto p = std::make_shared<Page>();
    p->pageNo = pageNo;
    p->pageSize = pageSize;
    return p;
  }

  OpenCourseInfoService courseInfo{delegate};
  OpenPhoneCourseStudyRecordService phoneRecords{delegate};
  OpenCourseStudyRecordService records{delegate};
  OpenCategoryService categories{delegate};
  OpenDiscussService discuss{delegate};
};

TEST_F(CourseRemoteServices, EveryMethodSendsItsParameterNamesAndReadsItsAnswerType) {
  struct Case {
    std::string path;
    std::set<std::string> parameters;
    std::function<bool()> answersItsType;
  };
  const pf::Date now = pf::Date::now();
  const std::vector<Case> cases = {
      {OpenCategoryService::kGetCourseCategoryPath,
       {},
       [&] { return categories.getCourseCategory() != nullptr; }},
      {OpenCourseInfoService::kLoadCourseInfoListPath,
       {"page", "keywords", "categoryId", "supportMobile"},
       [&] {
         const auto answer = courseInfo.loadCourseInfoList(page(), std::nullopt, std::nullopt, true);
         return answer && allOf<CourseInfo>(answer->rows);
       }},
      {OpenCourseInfoService::kLoadPopularizeCoursePath,
       {},
       [&] { return allOf<PopularizeResource>(courseInfo.loadPopularizeCourse()); }},
      {OpenCourseInfoService::kGetCourseByIdPath,
       {"courseId"},
       [&] { return courseInfo.getCourseById("CRS-002") != nullptr; }},
      {OpenCourseInfoService::kGetByCodePath,
       {"courseCode"},
       [&] {
         const auto course = courseInfo.getByCode("PM-201");
         return course && course->id == "CRS-002";
       }},
      {OpenCourseInfoService::kSyncCoursePath,
       {"clientCourses"},
       [&] {
         const auto detail =
             courseInfo.syncCourse(std::make_shared<pf::Array>(pf::Array{courseWithId("CRS-001")}));
         return detail && allOf<CourseInfo>(detail->updateList);
       }},
      {OpenCourseInfoService::kGetCourseScoListPath,
       {"courseId"},
       [&] { return allOf<CourseSco>(courseInfo.getCourseScoList("CRS-001")); }},
      {OpenCourseInfoService::kGetCourseInfoByCourseIdsPath,
       {"courseIds"},
       [&] {
         const auto found =
             courseInfo.getCourseInfoByCourseIds(std::make_shared<pf::Array>(pf::Array{"CRS-001"}));
         return found && found->contains("CRS-001");
       }},
      {OpenCourseInfoService::kGetCourseRatePath, {}, [&] { return courseInfo.getCourseRate() == 80.0f; }},
      {OpenCourseInfoService::kMyCourseReminderPath, {}, [&] { return courseInfo.myCourseReminder() == 2; }},
      {OpenCourseInfoService::kSelectCoursePath,
       {"courseId", "startTime", "endTime"},
       [&] {
         const auto record = courseInfo.selectCourse("CRS-009", now, pf::Date{now.seconds + 7776000});
         return record && record->courseId == "CRS-009" && !record->scoStudyRecordList.empty();
       }},
      {OpenCourseInfoService::kRemoveSelectedCoursePath,
       {"courseId"},
       [&] { return courseInfo.removeSelectedCourse("CRS-004"); }},
      {OpenCourseInfoService::kHasPurviewPath,
       {"courseId"},
       [&] { return courseInfo.hasPurview("CRS-001"); }},
      {OpenPhoneCourseStudyRecordService::kSyncPath,
       {"clientRecords"},
       [&] { return allOf<CourseStudyRecord>(phoneRecords.sync(std::make_shared<pf::Array>())); }},
      {OpenCourseStudyRecordService::kGetCourseStudyRecordByTimePath,
       {"beginDate", "endDate", "page"},
       [&] {
         const auto answer = records.getCourseStudyRecordByTime(std::nullopt, std::nullopt, page());
         return answer && allOf<CourseStudyRecord>(answer->rows);
       }},
      {OpenDiscussService::kLoadDiscussPath,
       {"page", "courseId"},
       [&] {
         const auto answer = discuss.loadDiscuss(page(), "CRS-001");
         return answer && allOf<Discuss>(answer->rows);
       }},
      {OpenDiscussService::kCommentCoursePath,
       {"content", "courseId"},
       [&] { return discuss.commentCourse("讲得好", "CRS-001") != nullptr; }},
      {OpenDiscussService::kReplyCoursePath,
       {"content", "commentIdPath", "courseId"},
       [&] { return discuss.replyCourse("同意", "/DSC-1/", "CRS-001") != nullptr; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_TRUE(c.answersItsType());
    EXPECT_EQ(parameterNames(c.path), c.parameters);
    EXPECT_EQ(reportedPaths(), std::vector<std::string>{});
  }
}

TEST_F(CourseRemoteServices, MissingArgumentsGoOutAsNullAndFlagsAsBooleans) {
  courseInfo.loadCourseInfoList(page(2, 5), std::nullopt, "沟通", false);
  const std::string path = OpenCourseInfoService::kLoadCourseInfoListPath;
  EXPECT_EQ(parameterText(path, "categoryId"), "null");
  EXPECT_EQ(parameterText(path, "keywords"), "\"沟通\"");
  EXPECT_EQ(parameterText(path, "supportMobile"), "false");
  EXPECT_NE(parameterText(path, "page").find("\"pageNo\""), std::string::npos);

  const pf::Date start{1700000000.25};
  courseInfo.selectCourse("CRS-009", start, std::nullopt);
  EXPECT_EQ(parameterText(OpenCourseInfoService::kSelectCoursePath, "startTime"), "1700000000250");
  EXPECT_EQ(parameterText(OpenCourseInfoService::kSelectCoursePath, "endTime"), "null");
}

// Teachers come with a course whichever thread asks, not only on one that an earlier call of another
// method happened to prepare.
TEST_F(CourseRemoteServices, ACourseArrivesWithItsTeachersOnAThreadThatRegisteredNothing) {
  std::shared_ptr<CourseInfo> course;
  std::string failure;
  std::thread fresh([&] {
    try {
      course = courseInfo.getCourseById("CRS-002");
    } catch (const std::exception& e) {
      failure = e.what();
    }
  });
  fresh.join();
  EXPECT_EQ(failure, "");
  ASSERT_TRUE(course);
  ASSERT_EQ(course->teacherList.size(), 2u);
  EXPECT_EQ(course->teacherList[0]->teacherName, "李娜");
  EXPECT_EQ(course->teacher, "李娜，陈刚");
  EXPECT_EQ(course->courseStandard, "TWOSCREEN");
}

TEST_F(CourseRemoteServices, CataloguePagesFilterByCategoryTreeKeywordsAndPhoneSupport) {
  struct Case {
    std::optional<std::string> categoryId;
    std::optional<std::string> keywords;
    bool supportMobile;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {std::nullopt,
       std::nullopt,
       true,
       {"CRS-001", "CRS-002", "CRS-003", "CRS-004", "CRS-005", "CRS-006", "CRS-009", "CRS-010", "CRS-011",
        "CRS-012", "CRS-013", "CRS-014", "CRS-015", "CRS-016", "CRS-017", "CRS-018", "CRS-019", "CRS-020",
        "CRS-021", "CRS-022", "CRS-023", "CRS-024", "CRS-025"}},
      {std::nullopt,
       std::nullopt,
       false,
       {"CRS-001", "CRS-002", "CRS-003", "CRS-004", "CRS-005", "CRS-006", "CRS-007", "CRS-008", "CRS-009",
        "CRS-010", "CRS-011", "CRS-012", "CRS-013", "CRS-014", "CRS-015", "CRS-016", "CRS-017", "CRS-018",
        "CRS-019", "CRS-020", "CRS-021", "CRS-022", "CRS-023", "CRS-024", "CRS-025"}},
      {"CAT-MGT",
       std::nullopt,
       true,
       {"CRS-002", "CRS-004", "CRS-006", "CRS-011", "CRS-012", "CRS-013", "CRS-014", "CRS-015", "CRS-016",
        "CRS-017", "CRS-018", "CRS-024"}},
      {"CAT-MGT-PROJ", std::nullopt, true, {"CRS-002", "CRS-017", "CRS-018"}},
      {"CAT-SAFE", std::nullopt, true, {"CRS-003", "CRS-022", "CRS-023"}},
      {std::nullopt, "王晓明", true, {"CRS-001", "CRS-009"}},
      {"CAT-PRO", "情绪", true, {"CRS-009"}},
      {"NO-SUCH-CATEGORY", std::nullopt, true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.categoryId.value_or("all") + " / " + c.keywords.value_or("-"));
    const auto answer = courseInfo.loadCourseInfoList(page(1, 50), c.categoryId, c.keywords, c.supportMobile);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->total, static_cast<std::int64_t>(c.expected.size()));
    EXPECT_EQ(ids(answer->rows), c.expected);
  }
  const auto second = courseInfo.loadCourseInfoList(page(2, 3), std::nullopt, std::nullopt, true);
  ASSERT_TRUE(second);
  EXPECT_EQ(ids(second->rows), (std::vector<std::string>{"CRS-004", "CRS-005", "CRS-006"}));
  EXPECT_EQ(second->total, 23);
  EXPECT_EQ(second->totalPages(), 8u);
}

TEST_F(CourseRemoteServices, TheCategoryTreeIsCategoriesAtEveryLevel) {
  const auto root = categories.getCourseCategory();
  ASSERT_TRUE(root);
  ASSERT_EQ(root->childCategories.size(), 3u);
  const auto& management = root->childCategories[0];
  EXPECT_EQ(management->categoryName, "管理技能");
  ASSERT_EQ(management->childCategories.size(), 2u);
  EXPECT_EQ(management->childCategories[1]->categoryId, "CAT-MGT-PROJ");
  EXPECT_TRUE(management->childCategories[1]->childCategories.empty());
}

TEST_F(CourseRemoteServices, UnitsComeInTheServersOrderWithTheirMedia) {
  const pf::ArrayPtr units = courseInfo.getCourseScoList("CRS-001");
  ASSERT_TRUE(units);
  std::vector<std::string> orders;
  for (const pf::Value& v : *units) orders.push_back(*v.objectAs<CourseSco>()->showOrder);
  EXPECT_EQ(orders, (std::vector<std::string>{"1", "2", "2.5", "10", "11"}));
  const auto chapter = (*units)[0].objectAs<CourseSco>();
  EXPECT_TRUE(chapter->isChapter);
  EXPECT_FALSE(chapter->videoUrl);
  const auto lesson = (*units)[2].objectAs<CourseSco>();
  EXPECT_EQ(lesson->videoUrl, "http://" + server.host() + "/media/cms/video/SCO-001-03.mp4");
  EXPECT_EQ(lesson->lectureUrl, "http://" + server.host() + "/media/cms/lecture/SCO-001-03.html");

  // A single-video course has no units at the server: the client makes its one unit itself.
  const pf::ArrayPtr single = courseInfo.getCourseScoList("CRS-003");
  ASSERT_TRUE(single);
  EXPECT_TRUE(single->empty());
  EXPECT_EQ(courseInfo.getCourseById("CRS-003")->videoUrl,
            "http://" + server.host() + "/media/cms/video/CRS-003.mp4");
}

// Units play and download from the stand-in: a video's movie header names its length, and a
// download resumed from the middle gets the rest.
TEST_F(CourseRemoteServices, TheServerServesTheMediaItsCoursesNameAndResumesVideos) {
  const auto lesson = (*courseInfo.getCourseScoList("CRS-001"))[2].objectAs<CourseSco>();
  auto whole = HttpRequest::requestWithURL(pf::Url::parse(*lesson->videoUrl));
  whole->startSynchronous();
  ASSERT_EQ(whole->responseStatusCode.load(), 200);
  const pf::Data video = whole->responseData().value_or(pf::Data{});
  ASSERT_GT(video.size(), 45u * 2048);
  const std::string bytes(video.begin(), video.end());
  EXPECT_EQ(bytes.substr(4, 4), "ftyp");
  const std::size_t header = bytes.find("mvhd");
  ASSERT_NE(header, std::string::npos);
  const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const std::size_t duration = header + 4 + 16;  // after version, flags, two times and the timescale
  EXPECT_EQ((byteAt(duration) << 24) | (byteAt(duration + 1) << 16) | (byteAt(duration + 2) << 8) |
                byteAt(duration + 3),
            45000);

  auto rest = HttpRequest::requestWithURL(pf::Url::parse(*lesson->videoUrl));
  rest->addRequestHeader("Range", "bytes=1000-");
  rest->startSynchronous();
  EXPECT_EQ(rest->responseStatusCode.load(), 206);
  const pf::Data tail = rest->responseData().value_or(pf::Data{});
  EXPECT_TRUE(std::equal(tail.begin(), tail.end(), video.begin() + 1000, video.end()));
  EXPECT_EQ(tail.size(), video.size() - 1000);

  auto lecture = HttpRequest::requestWithURL(pf::Url::parse(*lesson->lectureUrl));
  lecture->startSynchronous();
  EXPECT_EQ(lecture->responseStatusCode.load(), 200);
  EXPECT_NE(lecture->responseString().value_or("").find("1.2 倾听的技巧"), std::string::npos);

  auto cover = HttpRequest::requestWithURL(pf::Url::parse(*courseInfo.getCourseById("CRS-001")->coverPath));
  cover->startSynchronous();
  EXPECT_EQ(cover->responseStatusCode.load(), 200);
  const pf::Data png = cover->responseData().value_or(pf::Data{});
  EXPECT_EQ(std::string(png.begin(), png.begin() + std::min<std::size_t>(8, png.size())),
            std::string("\x89PNG\r\n\x1a\n", 8));

  for (const std::string path : {"/media/cms/video/NO-SUCH.mp4", "/media/cms/video/SCO-001-01.mp4",
                                 "/media/cms/lecture/SCO-001-02.html", "/media/cms/cover/../x.png"}) {
    auto missing = HttpRequest::requestWithURL(pf::Url::parse("http://" + server.host() + path));
    missing->startSynchronous();
    EXPECT_EQ(missing->responseStatusCode.load(), 404) << path;
  }
}

TEST_F(CourseRemoteServices, SelectingAndGivingUpFollowHowTheUserGotTheCourse) {
  const auto record =
      courseInfo.selectCourse("CRS-002", pf::Date::now(), pf::Date{pf::Date::now().seconds + 7776000});
  ASSERT_TRUE(record);
  EXPECT_EQ(record->userId, "U0001");
  EXPECT_EQ(record->obtainedWay, "SELF");
  EXPECT_EQ(record->courseStudyType, "SELECTIVE");
  EXPECT_EQ(record->courseName, "项目管理实战");
  ASSERT_EQ(record->scoStudyRecordList.size(), 3u);
  EXPECT_EQ(record->scoStudyRecordList[1]->scoId, "SCO-002-02");
  EXPECT_EQ(record->scoStudyRecordList[1]->totalTime, 60000);
  EXPECT_FALSE(record->scoStudyRecordList[1]->studyComplete);
  EXPECT_EQ(courseInfo.myCourseReminder(), 3);

  EXPECT_TRUE(courseInfo.removeSelectedCourse("CRS-002"));
  EXPECT_FALSE(courseInfo.removeSelectedCourse("CRS-002"));
  // Assigned courses cannot be given up.
  EXPECT_FALSE(courseInfo.removeSelectedCourse("CRS-001"));
  EXPECT_EQ(courseInfo.myCourseReminder(), 2);
  EXPECT_EQ(reportedPaths(), std::vector<std::string>{});
}

TEST_F(CourseRemoteServices, TheCourseSyncAddsRefreshesAndDropsByWhatTheUserHolds) {
  const auto detail = courseInfo.syncCourse(
      std::make_shared<pf::Array>(pf::Array{courseWithId("CRS-001"), courseWithId("CRS-005")}));
  ASSERT_TRUE(detail);
  EXPECT_EQ(ids(detail->addList), (std::vector<std::string>{"CRS-004", "CRS-007"}));
  EXPECT_EQ(ids(detail->updateList), std::vector<std::string>{"CRS-001"});
  EXPECT_EQ(ids(detail->deleteList), std::vector<std::string>{"CRS-005"});
  const auto added = (*detail->addList)[0].objectAs<CourseInfo>();
  EXPECT_EQ(added->courseTitle, "团队领导力");
  ASSERT_EQ(added->teacherList.size(), 1u);
  EXPECT_EQ(added->teacherList[0]->teacherName, "赵敏");
}

TEST_F(CourseRemoteServices, TheRecordSyncTakesTheDevicesProgressOnlyWhereItIsAhead) {
  auto unit = std::make_shared<ScoStudyRecord>();
  unit->scoId = "SCO-001-03";
  unit->currentPosition = 45000;
  unit->studyComplete = true;
  unit->studyRate = 100;
  auto ahead = std::make_shared<CourseStudyRecord>();
  ahead->courseId = "CRS-001";
  ahead->studyRate = 66.6f;
  ahead->scoStudyRecordList.push_back(unit);
  auto behind = std::make_shared<CourseStudyRecord>();
  behind->courseId = "CRS-004";
  behind->studyRate = 10;
  auto notHeld = std::make_shared<CourseStudyRecord>();
  notHeld->courseId = "CRS-009";
  notHeld->studyRate = 100;

  const pf::ArrayPtr answer =
      phoneRecords.sync(std::make_shared<pf::Array>(pf::Array{ahead, behind, notHeld}));
  ASSERT_TRUE(answer);
  ASSERT_EQ(answer->size(), 3u);
  const auto communication = (*answer)[0].objectAs<CourseStudyRecord>();
  EXPECT_EQ(communication->courseId, "CRS-001");
  EXPECT_NEAR(communication->studyRate, 66.6f, 0.01);
  ASSERT_EQ(communication->scoStudyRecordList.size(), 5u);
  const auto listened = communication->scoStudyRecordList[2];
  EXPECT_EQ(listened->scoId, "SCO-001-03");
  EXPECT_EQ(listened->currentPosition, 45000);
  EXPECT_TRUE(listened->studyComplete);
  // Headings count as done from the start.
  EXPECT_TRUE(communication->scoStudyRecordList[0]->studyComplete);
  EXPECT_EQ((*answer)[1].objectAs<CourseStudyRecord>()->studyRate, 40.0f);
  EXPECT_EQ((*answer)[2].objectAs<CourseStudyRecord>()->courseId, "CRS-007");
}

TEST_F(CourseRemoteServices, StudyRecordsByPeriodArePagedCourseRecords) {
  const auto all = records.getCourseStudyRecordByTime(std::nullopt, std::nullopt, page());
  ASSERT_TRUE(all);
  EXPECT_EQ(all->total, 2);  // the third seeded course was never studied
  const auto december = records.getCourseStudyRecordByTime(pf::Date{1764590400}, std::nullopt, page());
  ASSERT_TRUE(december);
  ASSERT_EQ(december->total, 1);
  const auto record = (*december->rows)[0].objectAs<CourseStudyRecord>();
  EXPECT_EQ(record->courseId, "CRS-004");
  EXPECT_EQ(record->lastStudyTime->seconds, 1764633600);
}

TEST_F(CourseRemoteServices, CommentsArriveWithTheirRepliesMappedAsComments) {
  // The demo course has 25 comments; its two with replies are the newest.
  const auto first = discuss.loadDiscuss(page(), "CRS-001");
  ASSERT_TRUE(first);
  ASSERT_EQ(first->total, 25);
  const auto older = (*first->rows)[1].objectAs<Discuss>();
  EXPECT_EQ(older->creator->userName, "刘洋");
  EXPECT_EQ(older->replyCount, 2);
  ASSERT_EQ(older->discussList.size(), 2u);
  EXPECT_EQ(older->discussList[0]->content, "同感！");
  EXPECT_EQ(older->discussList[1]->creator->userName, "刘洋");
  EXPECT_EQ(older->lastReplyPerson, "刘洋");

  const auto reply = discuss.replyCourse("我也觉得", older->idPath, "CRS-001");
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->creator->userId, "U0001");
  const auto comment = discuss.commentCourse("案例很好", "CRS-001");
  ASSERT_TRUE(comment);

  const auto again = discuss.loadDiscuss(page(), "CRS-001");
  ASSERT_TRUE(again);
  ASSERT_EQ(again->total, 26);
  EXPECT_EQ((*again->rows)[0].objectAs<Discuss>()->content, "案例很好");
  const auto replied = (*again->rows)[2].objectAs<Discuss>();
  ASSERT_EQ(replied->discussList.size(), 3u);
  EXPECT_EQ(replied->discussList[2]->content, "我也觉得");
  EXPECT_EQ(replied->lastReplyPerson, "learner");
}

TEST_F(CourseRemoteServices, RefusedCallsAnswerNothingAndTellTheDelegateThePath) {
  EXPECT_FALSE(discuss.commentCourse(std::nullopt, "CRS-001"));
  EXPECT_EQ(parameterText(OpenDiscussService::kCommentCoursePath, "content"), "null");
  EXPECT_FALSE(discuss.replyCourse("hello", "/NO-SUCH/", "CRS-001"));
  EXPECT_FALSE(courseInfo.getCourseById("NO-SUCH-COURSE"));
  EXPECT_FALSE(courseInfo.getCourseScoList("NO-SUCH-COURSE"));
  EXPECT_FALSE(courseInfo.selectCourse(std::nullopt, std::nullopt, std::nullopt));
  EXPECT_EQ(reportedPaths(),
            (std::vector<std::string>{
                OpenDiscussService::kCommentCoursePath, OpenDiscussService::kReplyCoursePath,
                OpenCourseInfoService::kGetCourseByIdPath, OpenCourseInfoService::kGetCourseScoListPath,
                OpenCourseInfoService::kSelectCoursePath}));

  server.expireSessions();
  ServiceManager::sessionCache().clear();
  EXPECT_EQ(courseInfo.getCourseRate(), 0.0f);
  EXPECT_EQ(courseInfo.myCourseReminder(), 0);
  EXPECT_FALSE(courseInfo.hasPurview("CRS-001"));
}

}  // namespace
