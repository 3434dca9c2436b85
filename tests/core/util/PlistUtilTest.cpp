#include "core/util/PlistUtil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/TemporaryFolder.h"
#include "platform/foundation/Error.h"

namespace {

const pf::Bundle& fixtureBundle() {
  static const pf::Bundle bundle(std::string(MARLUNE_FIXTURES) + "/core/util/bundle");
  return bundle;
}

// The message of the contract fault the call raises, or "" when it raises none.
template <typename Call>
std::string faultOf(Call call) {
  try {
    call();
  } catch (const pf::ContractViolation& e) {
    EXPECT_EQ(e.name(), "NSInternalInconsistencyException");
    return e.what();
  }
  return "";
}

TEST(PlistUtilTest, MissingFilesAndResourcesAreContractFaults) {
  EXPECT_EQ(faultOf([] { PlistUtil::dictionaryFromPlistFile("/nowhere/none.plist"); }),
            "Can not found plist file at path: /nowhere/none.plist in main bundle!");
  EXPECT_EQ(faultOf([] { PlistUtil::dicWithResourceName(std::nullopt, fixtureBundle()); }),
            "You must set resource name before using it.");
  EXPECT_EQ(faultOf([] { PlistUtil::dicWithResourceName("Nope", fixtureBundle()); }),
            "Can not found resource plist file named: Nope in main bundle!");
}

TEST(PlistUtilTest, ReadsDictionariesOnly) {
  pf::DictionaryPtr sample = PlistUtil::dicWithResourceName("Sample", fixtureBundle());
  ASSERT_TRUE(sample);
  EXPECT_EQ(pf::Value(sample)["Title"], pf::Value("Sample"));
  EXPECT_FALSE(PlistUtil::dicWithResourceName("List", fixtureBundle()));
}

TEST(PlistUtilTest, SavesAndReadsBack) {
  pf_test::TemporaryFolder folder;
  const std::string path = folder.file("settings.plist");
  pf::Dictionary first{{"name", "第一"}, {"count", 3LL}};
  ASSERT_TRUE(PlistUtil::savePlistFileWithDictionary(first, path));
  EXPECT_EQ(pf::Value(PlistUtil::dictionaryFromPlistFile(path)), pf::Value(first));

  pf::Dictionary second{{"name", "second"}};
  ASSERT_TRUE(PlistUtil::savePlistFileWithDictionary(second, path));
  EXPECT_EQ(pf::Value(PlistUtil::dictionaryFromPlistFile(path)), pf::Value(second));

  EXPECT_FALSE(PlistUtil::savePlistFileWithDictionary(first, folder.file("missing/settings.plist")));
  EXPECT_FALSE(std::filesystem::exists(folder.file("missing")));
}

}  // namespace
