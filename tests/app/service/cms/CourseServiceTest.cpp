// The course service on a device with a scripted server: the learner's courses and their units kept
// in step with the server, local search, selecting and giving up courses shared with another learner,
// the brief, the pass rate and the badge.

#include "app/service/cms/CourseService.h"

#include <gtest/gtest.h>

#include "app/model/cms/CourseStandard.h"
#include "app/service/cms/CmsSearchService.h"
#include "app/service/cms/ScoNameNumbering.h"
#include "platform/net/ManualReachabilityProvider.h"
#include "tests/app/service/cms/CourseStoreFixture.h"

namespace {

std::vector<std::string> namesOf(const CourseService::ScoViews& units) {
  std::vector<std::string> names;
  for (const auto& unit : units) names.push_back(unit->scoName.value_or("(nil)"));
  return names;
}

std::vector<std::string> idsOf(const pf::ArrayPtr& rows) {
  std::vector<std::string> ids;
  if (!rows) return ids;
  for (const pf::Value& row : *rows) ids.push_back(row.objectAs<CourseViewInfo>()->id.value_or("(nil)"));
  return ids;
}

class CourseServiceTest : public CourseStoreFixture {
 protected:
  void SetUp() override {
    CourseStoreFixture::SetUp();
    service = std::make_unique<CourseService>(delegate);
  }

  std::shared_ptr<CourseViewInfo> view(const std::string& id, const std::string& standard) {
    auto course = std::make_shared<CourseViewInfo>();
    course->id = id;
    course->courseStandard = standard;
    course->courseTitle = "标题 " + id;
    course->videoUrl = "http://media/" + id + ".mp4";
    return course;
  }

  static std::shared_ptr<Page> firstPage(std::uint32_t size = 20) {
    auto page = std::make_shared<Page>();
    page->pageSize = size;
    return page;
  }

