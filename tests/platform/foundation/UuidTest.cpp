#include "platform/foundation/Uuid.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

namespace pf {
namespace {

TEST(UuidTest, CanonicalAndDashlessForms) {
  Uuid uuid = Uuid::random();
  static const std::regex canonical("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
  static const std::regex key("[0-9A-F]{32}");
  EXPECT_TRUE(std::regex_match(uuid.text(), canonical)) << uuid.text();
  EXPECT_TRUE(std::regex_match(uuid.dashless(), key)) << uuid.dashless();
  std::string joined = uuid.text();
  std::erase(joined, '-');
  EXPECT_EQ(uuid.dashless(), joined);
}

TEST(UuidTest, EachIsNew) {
  std::set<std::string> seen;
  for (int i = 0; i < 1000; ++i) seen.insert(Uuid::random().dashless());
  EXPECT_EQ(seen.size(), 1000u);
}

}  // namespace
}  // namespace pf
