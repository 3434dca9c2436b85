#pragma once
// The application on a device under test, launched against the loopback stand-in with the demo folder's
// settings and users, over the real HTTP engine. Each test installs the modules' demo data it needs.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/model/lgn/User.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/cms/DownloadService.h"
#include "core/open/OpenExtension.h"
#include "core/open/RequestUtil.h"
#include "core/open/ServiceManager.h"
#include "platform/foundation/RunLoop.h"
#include "tests/app/support/AppSandbox.h"
#include "tests/core/open/ServiceErrorRecorder.h"
#include "tools/devserver/open/OpenDataFolder.h"

class DemoServerSandbox : public AppSandbox {
 protected:
  // Starts the stand-in, with what `install` adds to it, and launches the app against it on a new device.
  void startServer(const std::function<void(devserver::OpenServer&)>& install) {
    pf::RunLoop::setMainThread();
    std::string problem;
    const auto folder = devserver::OpenDataFolder::read(MARLUNE_DEMO_DATA, &problem);
    ASSERT_TRUE(folder) << problem;
    server = std::make_unique<devserver::OpenServer>(folder->settings);
    folder->install(*server);
    install(*server);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(server->start());
    appKey_ = folder->settings.appKey;
    secret_ = folder->settings.secret;
    ASSERT_EQ(launchAgainstServer(), InitService::DatabaseStart::Created);
  }

  // A launch of the app on this device, pointed at the stand-in.
  InitService::DatabaseStart launchAgainstServer() {
    DownloadService::unload();
    const auto start = launch();
    ServiceConfiguration configuration;
    configuration.appKey = appKey_;
    configuration.secret = secret_;
    configuration.baseUrl = server->host();
    configuration.autoresetSession = true;
    configuration.timeoutInSeconds = requestTimeout;
    ServiceManager::initConfiguration(configuration);
    ServiceManager::sessionCache().clear();
    RequestUtil::setTransport(nullptr);
    return start;
  }

  // Opens a session on the stand-in, as the sign-in does before it fetches the profile.
  void openSession(const std::string& login = "learner", const std::string& password = "learner123",
                   const std::string& corpCode = "demo") {
    ServiceManager::ParamDic params{{"loginName", openValue(login)},
                                    {"password", openValue(password)},
                                    {"corpCode", openValue(corpCode)}};
    ASSERT_TRUE(ServiceManager::performRemoteMethod(ServiceManager::kLoginUri, params, "NSString", delegate)
                    .isString());
  }

  // The learner of that id, of the demo corporation, becomes the current user, with a new download service.
  static void becomeCurrentUser(const std::string& userId) {
    auto user = std::make_shared<User>();
    user->userId = userId;
    user->corpCode = "demo";
    CommonService().updateCurrentUser(user);
    DownloadService::unload();
  }

  void TearDown() override {
    DownloadService::unload();
    if (server) server->stop();
    ServiceManager::sessionCache().clear();
    pf::RunLoop::main()->clear();
    AppSandbox::TearDown();
  }

  // The remote calls' time-out from the next launch on.
  std::uint32_t requestTimeout = ServiceConfiguration{}.timeoutInSeconds;
  std::unique_ptr<devserver::OpenServer> server;
  std::shared_ptr<ServiceErrorRecorder> delegate = std::make_shared<ServiceErrorRecorder>();

 private:
  std::string appKey_;
  std::string secret_;
};
