// Journeys through the player container and the lecture player: which player a unit gets, the
// reading time saved on back by the course's rule, and a lecture page that is missing.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/app/controller/cms/player/CmsPlayerJourneyTest.h"
#include "tools/devserver/Exchange.h"

namespace cms_lecture_player_journey_test {

class CmsLecturePlayerJourneyTest : public CmsPlayerJourneyTest {
 protected:
  // The demo's lecture whose page is a web server's "404 Not Found" page.
  static std::string missingLectureUrl() {
    auto unit = unitOf(*courseNamed("CRS-004"), "SCO-004-NOPAGE");
    return unit ? unit->lectureUrl.value_or("") : "";
  }
  // Waits for the lecture page to finish (or fail) loading.
  void waitForPage(CmsOnlylecturePlayerViewController& lecture) {
    loop->runUntilTrue([&] { return !lecture.webView->isLoading(); }, 10);
    loop->runUntil(pf::Clock::now() + 0.1);
  }
};

// Catches: a unit with both a video and a lecture opening the lecture player, or a lecture-only
// unit opening a video player on an empty address.
TEST_F(CmsLecturePlayerJourneyTest, TheContainerPicksThePlayerByTheVideoAddress) {
  auto course = courseNamed("CRS-001");
  auto both = unitOf(*course, "SCO-001-03");
  ASSERT_TRUE(both && both->videoUrl && both->lectureUrl);
  auto container = openUnit(course, both);
  EXPECT_TRUE(videoOf(*container));
  tapBack(*videoOf(*container));
  runFor(1);

  auto documents = courseNamed("CRS-006");
  auto lectureOnly = unitOf(*documents, "SCO-006-01");
  ASSERT_TRUE(lectureOnly && lectureOnly->videoUrl.value_or("").empty());
  container = openUnit(documents, lectureOnly);
  ASSERT_TRUE(lectureOf(*container));
  EXPECT_EQ(lectureOf(*container)->headerView->currentLectureBtnState(), CmsMediaPlayerHeaderView::kLectureOnly);
}

// Catches: reading time not saved, saved on a standard that counts units only, or a back before the
// page loaded reporting time.
TEST_F(CmsLecturePlayerJourneyTest, ReadingTimeIsSavedOnBackByTheCoursesRule) {
  auto documents = courseNamed("CRS-006");
  auto unit = unitOf(*documents, "SCO-006-01");
  const double before = documents->studyTime;
  auto container = openUnit(documents, unit, 0);
  auto lecture = lectureOf(*container);
  ASSERT_TRUE(lecture);
  waitForPage(*lecture);
  EXPECT_FALSE(lecture->webView->isHidden());
  runFor(95);
  tapBack(lecture->headerView);
  runFor(1);
  EXPECT_NEAR(documents->studyTime - before, 95000, 400);
  EXPECT_EQ(stackClasses().size(), 1u);

  auto units = courseNamed("CRS-001");
  auto read = unitOf(*units, "SCO-001-03");
  read->videoUrl = "";
  const double unitsBefore = units->studyTime;
  const int positionBefore = read->currentPosition;
  lecture = lectureOf(*openUnit(units, read, 0));
  waitForPage(*lecture);
  runFor(95);
  tapBack(lecture->headerView);
  runFor(1);
  EXPECT_EQ(units->studyTime, unitsBefore) << "THREESCREEN counts no reading time";
  EXPECT_EQ(read->currentPosition, positionBefore);

  server->route("/lecture/slow.html", [](devserver::Exchange& exchange) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    exchange.respond(200, "<p>slow</p>", {{"Content-Type", "text/html"}});
  });
  unit->lectureUrl = server->url("/lecture/slow.html");
  const double beforeEarly = documents->studyTime;
  container = std::make_shared<CmsMainMediaPlayerViewController>();
  container->courseViewInfo = documents;
  container->scoViewInfo = unit;
  root->pushViewController(container, false);
  tapBack(lectureOf(*container)->headerView);
  runFor(2);
  EXPECT_EQ(documents->studyTime, beforeEarly) << "a back before the page loaded reported time";
}

// Catches: a missing lecture that keeps the learner on an error page, saves time, or whose late
// close pops the course detail the learner went back to.
TEST_F(CmsLecturePlayerJourneyTest, AMissingLectureSaysSoClosesAndSavesNothing) {
  auto documents = courseNamed("CRS-006");
  auto unit = unitOf(*documents, "SCO-006-01");
  unit->lectureUrl = missingLectureUrl();
  ASSERT_FALSE(unit->lectureUrl->empty());
  const double before = documents->studyTime;
  auto detail = std::make_shared<BaseViewController>();
  root->pushViewController(detail, false);
  auto lecture = lectureOf(*openUnit(documents, unit, 0));
  loop->runUntilTrue([&] { return !boxes().empty(); }, 10);
  EXPECT_EQ(boxes(), std::vector<std::string>{CmsOnlylecturePlayerViewController::kMissingLecture});
  EXPECT_TRUE(lecture->webView->isHidden());
  runFor(1.0);
  EXPECT_EQ(stackClasses().size(), 3u) << "closed before the box had shown 1.5 s";
  runFor(1.5);
  EXPECT_EQ(root->topViewController(), detail);
  EXPECT_EQ(documents->studyTime, before);

  lecture = lectureOf(*openUnit(documents, unit, 0));
  loop->runUntilTrue([&] { return !boxes().empty(); }, 10);
  tapBack(lecture->headerView);
  runFor(3);
  EXPECT_EQ(root->topViewController(), detail) << "the late close popped the detail too";
  EXPECT_EQ(documents->studyTime, before);
}

}  // namespace cms_lecture_player_journey_test
