#pragma once
// Remote calls under test: a known configuration, the fake network, an empty session cache, the test
// thread as main thread and a virtual clock (so "timestamp_" is 1577836800000 until time moves).

#include <memory>
#include <string>

#include "core/open/RequestUtil.h"
#include "core/open/ServiceManager.h"
#include "platform/foundation/DispatchQueue.h"
#include "tests/core/open/FakeTransport.h"
#include "tests/core/open/ServiceErrorRecorder.h"
#include "tests/platform/foundation/MainLoopTest.h"

class OpenClientFixture : public MainLoopTest {
 protected:
  static constexpr char kAppKey[] = "0123456789ABCDEF0123456789ABCDEF";
  static constexpr char kSecret[] = "SECRET-9";
  static constexpr char kLogin[] = "/v1/uc/login/ologin";
  static constexpr char kSync[] = "/v1/lcms/courseinfo/syncCourse";

  void SetUp() override {
    MainLoopTest::SetUp();
    ServiceManager::initConfiguration(configuration());
    RequestUtil::setTransport(transport);
    ServiceManager::sessionCache().clear();
  }
  void TearDown() override {
    RequestUtil::setTransport(nullptr);
    ServiceManager::sessionCache().clear();
    MainLoopTest::TearDown();
  }

  static ServiceConfiguration configuration(bool autoresetSession = true) {
    ServiceConfiguration c;
    c.appKey = kAppKey;
    c.secret = kSecret;
    c.baseUrl = "open.test";
    c.autoresetSession = autoresetSession;
    return c;
  }

  // A successful login of alice answering this session id.
  void logIn(const std::string& sessionId) {
    transport->answerAll(FakeTransport::ok("\"" + sessionId + "\""));
    ServiceManager::ParamDic params = aliceLogin();
    ServiceManager::performRemoteMethod(kLogin, params, "NSString", delegate);
    transport->forget();
  }
  static ServiceManager::ParamDic aliceLogin() {
    return {{"loginName", "\"alice\""}, {"password", "\"pa|ss\""}, {"corpCode", "\"acme\""}};
  }

  // Runs what is queued on the main queue so far.
  void drainMainQueue() {
    bool drained = false;
    pf::DispatchQueue::main()->async([&] { drained = true; });
    ASSERT_TRUE(loop->runUntilTrue([&] { return drained; }, 5));
  }

  std::shared_ptr<FakeTransport> transport = std::make_shared<FakeTransport>();
  std::shared_ptr<ServiceErrorRecorder> delegate = std::make_shared<ServiceErrorRecorder>();
};
