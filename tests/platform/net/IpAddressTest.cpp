#include "platform/net/IpAddress.h"

#include <gtest/gtest.h>

namespace pf {
namespace {

TEST(IpAddressTest, ParsesAndClassifies) {
  struct Case {
    const char* text;
    bool v4, loopback, linkLocal, unspecified;
  };
  const Case cases[] = {
      {"127.0.0.1", true, true, false, false},     {"127.8.9.10", true, true, false, false},
      {"::1", false, true, false, false},          {"169.254.0.0", true, false, true, false},
      {"fe80::1", false, false, true, false},      {"0.0.0.0", true, false, false, true},
      {"::", false, false, false, true},           {"192.0.2.7", true, false, false, false},
      {"2001:db8::5", false, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::optional<IpAddress> address = IpAddress::parse(c.text);
    ASSERT_TRUE(address);
    EXPECT_EQ(address->isV4(), c.v4);
    EXPECT_EQ(address->isLoopback(), c.loopback);
    EXPECT_EQ(address->isLinkLocal(), c.linkLocal);
    EXPECT_EQ(address->isUnspecified(), c.unspecified);
    EXPECT_EQ(address->text(), c.text);
  }
  EXPECT_FALSE(IpAddress::parse("example.org"));
  EXPECT_FALSE(IpAddress::parse("1.2.3"));
}

TEST(IpAddressTest, ComparesPrefixesBitByBit) {
  IpAddress a = *IpAddress::parse("192.0.2.130");
  EXPECT_TRUE(a.sharesPrefix(*IpAddress::parse("192.0.2.1"), 24));
  EXPECT_TRUE(a.sharesPrefix(*IpAddress::parse("192.0.2.129"), 25));
  EXPECT_FALSE(a.sharesPrefix(*IpAddress::parse("192.0.2.1"), 25));
  EXPECT_FALSE(a.sharesPrefix(*IpAddress::parse("::1"), 0));
  EXPECT_FALSE(a.sharesPrefix(a, 33));
  EXPECT_EQ(IpAddress::v4({10, 1, 2, 3}), *IpAddress::parse("10.1.2.3"));
}

}  // namespace
}  // namespace pf
