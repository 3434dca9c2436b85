#pragma once
// One device for the application under test: a sandbox home that keeps its files across launches, and
// a bundle made from the application's resources (with the mapping of the classes written so far).
// relaunch() starts a new process on the same device: the process-wide state starts empty again.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/service/cmn/CommonService.h"
#include "app/service/cmn/InitService.h"
#include "core/db/VelkDBHelper.h"
#include "core/version/VersionPrompt.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/UserDefaults.h"
#include "tests/app/support/ShippedMapping.h"
#include "tests/support/TemporaryFolder.h"

class AppSandbox : public ::testing::Test {
 protected:
  void SetUp() override {
    namespace fs = std::filesystem;
    fs::create_directories(bundlePath());
    for (const char* name : {"Info.plist", "Server.plist", "CollectionDefine.plist"}) {
      const fs::path from = fs::path(MARLUNE_APP_RESOURCES) / name;
      if (fs::exists(from)) fs::copy_file(from, fs::path(bundlePath()) / name);
    }
    app_test::writeMappingOfWrittenClasses(bundlePath() + "/DBConfig.xml");
    pf::Sandbox::setHome(folder_.file("home"));
    relaunch();
  }
  void TearDown() override {
    endProcess();
    pf::Sandbox::setHome("");
    pf::Bundle::setMainBundlePath("");
  }

  // A new process on the same device, before start-up has run.
  void relaunch() {
    endProcess();
    pf::Bundle::setMainBundlePath(bundlePath());
  }
  // A new process that has run start-up.
  InitService::DatabaseStart launch() {
    relaunch();
    return InitService().initAll();
  }

  // Installs another release: the bundle's short version becomes this.
  void installVersion(const std::string& version) {
    std::ofstream(bundlePath() + "/Info.plist", std::ios::trunc)
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
           "<key>CFBundleShortVersionString</key><string>"
        << version << "</string></dict></plist>\n";
  }

  std::string bundlePath() const { return folder_.file("bundle"); }
  std::string databasePath() const { return pf::Sandbox::documentsPath() + "/Marlune.db"; }

 private:
  static void endProcess() {
    pf::UserDefaults::resetStandardUserDefaults();
    VelkDBHelper::resetInstance();
    VersionPrompt::resetSharedInstance();
    CommonService::clearSharedState();
  }

  pf_test::TemporaryFolder folder_;
};