  std::unique_ptr<CourseService> service;
};

TEST(CourseUnitNames, LeadingNumberingGoesAndTheRestStays) {
  const struct {
    const char* name;
    const char* expected;
  } cases[] = {
      {"第3节：沟通的意义", "沟通的意义"},
      {"第十二节 总结", "第十二节 总结"},  // 十 is not among the digits of "第…节"
      {"第三节  倾听", "倾听"},
      {"二.倾听的技巧", "倾听的技巧"},
      {"十二、结语", "十二、结语"},
      {"12. Introduction", "Introduction"},
      {"3:Intro", "Intro"},
      {"  7：反馈  ", "反馈"},
      {"第3节summary", "summary"},
      {"第3节 sessions", "sessions"},
      {"2024年计划", "2024年计划"},
      {"一二三", "一二三"},
      {"Chapter 1", "Chapter 1"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ScoNameNumbering::withoutNumbering(c.name), c.expected) << c.name;
}

TEST(CourseUnitNames, NamesOfAnyLengthFromTheServerAreRead) {
  // 40,000 digits once overflowed the stack of a recursive matcher.
  const std::string digits(40000, '7');
  EXPECT_EQ(ScoNameNumbering::withoutNumbering(digits), digits);
  EXPECT_EQ(ScoNameNumbering::withoutNumbering(digits + ". Intro"), "Intro");
  std::string section = "第";
  for (int i = 0; i < 20000; ++i) section += "三";
  EXPECT_EQ(ScoNameNumbering::withoutNumbering(section + "节：" + std::string(30000, ' ') + "x"), "x");
  EXPECT_EQ(ScoNameNumbering::withoutNumbering(std::string(40000, '.')), std::string(40000, '.'));
}

TEST(CourseUnitNames, RenumberingSortsByTheIntegerOrderAndLeavesOutUnitsWithoutNames) {
  CourseService::Scos units;
  for (const auto& [order, name] : std::vector<std::pair<std::string, std::optional<std::string>>>{
           {"10", "10. 结语"}, {"2.5", "第3节：补充"}, {"1", std::nullopt}, {"2", "二.倾听"}}) {
    auto unit = std::make_shared<CourseSco>();
    unit->showOrder = order;
    unit->scoName = name;
    units.push_back(unit);
  }
  const CourseService::Scos renamed = CourseService::updateScoNameWithScoInfos(units);
  std::vector<std::string> names;
  for (const auto& unit : renamed) names.push_back(unit->scoName.value_or("(nil)"));
  // 2 and 2.5 compare the same by their integer order and keep their places; the unit without a name
  // is left out but still uses up the first number.
  EXPECT_EQ(names, (std::vector<std::string>{"2.补充", "3.倾听", "4.结语"}));
}

TEST_F(CourseServiceTest, UnitsOfEveryStandardAreStoredRenumberedAndListedInShowOrder) {
  storeCourse("C3", CourseStandard::kThreeScreen);
  storeRecord("U1", "C3");
  storeUnitRecord("U1", "C3", "S-2", 30000, true, 100);
  storeDownload("U1", "C3", "S-25");
  storeDownload("U2", "C3", "S-10");  // another learner's download is not this one's
  serve(OpenCourseInfoService::kGetCourseScoListPath,
        "[" + unitJson("C3", "S-10", "10", "10. 结语") + "," + unitJson("C3", "S-1", "1", "第1节：开始") +
            "," + unitJson("C3", "S-25", "2.5", "补充") + "," + unitJson("C3", "S-2", "2", "二.倾听") + "," +
            R"({"courseId": "C3", "scoId": "S-0", "showOrder": "0", "isChapter": true})" + "]");

  const auto course = service->getCourseViewInfoWithCourseID("C3");
  ASSERT_TRUE(course);
  EXPECT_TRUE(course->selected);
  std::vector<std::string> ids;
  for (const auto& unit : course->scoInfoList) ids.push_back(*unit->scoId);
  EXPECT_EQ(ids, (std::vector<std::string>{"S-1", "S-2", "S-25", "S-10"}));
  // The nameless heading is left out and not stored, but it used up the first number.
  EXPECT_EQ(namesOf(course->scoInfoList), (std::vector<std::string>{"2.开始", "4.倾听", "3.补充", "5.结语"}));
  EXPECT_EQ(count("select count(*) from course_sco where course_id = 'C3'"), 4);
  const auto& listened = course->scoInfoList[1];
  EXPECT_EQ(listened->currentPosition, 30000);
  EXPECT_TRUE(listened->studyComplete);
  EXPECT_EQ(listened->userId, "U1");
  const auto& fresh = course->scoInfoList[3];
  EXPECT_EQ(fresh->currentPosition, 0);
  EXPECT_FALSE(fresh->studyComplete);
  EXPECT_EQ(fresh->studyRate, 0);
  for (const auto& unit : course->scoInfoList)
    EXPECT_EQ(unit->hasDownload, unit->scoId == "S-25") << *unit->scoId;

  // Stored once: the second reading asks the server nothing.
  transport->forget();
  ASSERT_TRUE(service->getScoViewInfosWithCourseViewInfo(course));
  EXPECT_TRUE(transport->sent().empty());

  // A single-video course gets one unit made from itself, whether or not the learner holds it.
  storeCourse("C1", CourseStandard::kOneScreen, "一课");
  const auto notHeld =
      service->getScoViewInfosWithCourseViewInfo(view("C1", CourseStandard::kOneScreen), false);
  ASSERT_TRUE(notHeld);
  ASSERT_EQ(notHeld->size(), 1u);
  storeRecord("U1", "C1");
  const auto held = service->getCourseViewInfoWithCourseID("C1");
  ASSERT_TRUE(held);
  ASSERT_EQ(held->scoInfoList.size(), 1u);
  EXPECT_EQ(held->scoInfoList[0]->scoName, "1.一课");
  EXPECT_EQ(held->scoInfoList[0]->showOrder, "1.0");
  EXPECT_EQ(count("select count(*) from course_sco where course_id = 'C1'"), 1);
  EXPECT_TRUE(transport->sent().empty());
}

TEST_F(CourseServiceTest, ACourseNotHeldListsTheServersUnitsUnstoredAndUnrenamed) {
  serve(OpenCourseInfoService::kGetCourseByIdPath,
        R"({"id": "C2", "courseStandard": "TWOSCREEN", "courseTitle": "项目", "outline": "提纲"})");
  serve(OpenCourseInfoService::kGetCourseScoListPath,
        "[" + unitJson("C2", "B", "10", "第2节：后") + "," + unitJson("C2", "A", "9", "第1节：前") + "]");
  const auto course = service->getCourseViewInfoWithCourseID("C2");
  ASSERT_TRUE(course);
  EXPECT_FALSE(course->selected);
  EXPECT_EQ(course->courseTitle, "项目");
  EXPECT_EQ(namesOf(course->scoInfoList), (std::vector<std::string>{"第1节：前", "第2节：后"}));
  EXPECT_EQ(count("select count(*) from course_sco"), 0);
  EXPECT_EQ(count("select count(*) from course_info"), 0);

  stopServing(OpenCourseInfoService::kGetCourseByIdPath);
  EXPECT_FALSE(service->getCourseViewInfoWithCourseID("C2"));
  EXPECT_FALSE(service->getCourseViewInfoWithCourseID(std::nullopt));
}

TEST_F(CourseServiceTest, MyCoursesAreTheLearnersOwnNewestChangeFirst) {
  for (const char* id : {"A", "B", "C"}) storeCourse(id, CourseStandard::kThreeScreen);
  storeRecord("U1", "A", 10, 1000);
  storeRecord("U1", "B", 20, 3000);
  storeRecord("U2", "C", 30, 5000);
  storeRecord("U1", "GONE", 0, 9000);  // no course row: never listed
  auto ids = [&] {
    std::vector<std::string> found;
    for (const auto& course : service->getMyCourse()) {
      EXPECT_TRUE(course->selected);
      found.push_back(*course->id);
    }
    return found;
  };
  EXPECT_EQ(ids(), (std::vector<std::string>{"B", "A"}));
  clock->advance(1e6);
  ASSERT_TRUE(service->updateCourseLastModifyTimeWithCourseID("A"));
  EXPECT_EQ(ids(), (std::vector<std::string>{"A", "B"}));
  signIn("U2");
  EXPECT_EQ(ids(), std::vector<std::string>{"C"});
}

TEST_F(CourseServiceTest, LocalSearchTakesPercentAndUnderscoreAsTextAndPages) {
  const struct {
    const char* id;
    const char* title;
  } courses[] = {{"P1", "100% 投入"}, {"P2", "1000 投入"},    {"U1C", "a_b 方法"},
                 {"U2C", "axb 方法"}, {"Q1", "O'Brien 的课"}, {"N1", "其他 课程"}};
  for (const auto& c : courses) {
    storeCourse(c.id, CourseStandard::kThreeScreen, c.title);
    storeRecord("U1", c.id);
  }
  const struct {
    const char* text;
    std::vector<std::string> expected;
  } cases[] = {
      {"0%", {"P1"}},      {"_", {"U1C"}},         {"a_b", {"U1C"}},
      {"O'Brien", {"Q1"}}, {"投入", {"P1", "P2"}}, {"无此", {}},
  };
  for (const auto& c : cases) {
    auto page = service->searchLocalCourseWithSearchStr(std::string(c.text), firstPage());
    ASSERT_TRUE(page);
    auto found = idsOf(page->rows);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, c.expected) << c.text;
    EXPECT_EQ(page->pageNo, 2u);
  }
  // Another learner's courses are not his.
  signIn("U2");
  EXPECT_TRUE(service->searchLocalCourseWithSearchStr(std::string("投入"), firstPage())->rows->empty());
  signIn("U1");
  auto page = firstPage(2);
  std::vector<std::string> all;
  for (int i = 0; i < 4; ++i) {
    const auto rows = service->searchLocalCourseWithSearchStr(std::string(" "), page)->rows;
    for (const auto& id : idsOf(rows)) all.push_back(id);
  }
  EXPECT_EQ(all.size(), 6u) << "three pages of two, then nothing";
  EXPECT_EQ(page->pageNo, 5u);
}

TEST_F(CourseServiceTest, SelectingACourseAnotherLearnerHoldsAddsOnlyThisLearnersRecords) {
  storeCourse("C9", CourseStandard::kThreeScreen, "共享课");
  storeUnit("C9", "S1", "1");
  storeUnit("C9", "S2", "2");
  storeRecord("U2", "C9", 50);
  storeUnitRecord("U2", "C9", "S1", 40000, true, 100);
  serve(
      OpenCourseInfoService::kSelectCoursePath,
      R"({"courseId": "C9", "userId": "U1", "studyRate": 0, "obtainedWay": "SELF", "lastModifyTime": 1577836800000,
            "scoStudyRecordList": [{"scoId": "S1", "courseId": "C9", "userId": "U1"},
                                   {"scoId": "S2", "courseId": "C9", "userId": "U1", "currentPosition": 5000}]})");
  auto fromCatalogue = view("C9", CourseStandard::kThreeScreen);
  fromCatalogue->courseTitle = "目录里的标题";

