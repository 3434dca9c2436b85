#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/foundation/RunLoop.h"
#include "tests/support/CaseEnd.h"

namespace {

std::vector<std::function<void()>>& caseEndHooks() {
  static std::vector<std::function<void()>> hooks;
  return hooks;
}

// Background work a test leaves in flight (a transfer, a dispatched block) holds the next test's virtual
// clock still, so that test waits for ever on a loaded machine. End what the layer knows how to end, let
// the rest stop before the next test starts, and when it does not, name the test that left it and stop
// the program: every later case would stand still and fail for that test's fault.
class WorkLeftInFlight : public testing::EmptyTestEventListener {
  void OnTestEnd(const testing::TestInfo& test) override {
    for (const auto& hook : caseEndHooks()) hook();
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (pf::RunLoop::pendingWorkCount() > 0 && std::chrono::steady_clock::now() < giveUp) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (const int left = pf::RunLoop::pendingWorkCount(); left > 0) {
      std::fprintf(stderr, "[ in flight ] %s.%s left %d piece(s) of background work running; stopping\n",
                   test.test_suite_name(), test.name(), left);
      std::fflush(nullptr);
      std::_Exit(1);
    }
  }
};

}  // namespace

bool test_support::endEveryCaseWith(std::function<void()> hook) {
  caseEndHooks().push_back(std::move(hook));
  return true;
}

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new WorkLeftInFlight);
  return RUN_ALL_TESTS();
}
