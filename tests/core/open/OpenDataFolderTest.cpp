// The stand-in's data folder: settings and users from open.json, canned answers by method path.

#include "tools/devserver/open/OpenDataFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/core/open/OpenServerFixture.h"
#include "tests/support/TemporaryFolder.h"

namespace {

class OpenDataFolderTest : public OpenServerFixture {
 protected:
  void write(const std::string& name, const std::string& text) {
    const std::filesystem::path path = std::filesystem::path(data.path()) / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << text;
  }

  pf_test::TemporaryFolder data;
};

TEST_F(OpenDataFolderTest, UsersAndAnswersServeSignedInCalls) {
  write("open.json", R"({"appKey": "K", "secret": "S", "sessionLifetime": 60,
                         "users": [{"corpCode": "demo", "loginName": "bob", "password": "b-1", "userId": "U-2"}]})");
  write("answers/v1/test/catalogue/count.json", "42");
  write("answers/v1/test/catalogue/notes.txt", "ignored");
  std::string problem;
  const auto folder = devserver::OpenDataFolder::read(data.path(), &problem);
  ASSERT_TRUE(folder) << problem;
  EXPECT_EQ(folder->settings.appKey, "K");
  EXPECT_EQ(folder->settings.secret, "S");
  EXPECT_EQ(folder->settings.sessionLifetime, 60);
  ASSERT_EQ(folder->answers.size(), 1u);
  folder->install(server);

  ServiceManager::ParamDic login{
      {"loginName", openValue("bob")}, {"password", openValue("b-1")}, {"corpCode", openValue("demo")}};
  ASSERT_TRUE(ServiceManager::performRemoteMethod(kLogin, login, "NSString", delegate).isString());
  ServiceManager::ParamDic params;
  EXPECT_EQ(ServiceManager::performRemoteMethod("/v1/test/catalogue/count", params, "i", delegate),
            pf::Value(42));
  EXPECT_EQ(server.calls("/v1/test/catalogue/count").at(0).user->userId, "U-2");
}

TEST_F(OpenDataFolderTest, AMissingOrMalformedSettingsFileIsNamed) {
  std::string problem;
  EXPECT_FALSE(devserver::OpenDataFolder::read(data.path(), &problem));
  EXPECT_NE(problem.find("open.json"), std::string::npos);
  write("open.json", R"({"appKey": "K"})");
  EXPECT_FALSE(devserver::OpenDataFolder::read(data.path(), &problem));
  EXPECT_NE(problem.find("secret"), std::string::npos) << problem;
}

}  // namespace
