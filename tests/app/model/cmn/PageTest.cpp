#include <gtest/gtest.h>

#include "app/model/AppClasses.h"
#include "app/model/cmn/Page.h"
#include "app/model/cmn/SelectedObject.h"
#include "core/json/JsonUtil.h"
#include "core/reflect/ReflectionUtil.h"
#include "platform/foundation/JsonSerialization.h"

namespace {

TEST(Page, NewPageHasTheDefaults) {
  Page page;
  EXPECT_EQ(page.pageNo, 1u);
  EXPECT_EQ(page.pageSize, 20u);
  EXPECT_TRUE(page.autoCount);
  EXPECT_TRUE(page.autoPaging);
  EXPECT_EQ(page.rows, nullptr);
  EXPECT_EQ(page.total, 0);
  EXPECT_EQ(page.totalPages(), 0u);
  EXPECT_FALSE(page.hasNextPage());
  EXPECT_FALSE(page.hasPrePage());
  EXPECT_EQ(page.nextPage(), 1u);
  EXPECT_EQ(page.prePage(), 1u);
  EXPECT_EQ(page.firstInCurrPage(), 1u);
}

struct PagingCase {
  long long total;
  std::uint32_t pageNo;
  std::uint32_t totalPages;
  bool hasNext;
  bool hasPre;
  std::uint32_t nextPage;
  std::uint32_t prePage;
  std::uint32_t firstInCurrPage;
};

TEST(Page, PagingArithmetic) {
  const PagingCase cases[] = {
      {0, 1, 0, false, false, 1, 1, 1},  {40, 1, 2, true, false, 2, 1, 1}, {40, 2, 2, false, true, 2, 1, 21},
      {40, 3, 2, false, true, 3, 2, 41}, {41, 1, 3, true, false, 2, 1, 1}, {41, 2, 3, true, true, 3, 1, 21},
      {41, 3, 3, false, true, 3, 2, 41}, {1, 1, 1, false, false, 1, 1, 1}, {20, 1, 1, false, false, 1, 1, 1},
      {21, 1, 2, true, false, 2, 1, 1},
  };
  for (const PagingCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "total " << c.total << ", page " << c.pageNo);
    Page page;
    page.total = c.total;
    page.pageNo = c.pageNo;
    EXPECT_EQ(page.totalPages(), c.totalPages);
    EXPECT_EQ(page.hasNextPage(), c.hasNext);
    EXPECT_EQ(page.hasPrePage(), c.hasPre);
    EXPECT_EQ(page.nextPage(), c.nextPage);
    EXPECT_EQ(page.prePage(), c.prePage);
    EXPECT_EQ(page.firstInCurrPage(), c.firstInCurrPage);
  }
}

TEST(Page, DegeneratePagesDoNotDivideByZeroOrWrap) {
  Page noSize;
  noSize.pageSize = 0;
  noSize.total = 10;
  EXPECT_EQ(noSize.totalPages(), 0u);
  EXPECT_FALSE(noSize.hasNextPage());

  Page pageZero;
  pageZero.pageNo = 0;
  pageZero.total = 10;
  EXPECT_EQ(pageZero.prePage(), 0u);
  EXPECT_EQ(pageZero.firstInCurrPage(), 1u);
}

TEST(Page, TravelsAsJsonWithItsSettingsAndComesBackWithRowsAndTotal) {
  registerAppClasses();
  auto page = std::make_shared<Page>();
  page->pageNo = 2;
  page->autoCount = false;
  const std::string json = JsonUtil::jsonStringWithObject(pf::Value(pf::ObjectPtr(page))).value_or("");
  const pf::Value sent = pf::JsonSerialization::JSONObjectWithString(json);
  EXPECT_EQ(sent["pageNo"].intValue(), 2) << json;
  EXPECT_EQ(sent["pageSize"].intValue(), 20) << json;
  EXPECT_FALSE(sent["autoCount"].boolValue()) << json;
  EXPECT_TRUE(sent["autoPaging"].boolValue()) << json;
  // Computed values are the client's own and stay out of the request.
  EXPECT_TRUE(sent["totalPages"].isNil()) << json;

  ReflectionUtil::setArrayType("Page", "rows", "Page");
  auto answer =
      JsonUtil::objectFromJsonString(R"({"total": 41, "pageNo": 3, "rows": [{"pageNo": 7}]})", "Page")
          .objectAs<Page>();
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer->total, 41);
  EXPECT_FALSE(answer->hasNextPage());
  ASSERT_NE(answer->rows, nullptr);
  ASSERT_EQ(answer->rows->size(), 1u);
  EXPECT_EQ(answer->rows->front().objectAs<Page>()->pageNo, 7u);
}

TEST(SelectedObject, StartsUnselectedAroundItsValue) {
  SelectedObject item(pf::Value(std::string("course-1")));
  EXPECT_FALSE(item.selected);
  EXPECT_EQ(item.value, pf::Value("course-1"));
}

}  // namespace
