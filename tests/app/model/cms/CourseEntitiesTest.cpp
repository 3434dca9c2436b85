// The course entities against the shipped mapping file: the columns the services' SQL names, the
// numeric order of unit show orders, the joined view records, generated keys, and the JSON the
// remote services exchange.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/model/AppClasses.h"
#include "app/model/cms/CmsSearchInfo.h"
#include "app/model/cms/CourseInfo.h"
#include "app/model/cms/CourseSco.h"
#include "app/model/cms/CourseStudyRecord.h"
#include "app/model/cms/CourseViewInfo.h"
#include "app/model/cms/ScoStudyRecord.h"
#include "app/model/cms/ScoViewInfo.h"
#include "core/db/VelkDBHelper.h"
#include "core/json/JsonUtil.h"
#include "core/reflect/ReflectionUtil.h"
#include "platform/foundation/JsonSerialization.h"
#include "tests/app/support/ShippedMapping.h"
#include "tests/support/TemporaryFolder.h"

namespace {

std::shared_ptr<CourseSco> unit(const std::string& scoId, const std::optional<std::string>& showOrder,
                                const std::string& courseId = "C1") {
  auto sco = std::make_shared<CourseSco>();
  sco->courseId = courseId;
  sco->scoId = scoId;
  sco->scoName = "unit " + scoId;
  sco->showOrder = showOrder;
  return sco;
}

std::vector<std::string> showOrders(const pf::Array& units) {
  std::vector<std::string> orders;
  for (const pf::Value& value : units)
    orders.push_back(value.objectAs<CourseSco>()->showOrder.value_or("nil"));
  return orders;
}

class CourseTables : public ::testing::Test {
 protected:
  void SetUp() override {
    registerAppClasses();
    app_test::writeMappingOfWrittenClasses(folder_.file("DBConfig.xml"));
    store_ = std::make_shared<VelkDBHelper>(folder_.file("DBConfig.xml"), folder_.file("Marlune.db"));
    ASSERT_TRUE(store_->createDatabase());
  }

  void insertUnits(const std::vector<std::shared_ptr<CourseSco>>& units) {
    auto array = std::make_shared<pf::Array>();
    for (const auto& sco : units) array->push_back(pf::Value(sco));
    ASSERT_TRUE(store_->insertObjectsUseBatch(array));
  }

  pf_test::TemporaryFolder folder_;
  std::shared_ptr<VelkDBHelper> store_;
};

TEST_F(CourseTables, HoldEveryColumnTheCourseQueriesName) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> tables = {
      {"course_info",
       {"id",
        "category_name",
        "course_title",
        "course_period",
        "score",
        "step_to_get_score",
        "teacher",
        "avg_point",
        "cover_path",
        "open_dsc",
        "course_standard",
        "objectives",
        "tag_name",
        "video_url",
        "access_url",
        "outline",
        "orient_obj",
        "meaning",
        "teacher_introduction",
        "min_study_time"}},
      {"course_sco",
       {"course_id", "sco_id", "sco_name", "is_chapter", "show_order", "video_url", "lecture_url",
        "min_study_time"}},
      {"course_study_record",
       {"sid", "course_id", "user_id", "course_name", "study_rate", "score", "last_study_time",
        "min_study_time", "study_time", "last_modify_time", "course_study_type", "obtained_way"}},
      {"sco_study_record",
       {"sid", "sco_id", "course_id", "user_id", "current_position", "study_complete", "last_study_time",
        "total_time", "study_rate"}},
      {"cms_search_info", {"search_id", "user_id", "title", "last_time"}},
  };
  for (const auto& [table, columns] : tables) {
    for (const std::string& column : columns)
      EXPECT_TRUE(store_->columnExists(column, table)) << table << "." << column;
  }
}

TEST_F(CourseTables, ShowOrdersSortAsNumbersNotAsText) {
  insertUnits({unit("a", "1"), unit("b", "2"), unit("c", "10"), unit("d", "2.5")});
  const pf::Array sorted = store_->queryForList(
      "CourseSco",
      "select * from course_sco si where course_id = ? ORDER BY CAST(si.show_order as FLOAT) ASC", {"C1"});
  EXPECT_EQ(showOrders(sorted), (std::vector<std::string>{"1", "2", "2.5", "10"}));
  // The column holds text: compared as text, 10 would come before 2.
  const pf::Array asText = store_->queryForList(
      "CourseSco", "select * from course_sco where course_id = ? ORDER BY show_order", {"C1"});
  EXPECT_EQ(showOrders(asText), (std::vector<std::string>{"1", "10", "2", "2.5"}));
}

