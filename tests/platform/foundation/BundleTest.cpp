#include "platform/foundation/Bundle.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/foundation/Locale.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using pf::Bundle;

const std::string kFixture = std::string(MARLUNE_FIXTURES) + "/platform/bundle";

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

// Faults caught: a text taken from a language the user did not ask for, a missing translation shown
// as nothing instead of its key, a language folder that hides the bundle's own table.
TEST(BundleTest, TextsComeFromTheFirstPreferredLanguageTheBundleHas) {
  pf_test::TemporaryFolder folder;
  std::filesystem::create_directories(folder.file("zh-Hans.lproj"));
  std::filesystem::create_directories(folder.file("fr.lproj"));
  const auto write = [](const std::string& path, pf::Dictionary texts) {
    ASSERT_TRUE(pf::PropertyList::writeToFile(pf::Value(std::move(texts)), path, pf::PropertyList::Format::Xml));
  };
  write(folder.file("zh-Hans.lproj/Localizable.strings"), {{"Download", pf::Value("下载")}});
  write(folder.file("fr.lproj/Localizable.strings"), {{"Download", pf::Value("Télécharger")}});
  write(folder.file("Localizable.strings"), {{"Ignore", pf::Value("Skip")}});
  const Bundle bundle(folder.path());
  auto languages = bundle.localizations();
  std::sort(languages.begin(), languages.end());
  EXPECT_EQ(languages, (std::vector<std::string>{"fr", "zh-Hans"}));
  struct Case {
    std::vector<std::string> preferred;
    const char* key;
    std::string shown;
  } cases[] = {
      {{"de", "zh-Hans", "fr"}, "Download", "下载"},
      {{"fr"}, "Download", "Télécharger"},
      {{"de"}, "Download", "Download"},
      {{"zh-Hans"}, "Ignore", "Skip"},
      {{"zh-Hans"}, "Remind Me Later", "Remind Me Later"},
  };
  for (const auto& c : cases) {
    pf::Locale::setCurrent("en_US", c.preferred);
    EXPECT_EQ(bundle.localizedStringForKey(c.key), c.shown) << c.key;
  }
  EXPECT_EQ(bundle.localizedStringForKey("Missing", std::string("fallback")), "fallback");
  pf::Locale::setCurrent(std::nullopt);
}

TEST(LocaleTest, IdentifiersGiveLanguageAndCountry) {
  EXPECT_EQ(pf::Locale::languageOfIdentifier("zh_CN.UTF-8"), "zh-Hans");
  EXPECT_EQ(pf::Locale::languageOfIdentifier("zh_TW"), "zh-Hant");
  EXPECT_EQ(pf::Locale::languageOfIdentifier("en_US.UTF-8"), "en");
  EXPECT_EQ(pf::Locale::countryOfIdentifier("zh_CN.UTF-8"), "CN");
  EXPECT_EQ(pf::Locale::countryOfIdentifier("en"), "");
  pf::Locale::setCurrent("de_AT");
  EXPECT_EQ(pf::Locale::countryCode(), "AT");
  EXPECT_EQ(pf::Locale::preferredLanguages(), std::vector<std::string>{"de"});
  pf::Locale::setCurrent(std::nullopt);
  EXPECT_FALSE(pf::Locale::preferredLanguages().empty());
}

}  // namespace
