#include "app/service/cmn/BaseService.h"

#include <gtest/gtest.h>

#include "platform/foundation/Error.h"
#include "tests/app/support/AppSandbox.h"

namespace {

class BaseServiceTest : public AppSandbox {};

class ErrorSink : public ServiceDelegate {};

TEST_F(BaseServiceTest, HoldsTheStoreAndADelegateItDoesNotOwn) {
  EXPECT_THROW(BaseService(), pf::ContractViolation);  // before start-up there is no store

  launch();
  auto sink = std::make_shared<ErrorSink>();
  BaseService service(sink);
  EXPECT_EQ(service.delegate(), sink);
  sink.reset();
  EXPECT_EQ(service.delegate(), nullptr);
}

TEST_F(BaseServiceTest, ReadsResourcesOfTheBundle) {
  const std::optional<pf::Data> info = BaseService::dataWithResource("Info", "plist");
  ASSERT_TRUE(info);
  EXPECT_NE(std::string(info->begin(), info->end()).find("CFBundleShortVersionString"), std::string::npos);
  EXPECT_EQ(BaseService::dataWithResource("Missing", "plist"), std::nullopt);
  EXPECT_EQ(BaseService::dataWithResource("../bundle/Info", "plist"), std::nullopt);
}

}  // namespace