TEST(CourseScoCompare, ComparesTheIntegerPartOfTheShowOrder) {
  struct Case {
    std::optional<std::string> left;
    std::optional<std::string> right;
    int expected;
  };
  const Case cases[] = {
      {"1", "2", -1},  {"10", "9", 1},          {"9", "10", -1},        {"2", "2.5", 0}, {"2.5", "2", 0},
      {"1.0", "1", 0}, {std::nullopt, "1", -1}, {"0", std::nullopt, 0}, {" 3", "3", 0},  {"-1", "0", -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(unit("x", c.left)->compare(*unit("y", c.right)), c.expected)
        << c.left.value_or("nil") << " against " << c.right.value_or("nil");
  }
}

TEST(CourseScoCompare, AStableSortByItKeepsTwoAndTwoAndAHalfInArrivalOrder) {
  std::vector<std::shared_ptr<CourseSco>> units = {unit("a", "1"), unit("b", "2"), unit("c", "10"),
                                                   unit("d", "2.5")};
  std::stable_sort(units.begin(), units.end(),
                   [](const auto& l, const auto& r) { return l->compare(*r) < 0; });
  std::vector<std::string> ids;
  for (const auto& sco : units) ids.push_back(*sco->scoId);
  EXPECT_EQ(ids, (std::vector<std::string>{"a", "b", "d", "c"}));

  units = {unit("d", "2.5"), unit("b", "2")};
  std::stable_sort(units.begin(), units.end(),
                   [](const auto& l, const auto& r) { return l->compare(*r) < 0; });
  EXPECT_EQ(*units.front()->scoId, "d");
}

TEST_F(CourseTables, AUnitTheUserNeverOpenedJoinsAsNotStarted) {
  insertUnits({unit("S1", "1"), unit("S2", "2")});
  auto record = std::make_shared<ScoStudyRecord>();
  record->sid = "R1";
  record->scoId = "S2";
  record->courseId = "C1";
  record->userId = "U1";
  record->currentPosition = 42000;
  record->studyComplete = true;
  record->totalTime = 60000;
  record->studyRate = 70;
  ASSERT_TRUE(store_->insertObject(record));

  const pf::Array views = store_->queryForList(
      "ScoViewInfo",
      "select si.course_id, si.sco_id, si.sco_name, si.is_chapter, si.show_order, si.video_url, "
      "si.lecture_url, "
      "si.min_study_time, ssr.user_id, ssr.current_position, ssr.study_complete, ssr.last_study_time, "
      "ssr.total_time, ssr.study_rate FROM ( SELECT * FROM course_sco WHERE course_id = ? ) si LEFT JOIN ( "
      "SELECT * "
      "FROM sco_study_record WHERE user_id = ? AND course_id = ? ) ssr ON si.sco_id = ssr.sco_id ORDER BY "
      "CAST(si.show_order as FLOAT) ASC",
      {"C1", "U1", "C1"});
  ASSERT_EQ(views.size(), 2u);
  const auto fresh = views[0].objectAs<ScoViewInfo>();
  EXPECT_EQ(fresh->scoId, "S1");
  EXPECT_EQ(fresh->currentPosition, 0);
  EXPECT_EQ(fresh->studyRate, 0.0f);
  EXPECT_FALSE(fresh->studyComplete);
  EXPECT_EQ(fresh->totalTime, 0);
  EXPECT_FALSE(fresh->userId);
  const auto studied = views[1].objectAs<ScoViewInfo>();
  EXPECT_EQ(studied->currentPosition, 42000);
  EXPECT_TRUE(studied->studyComplete);
  EXPECT_EQ(studied->totalTime, 60000);
  EXPECT_EQ(studied->studyRate, 70.0f);
  EXPECT_EQ(studied->userId, "U1");
}

TEST_F(CourseTables, ARecordWithoutItsCourseRowStaysOutOfTheJoinedCourseList) {
  auto course = std::make_shared<CourseInfo>();
  course->id = "C1";
  course->courseTitle = "Listening";
  course->coursePeriod = 1.5;
  course->openDsc = true;
  course->minStudyTime = 600000;
  ASSERT_TRUE(store_->insertObject(course));
  for (const char* courseId : {"C1", "C-GONE"}) {
    auto record = std::make_shared<CourseStudyRecord>();
    record->courseId = courseId;
    record->userId = "U1";
    record->studyRate = 12.5f;
    record->lastModifyTime = pf::Date{1700000000};
    ASSERT_TRUE(store_->saveObject(record));
  }
  const pf::Array mine = store_->queryForList(
      "CourseViewInfo",
      "select ci.id, ci.course_title, ci.course_period, ci.open_dsc, ci.min_study_time, csr.study_rate, "
      "csr.user_id, csr.last_modify_time FROM course_info ci INNER JOIN course_study_record csr ON "
      "csr.course_id = "
      "ci.id WHERE csr.user_id = ? ORDER BY csr.last_modify_time DESC",
      {"U1"});
  ASSERT_EQ(mine.size(), 1u);
  const auto view = mine[0].objectAs<CourseViewInfo>();
  EXPECT_EQ(view->id, "C1");
  EXPECT_EQ(view->courseTitle, "Listening");
  EXPECT_DOUBLE_EQ(view->coursePeriod, 1.5);
  EXPECT_TRUE(view->openDsc);
  EXPECT_EQ(view->minStudyTime, 600000.0f);
  EXPECT_EQ(view->studyRate, 12.5f);
  EXPECT_EQ(view->lastModifyTime->seconds, 1700000000);
  EXPECT_FALSE(view->selected);
}

TEST_F(CourseTables, SavingARecordOrASearchFillsItsKey) {
  auto record = std::make_shared<CourseStudyRecord>();
  record->courseId = "C1";
  ASSERT_TRUE(store_->saveObject(record));
  ASSERT_TRUE(record->sid);
  EXPECT_EQ(record->sid->size(), 32u);
  EXPECT_TRUE(store_->queryForObject("CourseStudyRecord", pf::Value(*record->sid)));

  auto search = std::make_shared<CmsSearchInfo>();
  search->userId = "U1";
  search->title = "沟通";
  ASSERT_TRUE(store_->saveObject(search));
  ASSERT_TRUE(search->searchId);
  EXPECT_EQ(search->searchId->size(), 32u);
}

TEST_F(CourseTables, ACourseRowKeepsWhatTheServerSentExceptItsTeachers) {
  registerAppClasses();
  ReflectionUtil::setArrayType("Teacher", "teacherList", "CourseInfo");
  const auto course = JsonUtil::objectFromJsonString(
                          R"({"id": "C7", "courseTitle": "安全", "courseStandard": "ONESCREEN", "score": 2.5,
                              "minStudyTime": 600000, "releaseDate": 1735689600000, "openDsc": true,
                              "avgPoint": 4.5, "videoUrl": "http://127.0.0.1/v.mp4",
                              "teacherList": [{"teacherName": "王", "teacherSource": "内部"}]})",
                          "CourseInfo")
                          .objectAs<CourseInfo>();
  ASSERT_TRUE(course);
  ASSERT_EQ(course->teacherList.size(), 1u);
  EXPECT_EQ(course->teacherList[0]->teacherName, "王");
  EXPECT_EQ(course->releaseDate->seconds, 1735689600);
  ASSERT_TRUE(store_->insertObject(course));

  const auto stored = store_->queryForObject("CourseInfo", pf::Value("C7"));
  ASSERT_TRUE(stored);
  const auto read = std::static_pointer_cast<CourseInfo>(stored);
  EXPECT_EQ(read->courseTitle, "安全");
  EXPECT_EQ(read->courseStandard, "ONESCREEN");
  EXPECT_DOUBLE_EQ(read->score, 2.5);
  EXPECT_DOUBLE_EQ(read->minStudyTime, 600000);
  EXPECT_EQ(read->releaseDate->seconds, 1735689600);
  EXPECT_TRUE(read->openDsc);
  EXPECT_FLOAT_EQ(read->avgPoint, 4.5f);
  EXPECT_EQ(read->videoUrl, "http://127.0.0.1/v.mp4");
  EXPECT_TRUE(read->teacherList.empty());
}

