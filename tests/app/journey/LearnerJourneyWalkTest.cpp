// The learner's day through the real screens against the demo stand-in, on the phone and the tablet:
// each step checks what the learner sees, and the whole walk ends signed in offline with the changed
// password.

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "tests/app/journey/LearnerJourneyTest.h"

namespace learner_journey_walk_test {

constexpr char kLearnerId[] = "U0001";
constexpr char kRecordSyncPath[] = "/v1/els/phonecoursestudyrecord/sync";
// The unit studied online and offline earlier in the day.
constexpr char kStudiedUnit[] = "SCO-001-03";

class LearnerJourneyWalkTest : public LearnerJourneyTest,
                               public ::testing::WithParamInterface<pf::Screen::Profile> {
 protected:
  LearnerJourneyWalkTest() : LearnerJourneyTest(GetParam()) {}

  // Whether a record sync from the index on carried the studied unit.
  bool studyDelivered(size_t since) const {
    const auto calls = server->calls(kRecordSyncPath);
    for (size_t i = since; i < calls.size(); ++i)
      for (const auto& [name, value] : calls[i].parameters)
        if (value.find(kStudiedUnit) != std::string::npos) return true;
    return false;
  }
};

// Faults caught: any screen of the day that shows the wrong thing, an error box on a healthy walk, a
// step that leaves the learner stuck where the next one cannot go on; the settings' sync that never
// delivers the study, a password change the server never took.
TEST_P(LearnerJourneyWalkTest, TheWholeDayShowsWhatTheLearnerExpects) {
  size_t syncsBefore = 0;
  const std::map<std::string, std::function<void()>> serverChecks = {
      {"settings-sync", [&] { EXPECT_TRUE(studyDelivered(syncsBefore)) << "the sync did not carry the study"; }},
      {"change-password",
       [&] {
         const auto learner = server->user(kLearnerId);
         EXPECT_TRUE(learner && learner->password == "learner456") << "the server kept the old password";
       }},
  };
  for (const auto& name : LearnerJourney::stepNames()) {
    SCOPED_TRACE(name);
    syncsBefore = server->calls(kRecordSyncPath).size();
    const auto result = walk(name);
    // The steps after a failed one would fail for its reason.
    if (!result.passed()) break;
    if (const auto check = serverChecks.find(name); check != serverChecks.end()) check->second();
  }
}

INSTANTIATE_TEST_SUITE_P(Profiles, LearnerJourneyWalkTest,
                         ::testing::Values(pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet),
                         [](const auto& info) {
                           return info.param == pf::Screen::Profile::Phone ? std::string("Phone")
                                                                           : std::string("Tablet");
                         });

}  // namespace learner_journey_walk_test
