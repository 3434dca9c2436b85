#include "core/reachability/NICInformation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

#include "platform/foundation/Log.h"
#include "platform/net/InterfaceScanner.h"

namespace {

using testing::ElementsAre;

TEST(NICInformationTest, ReadsThisMachinesHardwareAddress) {
  std::optional<std::string> address = NICInformation::macaddress();
  EXPECT_EQ(address.has_value(), pf::InterfaceScanner().defaultHardwareInterface().has_value());
  if (address) {
    EXPECT_TRUE(std::regex_match(*address, std::regex("[0-9A-F]{12}"))) << *address;
  }
}

TEST(NICInformationTest, ExplainsWhyThereIsNone) {
  pf::Log::Capture capture;
  EXPECT_EQ(NICInformation::macaddress("no-such-if0"), std::nullopt);
  if (pf::InterfaceScanner().exists("lo")) {
    EXPECT_EQ(NICInformation::macaddress("lo"), std::nullopt);
    EXPECT_THAT(capture.lines(), ElementsAre("Error: if_nametoindex error/n", "Error: sysctl, take 2"));
  }
}

}  // namespace