TEST(CourseStudyRecordJson, TravelsWithItsUnitRecordsAndDatesInMilliseconds) {
  registerAppClasses();
  auto record = std::make_shared<CourseStudyRecord>();
  record->courseId = "C1";
  record->studyRate = 50;
  record->lastStudyTime = pf::Date{1700000000.5};
  auto sco = std::make_shared<ScoStudyRecord>();
  sco->scoId = "S1";
  sco->studyComplete = true;
  sco->currentPosition = 30000;
  record->scoStudyRecordList.push_back(sco);

  const std::optional<std::string> text = JsonUtil::jsonStringWithObject(pf::Value(record));
  ASSERT_TRUE(text);
  const pf::Value written = pf::JsonSerialization::JSONObjectWithString(*text, 0);
  EXPECT_EQ(written["lastStudyTime"].longLongValue(), 1700000000500LL);
  EXPECT_EQ(written["scoStudyRecordList"].array()->size(), 1u);
  EXPECT_TRUE((*written["scoStudyRecordList"].array())[0]["studyComplete"].boolValue());
  EXPECT_TRUE(written["lastModifyTime"].isNil());

  ReflectionUtil::setArrayType("ScoStudyRecord", "scoStudyRecordList", "CourseStudyRecord");
  const auto read = JsonUtil::objectFromJsonString(*text, "CourseStudyRecord").objectAs<CourseStudyRecord>();
  ASSERT_TRUE(read);
  ASSERT_EQ(read->scoStudyRecordList.size(), 1u);
  EXPECT_EQ(read->scoStudyRecordList[0]->currentPosition, 30000);
  EXPECT_TRUE(read->scoStudyRecordList[0]->studyComplete);
  EXPECT_EQ(read->lastStudyTime->seconds, 1700000000.5);
}

}  // namespace
