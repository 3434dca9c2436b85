// Remote calls from several threads at once while the session goes stale and the configuration is
// replaced: one renewal, every call carries the renewed session, and nothing races (run under TSan).

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <latch>
#include <thread>

#include "core/open/ServiceManager.h"
#include "tests/core/open/OpenClientFixture.h"

namespace {

class ServiceManagerConcurrencyTest : public OpenClientFixture {};

TEST_F(ServiceManagerConcurrencyTest, ThreadsThatFindTheSessionStaleRenewItOnce) {
  logIn("S-1");
  clock->advance(ServiceManager::kSessionRenewalSeconds);
  std::atomic<int> logins{0};
  constexpr int kCallers = 6;
  std::latch arrived(kCallers);
  transport->setScript([&](const RemoteTransport::Request& r) {
    if (FakeTransport::methodPath(r) != kLogin) return FakeTransport::ok("1");
    // The login answers once every caller has set out, so the others arrive while it is under way.
    arrived.wait();
    return FakeTransport::ok("\"S-" + std::to_string(2 + logins++) + "\"");
  });

  std::atomic<bool> stop{false};
  std::thread installer([&] {
    while (!stop) ServiceManager::initConfiguration(configuration());
  });
  std::vector<std::thread> callers;
  for (int i = 0; i < kCallers; ++i) {
    callers.emplace_back([&] {
      arrived.count_down();
      ServiceManager::ParamDic params;
      EXPECT_EQ(ServiceManager::performRemoteMethod(kSync, params, "i", delegate), pf::Value(1));
      EXPECT_EQ(params.at("session_"), "S-2");
    });
  }
  for (auto& caller : callers) caller.join();
  stop = true;
  installer.join();

  EXPECT_EQ(logins, 1);
  EXPECT_EQ(ServiceManager::sessionCache().sessionId(), "S-2");
}

TEST_F(ServiceManagerConcurrencyTest, ALoginWhileCallsRunLeavesOneConsistentSession) {
  logIn("S-1");
  transport->setScript([](const RemoteTransport::Request& r) {
    if (FakeTransport::methodPath(r) == kLogin) return FakeTransport::ok("\"BOB\"");
    return FakeTransport::ok("1");
  });
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i) {
    threads.emplace_back([&, i] {
      for (int n = 0; n < 20; ++n) {
        ServiceManager::ParamDic params = i == 0 ? ServiceManager::ParamDic{{"loginName", "\"bob\""},
                                                                            {"password", "\"b\""},
                                                                            {"corpCode", "\"acme\""}}
                                                 : ServiceManager::ParamDic{};
        ServiceManager::performRemoteMethod(i == 0 ? kLogin : kSync, params, i == 0 ? "NSString" : "i",
                                            delegate);
        if (i == 1) ServiceManager::sessionCache().clear();  // a sign-out
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (const auto& request : transport->sent()) {
    const auto sent = FakeTransport::parameters(request);
    if (FakeTransport::methodPath(request) == kLogin) {
      EXPECT_FALSE(sent.contains("session_"));
    } else if (sent.contains("session_")) {
      EXPECT_TRUE(sent.at("session_") == "S-1" || sent.at("session_") == "BOB") << sent.at("session_");
    }
  }
  drainMainQueue();
}

}  // namespace