  const auto stored =
      service->addSelectCourse(fromCatalogue, pf::Date::now(),
                               pf::Date{pf::Date::now().seconds + CourseService::kSelectionWindowSeconds});
  ASSERT_TRUE(stored);
  EXPECT_TRUE(stored->selected);
  EXPECT_EQ(stored->obtainedWay, "SELF");
  EXPECT_EQ(stored->courseTitle, "共享课") << "the stored course row stays";
  ASSERT_EQ(stored->scoInfoList.size(), 2u);
  EXPECT_EQ(stored->scoInfoList[0]->currentPosition, 0) << "not the other learner's progress";
  EXPECT_EQ(stored->scoInfoList[1]->currentPosition, 5000);
  EXPECT_EQ(count("select count(*) from course_info"), 1);
  EXPECT_EQ(count("select count(*) from course_sco"), 2);
  EXPECT_EQ(count("select count(*) from course_study_record where course_id = 'C9'"), 2);
  EXPECT_EQ(count("select count(*) from sco_study_record where user_id = 'U2'"), 1);
  EXPECT_EQ(count("select count(*) from sco_study_record where user_id = 'U1'"), 2);

  // Selecting again replaces this learner's records by the server's.
  serve(OpenCourseInfoService::kSelectCoursePath,
        R"({"courseId": "C9", "userId": "U1", "studyRate": 10,
            "scoStudyRecordList": [{"scoId": "S2", "courseId": "C9", "userId": "U1", "currentPosition": 7000}]})");
  ASSERT_TRUE(service->addSelectCourse(fromCatalogue, std::nullopt, std::nullopt));
  EXPECT_EQ(count("select count(*) from course_study_record where user_id = 'U1'"), 1);
  EXPECT_EQ(count("select count(*) from sco_study_record where user_id = 'U1'"), 1);
  EXPECT_EQ(count("select current_position from sco_study_record where user_id = 'U1'"), 7000);
  EXPECT_EQ(count("select count(*) from sco_study_record where user_id = 'U2'"), 1);

  // A refusal hands the view back and stores nothing.
  stopServing(OpenCourseInfoService::kSelectCoursePath);
  auto other = view("C8", CourseStandard::kThreeScreen);
  EXPECT_EQ(service->addSelectCourse(other, std::nullopt, std::nullopt), other);
  EXPECT_EQ(count("select count(*) from course_info where id = 'C8'"), 0);
  EXPECT_FALSE(service->addSelectCourse(std::make_shared<CourseViewInfo>(), std::nullopt, std::nullopt));
}

