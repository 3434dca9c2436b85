#include "platform/net/UrlError.h"

#include <gtest/gtest.h>

#include "platform/net/ManualReachabilityProvider.h"
#include "platform/net/ReachabilityFlags.h"

TEST(UrlError, UnreachableHostsAreNotConnected) {
  auto manual = std::make_shared<pf::ManualReachabilityProvider>();
  const auto previous = pf::ReachabilityProvider::install(manual);
  const pf::Url url = *pf::Url::parse("http://pictures.example/a.png");
  manual->setFlags(0);
  EXPECT_TRUE(pf::UrlError::isUnreachable(url));
  const auto error = pf::UrlError::unreachableError(url);
  ASSERT_TRUE(error);
  EXPECT_EQ((*error)->domain(), "NSURLErrorDomain");
  EXPECT_EQ((*error)->code(), -1009);
  EXPECT_EQ((*error)->localizedDescription(), "The Internet connection appears to be offline.");
  manual->setFlags(pf::kReachabilityFlagsReachable);
  EXPECT_FALSE(pf::UrlError::unreachableError(url));
  // Flags that cannot be read do not stop a request.
  manual->setFlags(std::nullopt);
  EXPECT_FALSE(pf::UrlError::isUnreachable(url));
  pf::ReachabilityProvider::install(previous);
}
