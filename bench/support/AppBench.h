#pragma once
// The app on a new device against the loopback stand-in, for the benchmarks that drive screens: a copy
// of the demo data (which a benchmark may change: more blogs, a generated catalogue) served by every
// demo module, the assembled bundle (interface files and pictures), the demo learner signed in.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "app/model/lgn/User.h"
#include "app/service/cmn/CommonService.h"
#include "app/service/cmn/InitService.h"
#include "app/service/cms/DownloadService.h"
#include "core/db/VelkDBHelper.h"
#include "core/open/OpenExtension.h"
#include "core/open/RequestUtil.h"
#include "core/open/ServiceManager.h"
#include "core/version/VersionPrompt.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/UserDefaults.h"
#include "tools/devserver/demo/DemoMethods.h"
#include "tools/devserver/open/OpenDataFolder.h"

namespace bench {

class AppBench {
 public:
  // Copies the demo data into folder/data and answers that folder.
  static std::filesystem::path copyDemoData(const std::filesystem::path& folder) {
    const auto data = folder / "data";
    std::filesystem::copy(MARLUNE_DEMO_DATA, data, std::filesystem::copy_options::recursive);
    return data;
  }

  // A new device at home, against a stand-in serving the data folder.
  bool start(const std::string& data, const std::string& home, const std::string& userId) {
    pf::Bundle::setMainBundlePath(MARLUNE_BUNDLE_DIR);
    std::string problem;
    const auto folder = devserver::OpenDataFolder::read(data, &problem);
    if (!folder) return fail("demo data: " + problem);
    server_ = std::make_unique<devserver::OpenServer>(folder->settings);
    folder->install(*server_);
    devserver::installDemoMethods(*server_, data);
    if (!server_->start()) return fail("the stand-in does not start");
    launchDevice(home, *server_, folder->settings, userId);
    RequestUtil::setTransport(nullptr);
    if (!signIn()) return fail("the demo learner cannot sign in");
    DownloadService::unload();
    return true;
  }
  // A new process on a new device at home: the store, the defaults and the shared state start empty,
  // the client is set up for the server and the user is the device's current one.
  static void launchDevice(const std::string& home, const devserver::OpenServer& server,
                           const devserver::OpenServer::Settings& settings, const std::string& userId) {
    DownloadService::unload();
    pf::UserDefaults::resetStandardUserDefaults();
    VelkDBHelper::resetInstance();
    VersionPrompt::resetSharedInstance();
    CommonService::clearSharedState();
    pf::Sandbox::setHome(home);
    InitService().initAll();
    ServiceConfiguration configuration;
    configuration.appKey = settings.appKey;
    configuration.secret = settings.secret;
    configuration.baseUrl = server.host();
    configuration.autoresetSession = true;
    ServiceManager::initConfiguration(configuration);
    auto user = std::make_shared<User>();
    user->userId = userId;
    user->corpCode = "demo";
    CommonService().updateCurrentUser(user);
  }
  // The demo learner's session with the server; false when it is refused.
  static bool signIn() {
    ServiceManager::sessionCache().clear();
    ServiceManager::ParamDic login{{"loginName", openValue("learner")},
                                   {"password", openValue("learner123")},
                                   {"corpCode", openValue("demo")}};
    return ServiceManager::performRemoteMethod(ServiceManager::kLoginUri, login, "NSString", nullptr)
        .isString();
  }
  void stop() {
    DownloadService::unload();
    if (server_) server_->stop();
  }
  ~AppBench() { stop(); }

  devserver::OpenServer& server() { return *server_; }

 private:
  static bool fail(const std::string& why) {
    std::fprintf(stderr, "%s\n", why.c_str());
    return false;
  }
  std::unique_ptr<devserver::OpenServer> server_;
};

}  // namespace bench
