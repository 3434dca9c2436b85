#pragma once
// Remote calls over the real HTTP engine to the open-interface stand-in on 127.0.0.1: one user
// (acme / alice / secret-1), the client configured for the server, the test thread as main thread.
// The server's clock can be set apart from the client's to fake skew and lapsed sessions.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>

#include "core/open/OpenExtension.h"
#include "core/open/RequestUtil.h"
#include "core/open/ServiceManager.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/RunLoop.h"
#include "tests/core/http/HttpRequestFixture.h"
#include "tests/core/open/ServiceErrorRecorder.h"
#include "tools/devserver/open/OpenServer.h"

class OpenServerFixture : public HttpRequestFixture {
 protected:
  static constexpr char kAppKey[] = "6F1A0C2B9D8E4F7A8B3C5D6E7F8091A2";
  static constexpr char kSecret[] = "B7E3C1A9F2D44E6B8A0C9D1E2F3A4B5C";
  static constexpr char kLogin[] = "/v1/uc/login/ologin";

  void SetUp() override {
    HttpRequestFixture::SetUp();
    pf::RunLoop::setMainThread();
    server.addUser({"acme", "alice", "secret-1", "U-1"});
    ASSERT_TRUE(server.start());
    RequestUtil::setTransport(nullptr);
    ServiceManager::initConfiguration(configuration());
    ServiceManager::sessionCache().clear();
  }
  void TearDown() override {
    server.stop();
    ServiceManager::sessionCache().clear();
    pf::RunLoop::main()->clear();
    HttpRequestFixture::TearDown();
  }

  ServiceConfiguration configuration() const {
    ServiceConfiguration c;
    c.appKey = kAppKey;
    c.secret = kSecret;
    c.baseUrl = server.host();
    c.autoresetSession = true;
    return c;
  }

  pf::Value logIn(const std::string& password = "secret-1") {
    ServiceManager::ParamDic params{{"loginName", openValue("alice")},
                                    {"password", openValue(password)},
                                    {"corpCode", openValue("acme")}};
    return ServiceManager::performRemoteMethod(kLogin, params, "NSString", delegate);
  }

  // Runs what is queued on the main queue so far (the delegate's reports).
  void drainMainQueue() {
    bool drained = false;
    pf::DispatchQueue::main()->async([&] { drained = true; });
    ASSERT_TRUE(pf::RunLoop::main()->runUntilTrue([&] { return drained; }, 5));
  }

  static double realNow() {
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
  }

  std::atomic<double> serverSkew{0};
  devserver::OpenServer server{
      {kAppKey, kSecret, 900, 1000, [this] { return realNow() + serverSkew.load(); }}};
  std::shared_ptr<ServiceErrorRecorder> delegate = std::make_shared<ServiceErrorRecorder>();
};
