// Journeys through the video player on the demo stand-in and the virtual clock: what a halt saves,
// where playback starts, the seek gate, the bars, and a video the server does not have.

#include <gtest/gtest.h>

#include <cmath>

#include "app/controller/cms/CmsMediaPlayerVolumeView.h"
#include "core/reflect/TypeCode.h"
#include "core/db/VelkDBHelper.h"
#include "tests/app/controller/cms/player/CmsPlayerJourneyTest.h"

namespace cms_video_player_journey_test {

class CmsVideoPlayerJourneyTest : public CmsPlayerJourneyTest {
 protected:
  // A unit of the course, its video answering 300 seconds.
  std::shared_ptr<ScoViewInfo> longUnit(const std::shared_ptr<CourseViewInfo>& course, const std::string& scoId) {
    auto unit = unitOf(*course, scoId);
    if (unit) giveVideoLength(*unit, 300);
    return unit;
  }
  // The learner's stored position of the unit.
  static int storedPosition(const std::string& scoId) {
    return VelkDBHelper::instance()
        ->queryForSingleResult(TypeCode::Int, "select current_position from sco_study_record where sco_id = '" +
                                                  scoId + "' and user_id = 'U0001'")
        .intValue();
  }
  static double playerTime(const CmsMediaPlayerViewController& video) {
    return video.moviePlayerController ? video.moviePlayerController->currentPlaybackTime() : -1;
  }
};

// Catches: a halt that lowers the furthest position, a stretch that is not written, and the gate
// letting a learner jump past what he studied (or stopping him on a free-seek standard).
TEST_F(CmsVideoPlayerJourneyTest, APauseSavesTheFurthestPointAndTheGateHoldsBeyondIt) {
  auto course = courseNamed("CRS-002");
  auto unit = longUnit(course, "SCO-002-01");
  ASSERT_TRUE(unit);
  auto container = openUnit(course, unit, 0);
  auto video = videoOf(*container);
  ASSERT_TRUE(video && playing(*video));
  runFor(20);
  tapPlay(*video);
  EXPECT_FALSE(playing(*video));
  EXPECT_NEAR(unit->currentPosition, 20000, 200);
  EXPECT_EQ(storedPosition("SCO-002-01"), unit->currentPosition) << "the halt wrote no study row";
  const int reached = unit->currentPosition;

  releaseSlider(*video, 5.0f / 300);
  EXPECT_NEAR(playerTime(*video), 5, 0.1);
  runFor(3);
  tapPlay(*video);
  EXPECT_EQ(unit->currentPosition, reached) << "a halt behind the furthest point lowered it";

  releaseSlider(*video, 0.5f);
  EXPECT_LT(playerTime(*video), 20) << "the slider went past what was studied";
  EXPECT_EQ(boxes(), std::vector<std::string>{CmsMediaPlayerViewController::kSeekRefused});
  runFor(1.1);
  EXPECT_NEAR(video->bottomView->progressSlider.lock()->value(), playerTime(*video) / 300, 0.01)
      << "the next tick puts the slider back";
  tapBack(*video);
  runFor(1);

  auto package = courseNamed("CRS-004");
  auto free = longUnit(package, "SCO-004-01");
  auto freeContainer = openUnit(package, free);
  auto freeVideo = videoOf(*freeContainer);
  ASSERT_TRUE(freeVideo);
  releaseSlider(*freeVideo, 0.5f);
  EXPECT_NEAR(playerTime(*freeVideo), 150, 0.2) << "ONLINEPACKAGE seeks anywhere";
}

// Catches: the whole-second rule of the start point and of the gate (125.5 s is past 125,400 ms).
TEST_F(CmsVideoPlayerJourneyTest, PlaybackStartsAtTheSavedSecondAndTheGateComparesWholeSeconds) {
  const struct {
    int saved;
    double start;
  } cases[] = {{125400, 125}, {299500, 0}, {0, 0}};
  auto course = courseNamed("CRS-002");
  auto unit = longUnit(course, "SCO-002-01");
  for (const auto& c : cases) {
    unit->currentPosition = c.saved;
    auto container = openUnit(course, unit, 0);
    auto video = videoOf(*container);
    ASSERT_TRUE(video && playing(*video)) << c.saved;
    EXPECT_NEAR(playerTime(*video), c.start, 0.2) << c.saved;
    if (c.saved == 125400) {
      video->moviePlayerController->pause();
      unit->currentPosition = 125400;
      unit->studyComplete = false;
      releaseSlider(*video, 125.5f / 300);
      EXPECT_EQ(boxes(), std::vector<std::string>{CmsMediaPlayerViewController::kSeekRefused}) << "125.5 s passed";
      releaseSlider(*video, 125.0f / 300);
      EXPECT_NEAR(playerTime(*video), 125, 0.01) << "125.0 s refused";
    }
    tapBack(*video);
    runFor(2);
  }
}

// Catches: a paused stretch counted again at the next halt (back after a long pause) and the back
// button's stop zeroing the time before it is saved.
TEST_F(CmsVideoPlayerJourneyTest, PerCourseStudyTimeCountsEachPlayedStretchOnce) {
  auto course = courseNamed("CRS-004");
  auto unit = longUnit(course, "SCO-004-01");
  ASSERT_TRUE(course && unit);
  const double before = course->studyTime;
  auto video = videoOf(*openUnit(course, unit, 0));
  runFor(60);
  tapPlay(*video);
  runFor(600);
  tapBack(*video);
  runFor(1);
  EXPECT_NEAR(course->studyTime - before, 60000, 200);
  EXPECT_NEAR(courseNamed("CRS-004")->studyTime - before, 60000, 200) << "the row holds what the screen showed";
  EXPECT_EQ(stackClasses().size(), 1u) << "back leaves the player";

  auto other = longUnit(course, "SCO-004-02");
  const double second = course->studyTime;
  video = videoOf(*openUnit(course, other, 0));
  runFor(30);
  tapBack(*video);
  runFor(1);
  EXPECT_NEAR(other->currentPosition, 30000, 200) << "the stop zeroed the position before it was saved";
  EXPECT_NEAR(course->studyTime - second, 30000, 200);
}

// Catches: bars that never hide, a header hidden over the lecture page, a tap between the bars that
// does not bring them back, and timers that outlive the screen.
TEST_F(CmsVideoPlayerJourneyTest, BarsHideAfterThreeSecondsExceptTheHeaderOverTheLecture) {
  auto course = courseNamed("CRS-001");
  auto unit = unitOf(*course, "SCO-001-03");
  ASSERT_TRUE(unit && !unit->lectureUrl.value_or("").empty());
  auto container = openUnit(course, unit, 0);
  auto video = videoOf(*container);
  ASSERT_TRUE(video);
  video->playButtonPressedWithState(video->bottomView->currentPlayState());  // an interaction: pause
  runFor(2.9);
  EXPECT_FALSE(video->bottomView->isHidden());
  runFor(0.2);
  EXPECT_TRUE(video->bottomView->isHidden());
  EXPECT_TRUE(video->headerView->isHidden());
  EXPECT_TRUE(video->volumeView->isHidden());

  const pf::Rect screen = pf::Screen::mainScreen().bounds();
  pf::HeadlessHost(window).tap({screen.width() / 2, screen.height() / 2});
  runFor(0.05);
  EXPECT_FALSE(video->bottomView->isHidden()) << "a tap between the bars shows them";

  loop->runUntilTrue([&] { return video->headerView->currentLectureBtnState() != 0 && !video->webView->isLoading(); },
                     5);
  ASSERT_EQ(video->headerView->currentLectureBtnState(), CmsMediaPlayerHeaderView::kLectureHidden);
  video->lectureButtonPressedWithLectureButtonState(video->headerView->currentLectureBtnState());
  EXPECT_FALSE(video->webView->isHidden());
  runFor(4);
  EXPECT_TRUE(video->bottomView->isHidden());
  EXPECT_FALSE(video->headerView->isHidden()) << "the header hid over the lecture page";

  std::weak_ptr<CmsMediaPlayerViewController> weak = video;
  tapBack(*video);
  video.reset();
  container.reset();
  runFor(5);
  EXPECT_TRUE(weak.expired()) << "a timer or observer kept the closed player alive";
}

// Catches: a missing video leaving the learner on a black screen, and its late pop taking the
// screen the learner went on to.
TEST_F(CmsVideoPlayerJourneyTest, AVideoTheServerDoesNotHaveSaysSoAndClosesOnlyItsPlayer) {
  auto course = courseNamed("CRS-004");
  auto unit = unitOf(*course, "SCO-004-GONE");
  ASSERT_TRUE(unit && !unit->videoUrl.value_or("").empty()) << "the demo's unit without a video file";
  auto container = openUnit(course, unit, 0);
  loop->runUntilTrue([&] { return !boxes().empty(); }, 10);
  EXPECT_EQ(boxes(), std::vector<std::string>{CmsMediaPlayerViewController::kVideoMissing});
  runFor(3);
  EXPECT_EQ(stackClasses().size(), 1u) << "the player stayed after the box";

  openUnit(course, unit, 0);
  loop->runUntilTrue([&] { return !boxes().empty(); }, 10);
  auto next = std::make_shared<BaseViewController>();
  root->pushViewController(next, false);
  runFor(3);
  EXPECT_EQ(root->topViewController(), next) << "the late pop took the screen the learner went on to";
}

// Catches: a downloaded unit streamed again (or refused) when the device is offline, and a lecture
// offered offline.
TEST_F(CmsVideoPlayerJourneyTest, ADownloadedUnitPlaysFromItsFileOffline) {
  auto course = courseNamed("CRS-001");
  auto unit = unitOf(*course, "SCO-001-03");
  auto service = DownloadService::instance();
  service->startDownloadingSco(unit);
  loop->runUntilTrue([&] { return service->vedioPathWithScoID(unit->scoId).has_value(); }, 20);
  ASSERT_TRUE(service->vedioPathWithScoID(unit->scoId));
  setOnline(false);
  auto video = videoOf(*openUnit(course, unit, 0));
  ASSERT_TRUE(video && playing(*video)) << "the downloaded file did not play offline";
  EXPECT_EQ(video->moviePlayerController->movieSourceType(), pf::MoviePlayerController::SourceType::File);
  EXPECT_EQ(video->moviePlayerController->localPath(), *service->vedioPathWithScoID(unit->scoId));
  EXPECT_EQ(video->totalTime, 45);
  video->lectureButtonPressedWithLectureButtonState(CmsMediaPlayerHeaderView::kLectureHidden);
  EXPECT_TRUE(video->webView->isHidden());
  EXPECT_EQ(boxes(), std::vector<std::string>{CmsMediaPlayerViewController::kOffline});
}

// Fault caught: a header claiming nearly 2^64 seconds was cast to an integer (undefined; a negative
// clock here), so the remaining-time label read garbage.
TEST(CmsPlayerClockTest, ClockTextsStayWholeForAnyLength) {
  const struct {
    double seconds;
    const char* text;
  } cases[] = {{0, "00:00:00"}, {-5, "00:00:00"}, {3725.9, "01:02:05"}, {std::nan(""), "00:00:00"},
               {1.8e19, "277777777777:46:40"}};
  for (const auto& c : cases) EXPECT_EQ(CmsMediaPlayerViewController::stringFromTime(c.seconds), c.text) << c.seconds;
}

}  // namespace cms_video_player_journey_test
