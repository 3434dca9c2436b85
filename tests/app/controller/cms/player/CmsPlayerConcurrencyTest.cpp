// A study-record sync running on a global queue while the player halts and saves on the main thread:
// both write the learner's rows through connections of their own. Run under TSan to catch state the
// two share without a lock; the saved position must survive the sync.

#include <gtest/gtest.h>

#include <atomic>

#include "core/db/VelkDBHelper.h"
#include "core/reflect/TypeCode.h"
#include "platform/foundation/DispatchQueue.h"
#include "tests/app/controller/cms/player/CmsPlayerJourneyTest.h"

namespace cms_player_concurrency_test {

class CmsPlayerConcurrencyTest : public CmsPlayerJourneyTest {};

// Faults caught: a halt's save racing the sync's writes (a data race, or the position lost to the
// sync's copy of the row), and a player that blocks the main thread waiting for the sync.
TEST_F(CmsPlayerConcurrencyTest, ASyncDuringPlayKeepsThePositionSavedAtEachHalt) {
  auto course = courseNamed("CRS-001");
  auto unit = unitOf(*course, "SCO-001-05");
  giveVideoLength(*unit, 300);
  auto video = videoOf(*openUnit(course, unit, 0));
  ASSERT_TRUE(video && playing(*video));
  std::atomic<int> syncs{0};
  for (int round = 0; round < 4; ++round) {
    pf::DispatchQueue::global()->async([&syncs] {
      CourseSyncService().syncCourseInfoAndStudyRecord();
      syncs.fetch_add(1);
    });
    runFor(10);
    video->playButtonPressedWithState(CmsMediaPlayerBottomView::kPlaying);
    EXPECT_FALSE(playing(*video));
    video->playButtonPressedWithState(CmsMediaPlayerBottomView::kHalted);
  }
  loop->runUntilTrue([&] { return syncs.load() == 4; }, 30);
  EXPECT_EQ(syncs.load(), 4);
  const int stored = VelkDBHelper::instance()
                         ->queryForSingleResult(TypeCode::Int,
                                                "select current_position from sco_study_record where sco_id = "
                                                "'SCO-001-05' and user_id = 'U0001'")
                         .intValue();
  EXPECT_GE(stored, 39000) << "a sync overwrote the position saved at a halt";
  tapBack(*video);
  runFor(1);
}

}  // namespace cms_player_concurrency_test
