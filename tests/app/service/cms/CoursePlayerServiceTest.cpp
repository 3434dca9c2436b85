// The study-progress rules: what a stretch of playback or reading does to a unit's and a course's
// progress for each course standard, in the caller's views and in the learner's rows.

#include "app/service/cms/CoursePlayerService.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/model/cms/CourseStandard.h"
#include "tests/app/service/cms/CourseStoreFixture.h"

namespace {

class CoursePlayerServiceTest : public CourseStoreFixture {
 protected:
  void SetUp() override {
    CourseStoreFixture::SetUp();
    player = std::make_unique<CoursePlayerService>(delegate);
  }

  void setPassRate(std::optional<float> rate) {
    if (rate)
      store()->setValue(std::to_string(*rate), CourseService::corpStudyRateKey("corp"));
    else
      store()->executeUpdate("delete from settings");
  }

  // A held course with one video unit per id, each with the learner's rows.
  std::shared_ptr<CourseViewInfo> course(const std::string& standard, std::vector<std::string> unitIds,
                                         float minStudyTime = 0, float rate = 0) {
    auto view = std::make_shared<CourseViewInfo>();
    view->id = "C-" + standard;
    view->courseStandard = standard;
    view->userId = "U1";
    view->minStudyTime = minStudyTime;
    view->studyRate = rate;
    storeRecord("U1", *view->id, rate);
    for (const auto& id : unitIds) {
      auto unit = std::make_shared<ScoViewInfo>();
      unit->courseId = view->id;
      unit->scoId = id;
      unit->userId = "U1";
      view->scoInfoList.push_back(unit);
      storeUnitRecord("U1", *view->id, id);
    }
    return view;
  }

  static float storedFloat(const std::string& sql) {
    return store()->queryForSingleResult(TypeCode::Float, sql).floatValue();
  }

