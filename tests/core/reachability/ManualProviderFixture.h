#pragma once
// Installs a provider whose flags the test sets, and puts the previous one back afterwards.

#include <gtest/gtest.h>

#include <memory>

#include "platform/foundation/RunLoop.h"
#include "platform/net/ManualReachabilityProvider.h"

class ManualProviderFixture : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = pf::ReachabilityProvider::install(provider_);
    loop_->clear();
  }
  void TearDown() override {
    loop_->clear();
    pf::ReachabilityProvider::install(previous_);
  }

  // Runs this thread's loop until it has nothing left to do.
  void drain() {
    while (loop_->runOnce(0.02) == pf::RunLoop::Result::Handled) {
    }
  }

  std::shared_ptr<pf::ManualReachabilityProvider> provider_ =
      std::make_shared<pf::ManualReachabilityProvider>();
  std::shared_ptr<pf::RunLoop> loop_ = pf::RunLoop::current();

 private:
  std::shared_ptr<pf::ReachabilityProvider> previous_;
};
