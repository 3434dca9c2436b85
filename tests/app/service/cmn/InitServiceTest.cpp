#include "app/service/cmn/InitService.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

#include "app/service/cmn/ServerSettings.h"
#include "core/db/VelkSetting.h"
#include "core/open/ServiceManager.h"
#include "platform/foundation/JsonSerialization.h"
#include "tests/app/support/AppSandbox.h"

namespace {

using Start = InitService::DatabaseStart;

class InitServiceTest : public AppSandbox {
 protected:
  std::optional<std::string> storedVersion() {
    return VelkDBHelper::instance()->valueForSettingKey("db_version");
  }

  void setMappingVersion(const std::string& version) {
    const std::string path = bundlePath() + "/DBConfig.xml";
    const std::string mapping = app_test::readText(path);
    std::ofstream(path, std::ios::trunc) << std::regex_replace(
        mapping, std::regex("<mapping version=\"[^\"]*\""), "<mapping version=\"" + version + "\"",
        std::regex_constants::format_first_only);
  }
};

TEST_F(InitServiceTest, FirstLaunchCreatesTheTablesAndStoresTheMappingVersion) {
  EXPECT_EQ(launch(), Start::Created);
  EXPECT_TRUE(std::filesystem::is_regular_file(databasePath()));
  const auto store = VelkDBHelper::instance();
  EXPECT_TRUE(store->showError());
  for (const char* table : {"settings", "user", "mobile_app"})
    EXPECT_TRUE(store->tableExists(table)) << table;
  EXPECT_EQ(storedVersion(), "1.0");
}

TEST_F(InitServiceTest, LaterLaunchesFollowTheStoredVersion) {
  ASSERT_EQ(launch(), Start::Created);
  EXPECT_EQ(launch(), Start::Current);

  // A release whose mapping has another version updates the schema on this and every later launch,
  // since the stored version stays what it was.
  setMappingVersion("1.5");
  EXPECT_EQ(launch(), Start::SchemaUpdated);
  EXPECT_EQ(storedVersion(), "1.0");
  EXPECT_EQ(launch(), Start::SchemaUpdated);

  setMappingVersion("1.0");
  EXPECT_EQ(launch(), Start::Current);
  VelkDBHelper::instance()->deleteObject("VelkSetting", pf::Value("db_version"));
  EXPECT_EQ(launch(), Start::SchemaUpdated);
}

TEST_F(InitServiceTest, ADatabaseOfAnEarlierReleaseGetsTheMappedIndexesAtTheNextLaunch) {
  ASSERT_EQ(launch(), Start::Created);
  const auto indexes = [] {
    return VelkDBHelper::instance()->queryForList(
        "NSString", "select name from sqlite_master where type = 'index' and sql is not null order by name");
  };
  const pf::Array mapped = indexes();
  ASSERT_FALSE(mapped.empty());
  for (const pf::Value& name : mapped)
    ASSERT_TRUE(VelkDBHelper::instance()->executeUpdate("drop index " + *name.string()));

  EXPECT_EQ(launch(), Start::Current);
  EXPECT_EQ(indexes(), mapped);
}

TEST_F(InitServiceTest, AVersionIsStoredWithOneDecimal) {
  setMappingVersion("2");
  ASSERT_EQ(launch(), Start::Created);
  EXPECT_EQ(storedVersion(), "2.0");
}

TEST_F(InitServiceTest, ADatabaseThatCannotBeMadeLetsTheLaunchGoOn) {
  std::filesystem::create_directories(databasePath() + "/blocked");
  EXPECT_EQ(launch(), Start::Unavailable);
  ASSERT_NE(ServiceManager::configuration(), nullptr);
}

TEST_F(InitServiceTest, InstallsTheServerSettingsOfTheBundle) {
  launch();
  const auto configuration = ServiceManager::configuration();
  ASSERT_NE(configuration, nullptr);
  EXPECT_EQ(configuration->baseUrl, "127.0.0.1:8080");
  EXPECT_EQ(configuration->timeoutInSeconds, 30u);
  EXPECT_TRUE(configuration->autoresetSession);
  EXPECT_EQ(configuration->appKey.size(), 32u);
  EXPECT_EQ(configuration->secret.size(), 32u);
}

// The shipped settings reach the demo the stand-in serves by default.
TEST_F(InitServiceTest, TheShippedServerSettingsAreTheDemoServers) {
  const ServiceConfiguration configuration = ServerSettings::load(pf::Bundle(MARLUNE_APP_RESOURCES));
  const pf::Value demo = pf::JsonSerialization::JSONObjectWithString(
      app_test::readText(std::string(MARLUNE_DEMO_DATA) + "/open.json"));
  EXPECT_EQ(pf::Value(configuration.appKey), demo["appKey"]);
  EXPECT_EQ(pf::Value(configuration.secret), demo["secret"]);
}

TEST_F(InitServiceTest, TheEnvironmentReplacesEachServerSetting) {
  setenv("MARLUNE_SERVER_HOST", "learn.example.com", 1);
  setenv("MARLUNE_APP_SECRET", "0123456789ABCDEF0123456789ABCDEF", 1);
  const ServiceConfiguration configuration = ServerSettings::load(*pf::Bundle::mainBundle());
  unsetenv("MARLUNE_SERVER_HOST");
  unsetenv("MARLUNE_APP_SECRET");
  EXPECT_EQ(configuration.baseUrl, "learn.example.com");
  EXPECT_EQ(configuration.secret, "0123456789ABCDEF0123456789ABCDEF");
  EXPECT_EQ(configuration.appKey, ServerSettings::load(*pf::Bundle::mainBundle()).appKey);
}

TEST_F(InitServiceTest, AMissingServerSettingIsABuildFault) {
  std::filesystem::remove(bundlePath() + "/Server.plist");
  relaunch();
  EXPECT_THROW(ServerSettings::load(*pf::Bundle::mainBundle()), pf::ContractViolation);
}

}  // namespace
