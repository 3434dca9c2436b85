#include "core/version/VersionPrompt.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/PropertyList.h"

// A bundle without a short version must still report its build version, or the first-launch test
// would show the help pages at every launch.
TEST(VersionPromptTest, TheRunningVersionFallsBackToTheBuildVersion) {
  const struct {
    pf::Dictionary info;
    std::optional<std::string> expected;
  } cases[] = {
      {{{"CFBundleShortVersionString", "1.9"}, {"CFBundleVersion", "190"}}, "1.9"},
      {{{"CFBundleShortVersionString", ""}, {"CFBundleVersion", "190"}}, "190"},
      {{{"CFBundleVersion", "190"}}, "190"},
      {{}, std::nullopt},
  };
  const auto root = std::filesystem::temp_directory_path() /
                    ("h43_version_bundle_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  int n = 0;
  for (const auto& c : cases) {
    const std::string bundle = (root / std::to_string(n++)).string();
    std::filesystem::create_directories(bundle);
    ASSERT_TRUE(pf::PropertyList::writeToFile(pf::Value(c.info), bundle + "/Info.plist", pf::PropertyList::Format::Xml));
    pf::Bundle::setMainBundlePath(bundle);
    VersionPrompt::resetSharedInstance();
    EXPECT_EQ(VersionPrompt::sharedInstance()->applicationVersion(), c.expected) << n;
  }
  pf::Bundle::setMainBundlePath("");
  VersionPrompt::resetSharedInstance();
  std::filesystem::remove_all(root);
}