TEST_F(CourseServiceTest, SelectingANewCourseStoresItWithItsUnitsRenumbered) {
  serve(OpenCourseInfoService::kSelectCoursePath, R"({"courseId": "C5", "userId": "U1"})");
  auto course = view("C5", CourseStandard::kTwoScreen);
  for (const auto& [id, order, name] : std::vector<std::tuple<std::string, std::string, std::string>>{
           {"B", "2", "第2节：后"}, {"A", "1", "第1节：前"}}) {
    auto unit = std::make_shared<ScoViewInfo>();
    unit->courseId = "C5";
    unit->scoId = id;
    unit->showOrder = order;
    unit->scoName = name;
    course->scoInfoList.push_back(unit);
  }
  const auto stored = service->addSelectCourse(course, std::nullopt, std::nullopt);
  ASSERT_TRUE(stored);
  EXPECT_EQ(namesOf(stored->scoInfoList), (std::vector<std::string>{"1.前", "2.后"}));
  EXPECT_TRUE(service->hasSelectedCourse("C5"));
  EXPECT_EQ(service->courseInfoWithCourseId("C5")->courseTitle, "标题 C5");
}

TEST_F(CourseServiceTest, GivingUpKeepsRowsAnotherLearnerStillHolds) {
  for (const char* id : {"SHARED", "MINE"}) {
    storeCourse(id, CourseStandard::kThreeScreen);
    storeUnit(id, std::string(id) + "-1", "1");
    storeRecord("U1", id);
    storeUnitRecord("U1", id, std::string(id) + "-1", 1000);
  }
  storeRecord("U2", "SHARED");
  storeUnitRecord("U2", "SHARED", "SHARED-1", 2000);
  storeDownload("U1", "SHARED", "SHARED-1");
  storeDownload("U1", "MINE", "MINE-1");
  storeDownload("U2", "SHARED", "SHARED-1");
  DownloadService::instance()->getDownloadInfos();
  serve(OpenCourseInfoService::kRemoveSelectedCoursePath, "true");

  EXPECT_TRUE(service->removeSelectCourse("SHARED"));
  EXPECT_TRUE(service->removeSelectCourse("MINE"));
  EXPECT_EQ(count("select count(*) from course_study_record where user_id = 'U1'"), 0);
  EXPECT_EQ(count("select count(*) from sco_study_record where user_id = 'U1'"), 0);
  EXPECT_EQ(count("select count(*) from course_info where id = 'SHARED'"), 1);
  EXPECT_EQ(count("select count(*) from course_sco where course_id = 'SHARED'"), 1);
  EXPECT_EQ(count("select count(*) from sco_study_record where user_id = 'U2'"), 1);
  EXPECT_EQ(count("select count(*) from course_info where id = 'MINE'"), 0);
  EXPECT_EQ(count("select count(*) from course_sco where course_id = 'MINE'"), 0);
  EXPECT_EQ(count("select count(*) from sco_download_info where user_id = 'U1'"), 0);
  EXPECT_EQ(count("select count(*) from sco_download_info where user_id = 'U2'"), 1);
  EXPECT_FALSE(DownloadService::instance()->sdiWithScoId("SHARED-1"));

  // A refusal keeps everything.
  serve(OpenCourseInfoService::kRemoveSelectedCoursePath, "false");
  signIn("U2");
  EXPECT_FALSE(service->removeSelectCourse("SHARED"));
  EXPECT_TRUE(service->hasSelectedCourse("SHARED"));
  EXPECT_FALSE(service->removeSelectCourse(std::nullopt));
}

