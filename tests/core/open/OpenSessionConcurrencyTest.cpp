// Calls from several threads over the HTTP engine into a session the stand-in has ended: they renew
// it once between them and every call is answered under the new session (run under ThreadSanitizer).

#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <thread>
#include <vector>

#include "tests/core/open/OpenServerFixture.h"

namespace {

constexpr char kWhoAmI[] = "/v1/test/whoami";

class OpenSessionConcurrencyTest : public OpenServerFixture {
 protected:
  void SetUp() override {
    OpenServerFixture::SetUp();
    server.method(kWhoAmI, [](const devserver::OpenCall& call) {
      return devserver::OpenAnswer::string(call.user->userId);
    });
  }
};

TEST_F(OpenSessionConcurrencyTest, ThreadsRacingIntoALapsedSessionRenewItOnce) {
  ASSERT_TRUE(logIn().isString());
  const std::string lapsed = *ServiceManager::sessionCache().sessionId();
  server.expireSessions();
  ServiceManager::sessionCache().setLastRefreshTime(
      pf::Date{pf::Date::now().seconds - ServiceManager::kSessionRenewalSeconds});

  constexpr int kCallers = 6;
  std::latch start(kCallers);
  std::atomic<int> answered{0};
  std::vector<std::thread> callers;
  for (int i = 0; i < kCallers; ++i) {
    callers.emplace_back([&] {
      start.arrive_and_wait();
      ServiceManager::ParamDic params;
      if (ServiceManager::performRemoteMethod(kWhoAmI, params, "NSString", delegate) == pf::Value("U-1"))
        ++answered;
    });
  }
  for (auto& caller : callers) caller.join();

  EXPECT_EQ(answered.load(), kCallers);
  EXPECT_EQ(server.calls(kLogin).size(), 2u) << "the sign-in and one renewal";
  const std::optional<std::string> renewed = ServiceManager::sessionCache().sessionId();
  ASSERT_TRUE(renewed);
  EXPECT_NE(*renewed, lapsed);
  const auto calls = server.calls(kWhoAmI);
  EXPECT_EQ(calls.size(), static_cast<std::size_t>(kCallers));
  for (const auto& call : calls) EXPECT_EQ(call.sessionId, *renewed);
  drainMainQueue();
  EXPECT_TRUE(delegate->reports->empty());
}

}  // namespace
