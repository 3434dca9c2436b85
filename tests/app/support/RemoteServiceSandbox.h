#pragma once
// Local services that call the server, on a device under test: the application launched in its
// sandbox (a created database), the scripted network of FakeTransport, a virtual clock that starts at
// 2020-01-01 00:00 UTC, and the test thread as main thread.

#include <map>
#include <memory>
#include <string>

#include "app/model/AppClasses.h"
#include "core/open/RequestUtil.h"
#include "core/open/ServiceManager.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/VirtualClock.h"
#include "platform/ui/AlertView.h"
#include "tests/app/support/AppSandbox.h"
#include "tests/core/open/FakeTransport.h"
#include "tests/core/open/ServiceErrorRecorder.h"

class RemoteServiceSandbox : public AppSandbox {
 protected:
  static constexpr double kStartOfClock = 1577836800;

  void SetUp() override {
    AppSandbox::SetUp();
    pf::Clock::install(clock);
    pf::RunLoop::setMainThread();
    pf::RunLoop::main()->clear();
    ASSERT_EQ(launch(), InitService::DatabaseStart::Created);
    registerAppClasses();
    ServiceConfiguration configuration;
    configuration.appKey = "0123456789ABCDEF0123456789ABCDEF";
    configuration.secret = "SECRET-9";
    configuration.baseUrl = "open.test";
    configuration.autoresetSession = false;
    ServiceManager::initConfiguration(configuration);
    ServiceManager::sessionCache().clear();
    RequestUtil::setTransport(transport);
    pf::AlertView::resetVisibleAlerts();
  }
  void TearDown() override {
    RequestUtil::setTransport(nullptr);
    pf::AlertView::resetVisibleAlerts();
    pf::RunLoop::main()->clear();
    pf::Clock::install(nullptr);
    AppSandbox::TearDown();
  }

  // Runs what is queued on the main queue so far (the delegate's reports).
  void drainMainQueue() {
    bool drained = false;
    pf::DispatchQueue::main()->async([&] { drained = true; });
    ASSERT_TRUE(pf::RunLoop::main()->runUntilTrue([&] { return drained; }, 5));
  }

  // The parameters of the request sent at that index, without the signing keys.
  std::map<std::string, std::string> sentParameters(std::size_t index = 0) {
    auto params = FakeTransport::parameters(transport->sent().at(index));
    for (const char* signing : {"appKey_", "sign_", "timestamp_", "session_"}) params.erase(signing);
    return params;
  }

  std::shared_ptr<pf::VirtualClock> clock = std::make_shared<pf::VirtualClock>();
  std::shared_ptr<FakeTransport> transport = std::make_shared<FakeTransport>();
  std::shared_ptr<ServiceErrorRecorder> delegate = std::make_shared<ServiceErrorRecorder>();
};
