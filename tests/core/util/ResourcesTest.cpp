#include "core/util/Resources.h"

#include <gtest/gtest.h>

#include "platform/foundation/Error.h"

namespace {

class ResourcesTest : public testing::Test {
 protected:
  // Name and message of the contract fault the call raises, or empty texts when it raises none.
  template <typename Call>
  static std::pair<std::string, std::string> faultOf(Call call) {
    try {
      call();
    } catch (const pf::ContractViolation& e) {
      return {e.name(), e.what()};
    }
    return {};
  }

  pf::Bundle bundle_{std::string(MARLUNE_FIXTURES) + "/core/util/bundle"};
  Resources resources_{"Sample", bundle_};
};

TEST_F(ResourcesTest, LooksUpTopLevelAndNestedValues) {
  EXPECT_EQ(resources_.resourceName, "Sample");
  EXPECT_EQ(resources_.valueForResourceKey("Title"), pf::Value("Sample"));
  EXPECT_TRUE(resources_.valueForResourceKey("Absent").isNil());
  EXPECT_EQ(resources_.valueForResourceKey("1", "ClientType"), pf::Value("手机"));
  EXPECT_TRUE(resources_.valueForResourceKey("9", "ClientType").isNil());
  EXPECT_EQ(resources_.valueForResourceIndex(1, "Letters"), pf::Value("B"));
}

TEST_F(ResourcesTest, WrongKindsAndIndexesAreContractFaults) {
  using Fault = std::pair<std::string, std::string>;
  const std::string inconsistency = "NSInternalInconsistencyException";
  EXPECT_EQ(faultOf([&] { resources_.valueForResourceKey("A", "Letters"); }),
            Fault(inconsistency, "value named: Letters in resource Sample is not Dictionary type!"));
  EXPECT_EQ(faultOf([&] { resources_.valueForResourceKey("A", "Absent"); }),
            Fault(inconsistency, "value named: Absent in resource Sample is not Dictionary type!"));
  EXPECT_EQ(faultOf([&] { resources_.valueForResourceIndex(0, "ClientType"); }),
            Fault(inconsistency, "value named: ClientType in resource Sample is not Array type!"));
  EXPECT_EQ(faultOf([&] { resources_.valueForResourceIndex(2, "Letters"); }).first, "NSRangeException");
  EXPECT_EQ(faultOf([&] { Resources("Missing", bundle_); }).second,
            "Can not found resource plist file named: Missing in main bundle!");
}

}  // namespace
