#include "platform/foundation/Sandbox.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <thread>
#include <vector>

#include "tests/support/TemporaryFolder.h"

namespace {

using pf::Sandbox;

class SandboxTest : public testing::Test {
 protected:
  void SetUp() override { Sandbox::setHome(root_.path()); }
  void TearDown() override { Sandbox::setHome(""); }
  pf_test::TemporaryFolder root_;
};

TEST_F(SandboxTest, FoldersLiveUnderTheHomeAndAreMadeOnDemand) {
  const std::pair<std::string (*)(), const char*> cases[] = {
      {&Sandbox::documentsPath, "Documents"},
      {&Sandbox::libraryPath, "Library"},
      {&Sandbox::cachesPath, "Library/Caches"},
      {&Sandbox::temporaryPath, "tmp"},
  };
  for (const auto& [folder, relative] : cases) {
    const std::string expected = root_.path() + "/" + relative;
    EXPECT_FALSE(std::filesystem::exists(expected)) << relative;
    EXPECT_EQ(folder(), expected);
    EXPECT_TRUE(std::filesystem::is_directory(expected)) << relative;
  }
}

TEST_F(SandboxTest, HomeIsAbsoluteWithoutTrailingSlash) {
  Sandbox::setHome(root_.path() + "/./nested//");
  EXPECT_EQ(Sandbox::home(), root_.path() + "/nested");
  EXPECT_EQ(Sandbox::documentsPath(), root_.path() + "/nested/Documents");

  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(root_.path());
  Sandbox::setHome("relative");
  std::filesystem::current_path(previous);
  EXPECT_EQ(Sandbox::home(), root_.path() + "/relative");
}

TEST_F(SandboxTest, DefaultHomeComesFromTheEnvironment) {
  setenv("MARLUNE_HOME", (root_.path() + "/env").c_str(), 1);
  Sandbox::setHome("");
  EXPECT_EQ(Sandbox::home(), root_.path() + "/env");
  unsetenv("MARLUNE_HOME");
  Sandbox::setHome("");
  EXPECT_TRUE(Sandbox::home().ends_with("/.local/share/marlune"));
}

TEST_F(SandboxTest, ReadersRaceWithSetHome) {
  const std::string other = root_.path() + "/other";
  std::vector<std::thread> readers;
  for (int t = 0; t < 4; ++t) {
    readers.emplace_back([&] {
      for (int i = 0; i < 200; ++i) {
        const std::string caches = Sandbox::cachesPath();
        EXPECT_TRUE(caches == root_.path() + "/Library/Caches" || caches == other + "/Library/Caches")
            << caches;
      }
    });
  }
  for (int i = 0; i < 200; ++i) Sandbox::setHome(i % 2 ? other : root_.path());
  for (std::thread& reader : readers) reader.join();
}

}  // namespace
