#include "platform/foundation/Bundle.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>

#include "platform/foundation/Log.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using pf::Bundle;

const std::string kFixture = MARLUNE_FIXTURES "/platform/bundle";

TEST(BundleTest, FindsResources) {
  const Bundle bundle(kFixture);
  struct Case {
    const char* name;
    const char* type;
    const char* directory;
    const char* found;  // relative to the bundle, nullptr for none
  };
  const Case cases[] = {
      {"Sample", "plist", "", "Sample.plist"},
      {"Sample", ".plist", "", "Sample.plist"},
      {"Sample.plist", "", "", "Sample.plist"},
      {"Note", "txt", "Docs", "Docs/Note.txt"},
      {"Docs/Note", "txt", "", "Docs/Note.txt"},
      {"Missing", "plist", "", nullptr},
      {"Note", "txt", "", nullptr},
      {"", "plist", "", nullptr},
      {"../bundle/Info", "plist", "", nullptr},
      {"Info", "plist", "../bundle", nullptr},
      {"passwd", "", "/etc", nullptr},
  };
  for (const Case& c : cases) {
    const std::optional<std::string> path = bundle.pathForResource(c.name, c.type, c.directory);
    if (c.found) {
      EXPECT_EQ(path, kFixture + "/" + c.found) << c.name;
    } else {
      EXPECT_FALSE(path) << c.name << " in " << c.directory;
    }
  }
  EXPECT_EQ(bundle.pathForResource("Sample", "plist"), kFixture + "/Sample.plist");
}

TEST(BundleTest, ReadsTheInformationDictionary) {
  const Bundle bundle(kFixture);
  EXPECT_EQ(bundle.bundlePath(), kFixture);
  EXPECT_EQ(bundle.objectForInfoDictionaryKey("CFBundleShortVersionString"), pf::Value("2.1"));
  EXPECT_EQ(bundle.infoDictionary().at("CFBundleVersion"), pf::Value("2.1.7"));
  EXPECT_TRUE(bundle.objectForInfoDictionaryKey("NoSuchKey").isNil());
}

TEST(BundleTest, MissingOrBrokenInformationIsEmpty) {
  pf_test::TemporaryFolder folder;
  EXPECT_TRUE(Bundle(folder.path()).infoDictionary().empty());

  std::ofstream(folder.file("Info.plist")) << "<plist><dict><key>broken";
  pf::Log::Capture log;
  EXPECT_TRUE(Bundle(folder.path()).infoDictionary().empty());
  EXPECT_TRUE(log.contains("Info.plist"));
}

TEST(BundleTest, MainBundleIsSettable) {
  Bundle::setMainBundlePath(kFixture);
  EXPECT_EQ(Bundle::mainBundle()->bundlePath(), kFixture);
  EXPECT_EQ(Bundle::mainBundle()->objectForInfoDictionaryKey("CFBundleDisplayName"), pf::Value("Marlune"));

  setenv("MARLUNE_BUNDLE", "/somewhere/else", 1);
  Bundle::setMainBundlePath("");
  EXPECT_EQ(Bundle::mainBundle()->bundlePath(), "/somewhere/else");
  unsetenv("MARLUNE_BUNDLE");
  Bundle::setMainBundlePath("");
  EXPECT_TRUE(Bundle::mainBundle()->bundlePath().ends_with("/resources"));
}

}  // namespace
