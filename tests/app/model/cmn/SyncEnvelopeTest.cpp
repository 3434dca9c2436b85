#include <gtest/gtest.h>

#include "app/model/AppClasses.h"
#include "app/model/cmn/SyncDetail.h"
#include "app/model/cmn/SyncResult.h"
#include "app/model/lgn/User.h"
#include "core/json/JsonUtil.h"
#include "core/reflect/ReflectionUtil.h"

namespace {

TEST(SyncEnvelopes, ListsStayAbsentUntilAnAnswerFillsThem) {
  const SyncDetail detail;
  EXPECT_EQ(detail.addList, nullptr);
  EXPECT_EQ(detail.updateList, nullptr);
  EXPECT_EQ(detail.deleteList, nullptr);
  const SyncResult result;
  EXPECT_EQ(result.serverTime, std::nullopt);
  EXPECT_EQ(result.results, nullptr);
}

TEST(SyncEnvelopes, AnswersFillTheRegisteredElementClasses) {
  registerAppClasses();
  ReflectionUtil::setArrayType("User", "addList", "SyncDetail");
  ReflectionUtil::setArrayType("User", "deleteList", "SyncDetail");
  const auto detail =
      JsonUtil::objectFromJsonString(R"({"addList": [{"userId": "U1"}, {"userId": "U2"}], "deleteList": []})",
                                     "SyncDetail")
          .objectAs<SyncDetail>();
  ASSERT_NE(detail, nullptr);
  ASSERT_NE(detail->addList, nullptr);
  ASSERT_EQ(detail->addList->size(), 2u);
  EXPECT_EQ((*detail->addList)[1].objectAs<User>()->userId, "U2");
  ASSERT_NE(detail->deleteList, nullptr);
  EXPECT_TRUE(detail->deleteList->empty());
  EXPECT_EQ(detail->updateList, nullptr);

  ReflectionUtil::setArrayType("User", "results", "SyncResult");
  const auto result = JsonUtil::objectFromJsonString(
                          R"({"serverTime": 1700000000123, "results": [{"userId": "U3"}]})", "SyncResult")
                          .objectAs<SyncResult>();
  ASSERT_NE(result, nullptr);
  ASSERT_TRUE(result->serverTime);
  EXPECT_DOUBLE_EQ(result->serverTime->seconds, 1700000000.123);
  ASSERT_NE(result->results, nullptr);
  EXPECT_EQ(result->results->front().objectAs<User>()->userId, "U3");
}

}  // namespace