TEST_F(CourseServiceTest, TheBriefIsFiveEscapedSectionsAndFallsBackToTheStoredCourse) {
  auto outlineOnly = std::make_shared<CourseInfo>();
  outlineOnly->outline = "第一章";
  const std::string section = R"(<div style="width:310px;word-break:break-all;font-size:14px">)";
  EXPECT_EQ(CourseService::courseBriefWithCourse(*outlineOnly),
            section + "课程目标： 无</div></br>" + section + "课程提纲：第一章</div></br>" + section +
                "课程对象： 无</div></br>" + section + "讲师介绍： 无</div></br>" + section +
                "课程意义： 无</div></br>");
  EXPECT_FALSE(CourseService::courseBriefWithCourse(CourseInfo{}));

  auto hostile = std::make_shared<CourseInfo>();
  hostile->objectives = R"(<script>alert("x")</script> & 'y')";
  const std::string html = *CourseService::courseBriefWithCourse(*hostile);
  EXPECT_EQ(html.find("<script>"), std::string::npos);
  EXPECT_NE(html.find("&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; &amp; &#39;y&#39;"),
            std::string::npos);

  auto stored = std::make_shared<CourseInfo>();
  stored->id = "O'C";
  stored->courseTitle = "存";
  stored->objectives = "本地目标";
  ASSERT_TRUE(store()->insertObject(stored));
  auto provider = std::make_shared<pf::ManualReachabilityProvider>();
  const auto previous = pf::ReachabilityProvider::install(provider);
  provider->setFlags(pf::kReachabilityFlagsReachable | pf::kReachabilityFlagsIsDirect);

  // Online with the server failing: the stored brief, not none.
  auto brief = service->courseBriefOfCourse("O'C");
  ASSERT_TRUE(brief);
  EXPECT_NE(brief->find("本地目标"), std::string::npos);

  // Online with an answer: the server's brief, written over the stored row.
  serve(OpenCourseInfoService::kGetCourseByIdPath,
        R"({"id": "O'C", "courseTitle": "存", "objectives": "新目标"})");
  brief = service->courseBriefOfCourse("O'C");
  ASSERT_TRUE(brief);
  EXPECT_NE(brief->find("新目标"), std::string::npos);
  EXPECT_EQ(service->courseInfoWithCourseId("O'C")->objectives, "新目标");

  // Offline: the stored one, without asking.
  provider->setFlags(0);
  transport->forget();
  brief = service->courseBriefOfCourse("O'C");
  ASSERT_TRUE(brief);
  EXPECT_NE(brief->find("新目标"), std::string::npos);
  EXPECT_TRUE(transport->sent().empty());
  EXPECT_FALSE(service->courseBriefOfCourse("UNKNOWN"));
  pf::ReachabilityProvider::install(previous);
}

TEST_F(CourseServiceTest, ThePassRateRowIsWrittenAndReadUnderOneCorporationKey) {
  const struct {
    const char* what;
    const char* serverRate;  // nullptr: the call fails
    const char* expectedRow;
  } steps[] = {
      {"no rate at the server: 100", "0", "100.000000"},
      {"80 replaces the default", "80", "80.000000"},
      {"0 never overwrites", "0", "80.000000"},
      {"a failed call never overwrites", nullptr, "80.000000"},
      {"a new rate replaces the old", "75.5", "75.500000"},
  };
  EXPECT_EQ(service->getCorpStudyRate(), 0) << "no row yet";
  for (const auto& step : steps) {
    if (step.serverRate)
      serve(OpenCourseInfoService::kGetCourseRatePath, step.serverRate);
    else
      stopServing(OpenCourseInfoService::kGetCourseRatePath);
    service->syncCorpStudyRateWithCorpCode(std::string("corp"));
    EXPECT_EQ(store()->valueForSettingKey("corp_study_rate_corp"), step.expectedRow) << step.what;
    EXPECT_EQ(service->getCorpStudyRate(), pf::Value(std::string(step.expectedRow)).floatValue())
        << step.what;
  }
  signIn("U3", "other");
  EXPECT_EQ(service->getCorpStudyRate(), 0) << "another corporation's rate";
  service->syncCorpStudyRateWithCorpCode(std::nullopt);
  EXPECT_EQ(count("select count(*) from settings where key like 'corp_study_rate_%'"), 1);
}

TEST_F(CourseServiceTest, CataloguePagesBecomeCourseViews) {
  serve(OpenCourseInfoService::kLoadCourseInfoListPath,
        R"({"pageNo": 1, "pageSize": 20, "total": 2, "rows": [
              {"id": "A", "courseTitle": "甲", "minStudyTime": 600000, "avgPoint": 4.5, "courseStandard": "THREESCREEN"},
              {"id": "B", "courseTitle": "乙"}]})");
  for (const auto& page :
       {service->getAllCourseWithPage(firstPage()), service->getCourseWithPage(firstPage(), "CAT"),
        service->searchCourseWithSearchStr(std::string("甲"), firstPage())}) {
    ASSERT_TRUE(page);
    EXPECT_EQ(idsOf(page->rows), (std::vector<std::string>{"A", "B"}));
    const auto first = (*page->rows)[0].objectAs<CourseViewInfo>();
    EXPECT_EQ(first->minStudyTime, 600000.0f);
    EXPECT_EQ(first->avgPoint, 4.5f);
    EXPECT_FALSE(first->selected);
  }
  stopServing(OpenCourseInfoService::kLoadCourseInfoListPath);
  EXPECT_FALSE(service->getAllCourseWithPage(firstPage()));
}

