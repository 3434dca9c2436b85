#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/foundation/RunLoop.h"

namespace {

// Background work a test leaves in flight (a transfer, a dispatched block) holds the next test's virtual
// clock still, so that test waits for ever on a loaded machine. Let it end before the next test starts,
// and name the test that left it when it does not end.
class WorkLeftInFlight : public testing::EmptyTestEventListener {
  void OnTestEnd(const testing::TestInfo& test) override {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (pf::RunLoop::pendingWorkCount() > 0 && std::chrono::steady_clock::now() < giveUp) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (const int left = pf::RunLoop::pendingWorkCount(); left > 0) {
      std::fprintf(stderr, "[ in flight ] %s.%s left %d piece(s) of background work running\n",
                   test.test_suite_name(), test.name(), left);
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new WorkLeftInFlight);
  return RUN_ALL_TESTS();
}