  std::unique_ptr<CoursePlayerService> player;
};

TEST_F(CoursePlayerServiceTest, VideoRulesByStandard) {
  const struct {
    const char* what;
    const char* standard;
    std::optional<float> passRate;
    long long unitMinimum;
    float courseMinimum;
    float courseRate;
    int position;
    double studied, length;
    float unitRate;
    bool complete;
    float courseRateAfter;
    float studyTimeAfter;
  } cases[] = {
      {"A at the pass rate", "THREESCREEN", 80, 0, 0, 0, 80000, 10, 100, 100, true, 100, 0},
      {"A just below", "THREESCREEN", 80, 0, 0, 0, 79999, 10, 100,
       static_cast<float>(79999 / 100000.0 * 100.0), false, 0, 0},
      {"A half", "THREESCREEN", 80, 0, 0, 0, 50000, 10, 100, 50, false, 0, 0},
      {"A without a stored rate", "THREESCREEN", std::nullopt, 0, 0, 0, 1, 10, 100, 100, true, 100, 0},
      {"A without a stored rate at position 0", "THREESCREEN", std::nullopt, 0, 0, 0, 0, 10, 100, 100, true, 100,
       0},
      {"A at position 0", "THREESCREEN", 80, 0, 0, 0, 0, 10, 100, 0, false, 0, 0},
      {"A of length 0", "THREESCREEN", 80, 0, 0, 0, 5000, 10, 0, 100, true, 100, 0},
      {"A of length 0 at position 0", "THREESCREEN", 80, 0, 0, 0, 0, 10, 0, 0, false, 0, 0},
      {"B below 99.8", "TWOSCREEN", 80, 60000, 0, 0, 59879, 10, 300, 59879.0f / 60000.0f * 100.0f, false, 0,
       0},
      {"B at 99.83", "TWOSCREEN", 80, 60000, 0, 0, 59900, 10, 300, 100, true, 100, 0},
      {"B minimum beyond the length", "TWOSCREEN", 80, 600000, 0, 0, 59900, 10, 300,
       59900.0f / 300000.0f * 100.0f, false, 0, 0},
      {"B without a minimum", "TWOSCREEN", 80, 0, 0, 0, 10, 10, 300, 100, true, 100, 0},
      {"B without a minimum at position 0", "TWOSCREEN", 80, 0, 0, 0, 0, 10, 300, 100, true, 100, 0},
      {"B without a minimum of length 0", "TWOSCREEN", 80, -1, 0, 0, 0, 10, 0, 100, true, 100, 0},
      {"B at position 0", "TWOSCREEN", 80, 60000, 0, 0, 0, 10, 300, 0, false, 0, 0},
      {"B of length 0", "TWOSCREEN", 80, 60000, 0, 0, 5000, 10, 0, 100, true, 100, 0},
      {"B of length 0 at position 0", "TWOSCREEN", 80, 60000, 0, 0, 0, 10, 0, 0, false, 0, 0},
      {"C over the top", "ONLINEPACKAGE", 80, 0, 600000, 90, 1000, 70, 0, 0, false, 100, 70000},
      {"C exactly 100", "OLINEURL", 80, 0, 600000, 0, 1000, 600, 0, 0, false, 100, 600000},
      {"C a tenth", "ONLINEDOC", 80, 0, 600000, 0, 1000, 60, 0, 0, false, 10, 60000},
      {"C without a minimum", "ONLINEPACKAGE", 80, 0, 0, 0, 1000, 1, 0, 0, false, 100, 1000},
      {"C on a broken duration", "ONLINEPACKAGE", 80, 0, 600000, 0, 1000, std::nan(""), 0, 0, false, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    store()->executeUpdate("delete from course_study_record");
    store()->executeUpdate("delete from sco_study_record");
    setPassRate(c.passRate);
    const auto view = course(c.standard, {"S1"}, c.courseMinimum, c.courseRate);
    const auto unit = view->scoInfoList[0];
    unit->minStudyTime = c.unitMinimum;
    unit->currentPosition = c.position;

    player->saveStudyRecordWithCourse(view, unit, c.studied, c.length);

    EXPECT_EQ(unit->studyRate, c.unitRate);
    EXPECT_EQ(unit->studyComplete, c.complete);
    EXPECT_EQ(view->studyRate, c.courseRateAfter);
    EXPECT_FALSE(std::isnan(view->studyRate));
    EXPECT_EQ(view->studyTime, c.studyTimeAfter);
    EXPECT_EQ(count("select current_position from sco_study_record where sco_id = 'S1' and user_id = 'U1'"),
              c.position);
    EXPECT_EQ(storedFloat("select study_rate from course_study_record where user_id = 'U1'"),
              c.courseRateAfter);
    if (CourseStandard::hasUnitProgress(std::string(c.standard))) {
      EXPECT_EQ(storedFloat("select study_rate from sco_study_record where sco_id = 'S1'"), c.unitRate);
      EXPECT_EQ(count("select study_complete from sco_study_record where sco_id = 'S1'"), c.complete ? 1 : 0);
      EXPECT_EQ(count("select total_time from sco_study_record where sco_id = 'S1'"),
                static_cast<int>(c.length * 1000));
    } else {
      EXPECT_EQ(storedFloat("select study_time from course_study_record where user_id = 'U1'"),
                c.studyTimeAfter);
    }
  }
}

TEST_F(CoursePlayerServiceTest, AUnitKeepsItsBestRateAndCompleteIsFinal) {
  setPassRate(80);
  const auto view = course(CourseStandard::kTwoScreen, {"S1"});
  const auto unit = view->scoInfoList[0];
  unit->minStudyTime = 60000;
  unit->currentPosition = 30000;
  player->saveStudyRecordWithCourse(view, unit, 10, 300);
  EXPECT_EQ(unit->studyRate, 50);
  unit->currentPosition = 6000;
  player->saveStudyRecordWithCourse(view, unit, 10, 300);
  EXPECT_EQ(unit->studyRate, 50) << "a lower position keeps the rate";
  unit->currentPosition = 60000;
  player->saveStudyRecordWithCourse(view, unit, 10, 300);
  ASSERT_TRUE(unit->studyComplete);
  unit->currentPosition = 1000;
  player->saveStudyRecordWithCourse(view, unit, 10, 200);
  EXPECT_TRUE(unit->studyComplete);
  EXPECT_EQ(unit->studyRate, 100);
  EXPECT_EQ(count("select total_time from sco_study_record where sco_id = 'S1'"), 200000)
      << "length still written";
}

// A movie header may claim nearly 2^64 seconds and the server a huge minimum study time: the stored
// length was an undefined cast (INT_MIN here); it is the longest the record holds, and the rate is judged.
TEST_F(CoursePlayerServiceTest, AnEndlessMovieStoresTheLongestLengthTheRecordHolds) {
  setPassRate(80);
  for (const char* standard : {CourseStandard::kThreeScreen, CourseStandard::kTwoScreen}) {
    const auto view = course(standard, {"S1"});
    const auto unit = view->scoInfoList[0];
    unit->minStudyTime = 1e30f;
    unit->currentPosition = 30000;
    player->saveStudyRecordWithCourse(view, unit, 10, 1.8e19);
    EXPECT_EQ(unit->totalTime, std::numeric_limits<int>::max()) << standard;
    EXPECT_EQ(count("select total_time from sco_study_record where sco_id = 'S1' and course_id = ?",
                    {pf::Value(*view->id)}),
              std::numeric_limits<int>::max())
        << standard;
    EXPECT_FALSE(unit->studyComplete) << standard;
  }
}

// A later stretch that ends further back neither lowers the stored rate nor completes on it.
TEST_F(CoursePlayerServiceTest, ALowerPositionLaterKeepsTheRateAndJudgesOnlyItsOwnStretch) {
  const struct {
    const char* what;
    const char* standard;
    long long unitMinimum;
    float storedRate;
    int lowerPosition;
  } cases[] = {
      {"three screens at 50", CourseStandard::kThreeScreen, 0, 50, 20000},
      {"two screens at 99.9", CourseStandard::kTwoScreen, 60000, 99.9f, 30000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    store()->executeUpdate("delete from course_study_record");
    store()->executeUpdate("delete from sco_study_record");
    setPassRate(99.95f);
    const auto view = course(c.standard, {"S1"});
    const auto unit = view->scoInfoList[0];
    unit->minStudyTime = c.unitMinimum;
    unit->studyRate = c.storedRate;
    unit->currentPosition = c.lowerPosition;
    player->saveStudyRecordWithCourse(view, unit, 10, 100);
    EXPECT_EQ(unit->studyRate, c.storedRate);
    EXPECT_FALSE(unit->studyComplete);
    EXPECT_EQ(storedFloat("select study_rate from sco_study_record where sco_id = 'S1'"), c.storedRate);
    EXPECT_EQ(count("select study_complete from sco_study_record where sco_id = 'S1'"), 0);
  }
}

TEST_F(CoursePlayerServiceTest, TheCourseRateCountsCompletedUnitsButNotChapterHeadings) {
  setPassRate(80);
  const auto view = course(CourseStandard::kThreeScreen, {"S1", "S2", "S3", "S4"});
  auto heading = std::make_shared<ScoViewInfo>();
  heading->scoId = "H";
  heading->isChapter = true;
  view->scoInfoList.insert(view->scoInfoList.begin(), heading);
  view->scoInfoList[1]->studyComplete = true;
  view->scoInfoList[2]->currentPosition = 90000;
  player->saveStudyRecordWithCourse(view, view->scoInfoList[2], 10, 100);
  EXPECT_EQ(view->studyRate, 50) << "2 of 4 units";
  EXPECT_EQ(storedFloat("select study_rate from course_study_record where user_id = 'U1'"), 50);

  for (int i : {3, 4}) {
    view->scoInfoList[i]->currentPosition = 100000;
    player->saveStudyRecordWithCourse(view, view->scoInfoList[i], 10, 100);
  }
  EXPECT_EQ(view->studyRate, 100) << "every unit studied, the heading aside";

  // A copy of a unit rather than the list's element counts too.
  const auto other = course(CourseStandard::kThreeScreen, {"T1", "T2"});
  other->id = "OTHER";
  storeRecord("U1", "OTHER");
  auto copy = std::make_shared<ScoViewInfo>(*other->scoInfoList[0]);
  copy->currentPosition = 100000;
  player->saveStudyRecordWithCourse(other, copy, 10, 100);
  EXPECT_EQ(other->studyRate, 50);

  const auto empty = std::make_shared<CourseViewInfo>();
  empty->id = "EMPTY";
  empty->studyRate = 30;
  player->updateCourseStudyRateWithCourseViewInfo(empty);
  EXPECT_EQ(empty->studyRate, 30) << "no units: no rate to derive, and no NaN";
  EXPECT_EQ(CoursePlayerService::completeScoCountWithScoLists(view->scoInfoList), 4u);
}

TEST_F(CoursePlayerServiceTest, LectureRules) {
  setPassRate(80);
  // THREESCREEN lectures record nothing.
  const auto three = course(CourseStandard::kThreeScreen, {"L3"});
  player->saveStudyRecordOnlyLectureWithCourse(three, three->scoInfoList[0], 600);
  EXPECT_EQ(three->scoInfoList[0]->studyRate, 0);
  EXPECT_EQ(count("select count(*) from sco_study_record where study_rate > 0"), 0);

  // TWOSCREEN lectures progress by reading time against the unit's minimum.
  const auto two = course(CourseStandard::kTwoScreen, {"L2", "V2"});
  const auto lecture = two->scoInfoList[0];
  lecture->minStudyTime = 60000;
  player->saveStudyRecordOnlyLectureWithCourse(two, lecture, 15);
  EXPECT_EQ(lecture->studyRate, 25);
  EXPECT_EQ(storedFloat("select study_rate from sco_study_record where sco_id = 'L2'"), 25);
  player->saveStudyRecordOnlyLectureWithCourse(two, lecture, 45);
  EXPECT_TRUE(lecture->studyComplete);
  EXPECT_EQ(count("select study_complete from sco_study_record where sco_id = 'L2'"), 1);
  EXPECT_EQ(two->studyRate, 50);
  const auto noMinimum = two->scoInfoList[1];
  player->saveStudyRecordOnlyLectureWithCourse(two, noMinimum, 1);
  EXPECT_TRUE(noMinimum->studyComplete);
  EXPECT_EQ(two->studyRate, 100);

  // Other standards: the package rule on the course; a finished course's row is left alone.
  const auto package = course(CourseStandard::kOnlinePackage, {"P1"}, 600000, 90);
  player->saveStudyRecordOnlyLectureWithCourse(package, nullptr, 70);
  EXPECT_EQ(package->studyRate, 100);
  EXPECT_EQ(storedFloat("select study_time from course_study_record where course_id = 'C-ONLINEPACKAGE'"),
            70000);
  store()->executeUpdate("update course_study_record set study_time = 5 where course_id = 'C-ONLINEPACKAGE'");
  player->saveStudyRecordOnlyLectureWithCourse(package, nullptr, 70);
  EXPECT_EQ(storedFloat("select study_time from course_study_record where course_id = 'C-ONLINEPACKAGE'"), 5);
}

// What a learner would see go wrong in the course's own record: time lost, a rate from a lecture that
// records nothing, another learner's record changed.
TEST_F(CoursePlayerServiceTest, TheCourseRecordGrowsOnlyForTheSignedInLearnerAndOnlyByItsRules) {
  setPassRate(80);
  const auto package = course(CourseStandard::kOnlinePackage, {"P1"}, 600000);
  package->studyTime = 30000;
  store()->executeUpdate("update course_study_record set study_time = 30000 where course_id = 'C-ONLINEPACKAGE'");
  player->saveStudyRecordWithCourse(package, package->scoInfoList[0], 60, 0);
  EXPECT_EQ(package->studyTime, 90000) << "30 s stored and a stretch of 60 s";
  EXPECT_EQ(storedFloat("select study_time from course_study_record where course_id = 'C-ONLINEPACKAGE'"), 90000);

  const auto three = course(CourseStandard::kThreeScreen, {"L3"}, 0, 40);
  player->saveStudyRecordOnlyLectureWithCourse(three, three->scoInfoList[0], 600);
  EXPECT_EQ(three->studyRate, 40) << "a lecture of a three-screen course records nothing";
  EXPECT_EQ(storedFloat("select study_rate from course_study_record where course_id = 'C-THREESCREEN'"), 40);

  const auto two = course(CourseStandard::kTwoScreen, {"S1", "S2"});
  storeRecord("U2", "C-TWOSCREEN", 10);
  two->scoInfoList[0]->currentPosition = 60000;
  player->saveStudyRecordWithCourse(two, two->scoInfoList[0], 60, 60);
  ASSERT_TRUE(two->scoInfoList[0]->studyComplete);
  EXPECT_EQ(storedFloat("select study_rate from course_study_record where course_id = 'C-TWOSCREEN' and "
                        "user_id = 'U1'"),
            50);
  EXPECT_EQ(storedFloat("select study_rate from course_study_record where course_id = 'C-TWOSCREEN' and "
                        "user_id = 'U2'"),
            10)
      << "another learner's record of the course is left alone";
}

TEST_F(CoursePlayerServiceTest, AUnitWithoutARowGetsOneForTheSignedInLearner) {
  setPassRate(80);
  const auto view = course(CourseStandard::kThreeScreen, {});
  auto unit = std::make_shared<ScoViewInfo>();  // as listed for a unit never opened: no record fields
  unit->courseId = view->id;
  unit->scoId = "NEW";
  view->scoInfoList.push_back(unit);
  unit->currentPosition = 40000;
  player->saveStudyRecordWithCourse(view, unit, 40, 100);
  EXPECT_EQ(count("select count(*) from sco_study_record where sco_id = 'NEW' and user_id = 'U1' and "
                  "course_id = 'C-THREESCREEN'"),
            1);
  EXPECT_EQ(count("select current_position from sco_study_record where sco_id = 'NEW'"), 40000);
  player->saveStudyRecordWithCourse(view, unit, 40, 100);
  EXPECT_EQ(count("select count(*) from sco_study_record where sco_id = 'NEW'"), 1);
}

}  // namespace
