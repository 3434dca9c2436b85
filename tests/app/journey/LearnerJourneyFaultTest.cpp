// The learner's day again with the stand-in failing at each step: the first call of the step stalls
// past the time-out, has its connection reset, answers 503 or answers garbage. Whatever the step
// could not do, the learner is told so on screen, nothing crashes, the learner tries again on a healthy
// server and goes on; the study made offline survives every failed sync and the next healthy one
// delivers it.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "app/service/cms/CourseService.h"
#include "tests/app/journey/LearnerJourneyTest.h"
#include "tools/devserver/Answers.h"

namespace learner_journey_fault_test {

constexpr char kRecordSyncPath[] = "/v1/els/phonecoursestudyrecord/sync";
constexpr char kStudiedCourse[] = "CRS-001";
constexpr char kStudiedUnit[] = "SCO-001-03";

struct JourneyFault {
  const char* name;
  devserver::Handler handler;
};

std::vector<JourneyFault> journeyFaults() {
  using namespace devserver::answers;
  return {{"stall", stall(3)},
          {"reset", resetMidBody(R"({"hasException": false, "data": [1, 2, 3]})", 9)},
          {"5xx", text(503, "<html>busy</html>", {{"Content-Type", "text/html"}})},
          {"garbage", text(200, R"({"addList": [{"id": )", {{"Content-Type", "application/json;charset=UTF-8"}})}};
}

class LearnerJourneyFaultTest : public LearnerJourneyTest,
                                public ::testing::WithParamInterface<pf::Screen::Profile> {
 protected:
  LearnerJourneyFaultTest() : LearnerJourneyTest(GetParam()) {}

  // The unit's position as the device keeps it.
  static int studiedPosition() {
    auto course = CourseService().getCourseViewInfoWithCourseID(kStudiedCourse);
    if (!course) return -1;
    for (const auto& unit : course->scoInfoList)
      if (unit->scoId == kStudiedUnit) return unit->currentPosition;
    return -1;
  }
  // Whether a record sync since the index carried the unit.
  bool recordDelivered(size_t since) const {
    const auto calls = server->calls(kRecordSyncPath);
    for (size_t i = since; i < calls.size(); ++i)
      for (const auto& [name, value] : calls[i].parameters)
        if (value.find(kStudiedUnit) != std::string::npos) return true;
    return false;
  }
};

// Faults caught: a failure that leaves the learner without a word, a crash or a hang on a broken
// answer, a screen that cannot be used again after a failure, study made offline lost by a failed
// sync or never delivered.
TEST_P(LearnerJourneyFaultTest, EveryStepSaysWhatFailedAndTheDayGoesOn) {
  const auto faults = journeyFaults();
  const auto names = LearnerJourney::stepNames();
  int offlinePosition = -1;
  std::optional<size_t> syncsBefore;
  for (size_t i = 0; i < names.size(); ++i) {
    const auto& fault = faults[i % faults.size()];
    SCOPED_TRACE(names[i] + " with " + fault.name);
    if (names[i] == "settings-sync") syncsBefore = server->calls(kRecordSyncPath).size();
    server->planFaultsOnAnyMethod({fault.handler});
    const auto failed = journey->runStep(i);
    server->clearFaultPlans();
    if (!failed.passed()) {
      EXPECT_FALSE(failed.messages.empty()) << "the step went wrong without a word: " << failed.problems.front();
      if (offlinePosition > 0) {
        EXPECT_EQ(studiedPosition(), offlinePosition) << "a failed step lost the offline study";
      }
      walk(names[i]);
    }
    if (names[i] == "offline-play") {
      offlinePosition = studiedPosition();
      EXPECT_GT(offlinePosition, 0);
    }
  }
  ASSERT_TRUE(syncsBefore) << "the walk never reached the sync";
  EXPECT_TRUE(recordDelivered(*syncsBefore)) << "the study made offline never reached the server";
}

INSTANTIATE_TEST_SUITE_P(Profiles, LearnerJourneyFaultTest,
                         ::testing::Values(pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet),
                         [](const auto& info) {
                           return info.param == pf::Screen::Profile::Phone ? std::string("Phone")
                                                                           : std::string("Tablet");
                         });

}  // namespace learner_journey_fault_test
