#pragma once
// Fixture for code that runs on the main loop: the test's own thread is the main thread, time is a
// fresh virtual clock starting at zero, and the main loop starts and ends empty.

#include <gtest/gtest.h>

#include <memory>

#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/VirtualClock.h"

class MainLoopTest : public testing::Test {
 protected:
  void SetUp() override {
    pf::Clock::install(clock);
    pf::RunLoop::setMainThread();
    loop = pf::RunLoop::main();
    loop->clear();
  }
  void TearDown() override {
    loop->clear();
    pf::Clock::install(nullptr);
  }

  std::shared_ptr<pf::VirtualClock> clock = std::make_shared<pf::VirtualClock>();
  std::shared_ptr<pf::RunLoop> loop;
};