TEST_F(CourseServiceTest, LookupsBindTheirValues) {
  storeCourse("it's", CourseStandard::kThreeScreen);
  storeUnit("it's", "unit'1", "1");
  storeRecord("U1", "it's");
  storeUnitRecord("U1", "it's", "unit'1", 123);
  ASSERT_TRUE(service->courseInfoWithCourseId("it's"));
  const auto sco = std::dynamic_pointer_cast<CourseSco>(service->scoInfoWithScoId("unit'1"));
  ASSERT_TRUE(sco);
  EXPECT_EQ(service->courseInfoOfSco(sco)->id, "it's");
  EXPECT_EQ(service->scoStudyInfoOfScoInfo(sco)->currentPosition, 123);
  EXPECT_TRUE(service->hasSelectedCourse("it's"));
  EXPECT_EQ(service->scoInfosOfCourse("it's").size(), 1u);
  EXPECT_EQ(service->getScoViewInfoWithScoID("unit'1")->currentPosition, 123);
  EXPECT_FALSE(service->courseInfoWithCourseId("x' OR '1'='1"));
  EXPECT_FALSE(service->hasSelectedCourse(std::nullopt));
}

// A unit whose row is gone is found through the course of this learner's download of it, although
// another learner holds a download row of the same unit.
TEST_F(CourseServiceTest, AUnitIsFoundThroughTheLearnersOwnDownloadAmongOthers) {
  storeCourse("C7", CourseStandard::kThreeScreen);
  storeRecord("U1", "C7");
  storeDownload("U2", "OTHER", "S7");
  storeDownload("U1", "C7", "S7");
  serve(OpenCourseInfoService::kGetCourseScoListPath, "[" + unitJson("C7", "S7", "1", "第1节：重来") + "]");
  const auto unit = std::dynamic_pointer_cast<ScoViewInfo>(service->scoInfoWithScoId("S7"));
  ASSERT_TRUE(unit);
  EXPECT_EQ(unit->courseId, "C7");
  EXPECT_EQ(unit->scoName, "1.重来");
  EXPECT_TRUE(unit->hasDownload);

  // A unit only another learner downloaded is not this learner's.
  store()->executeUpdate("delete from course_sco");
  store()->executeUpdate("delete from sco_download_info where user_id = 'U1'");
  EXPECT_FALSE(service->scoInfoWithScoId("S7"));
}

}  // namespace
