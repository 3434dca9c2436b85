// A pull to refresh while a load-more waits on the network: the late page belongs to the rows
// before the refresh and must not be appended to the new ones.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include <nlohmann/json.hpp>

#include "app/model/cmn/Page.h"
#include "tests/app/controller/cms/browse/CmsBrowseJourneyTest.h"
#include "tools/devserver/Exchange.h"

namespace cms_paging_concurrency_test {

struct HeldAnswer {
  std::atomic<bool> arrived{false};
  std::atomic<bool> released{false};
};

// Holds the request until released (at most ten real seconds), then answers a full page of rows the
// catalogue does not have.
devserver::Handler heldStalePage(const std::shared_ptr<HeldAnswer>& held) {
  return [held](devserver::Exchange& exchange) {
    held->arrived = true;
    for (int i = 0; i < 1000 && !held->released; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    nlohmann::json page{{"pageNo", 2}, {"pageSize", 20}, {"total", 45}, {"rows", nlohmann::json::array()}};
    for (int i = 0; i < 20; ++i)
      page["rows"].push_back({{"id", "STALE-" + std::to_string(i)}, {"courseTitle", "stale"}});
    exchange.respond(200, page.dump(), {{"Content-Type", "application/json"}});
  };
}

class CmsPagingConcurrencyTest : public CmsBrowseJourneyTest {};

// Faults caught: stale rows appended after a refresh (40 rows, 20 of them from before), a load-more
// and a refresh writing one shared page, the load-more's spinner left on.
TEST_F(CmsPagingConcurrencyTest, APullDuringAStalledLoadMoreLeavesTheFirstPage) {
  serveGeneratedCatalogue(45, 5, "沟通");
  ASSERT_TRUE(signIn());
  pickTab(0);
  auto list = allList();
  ASSERT_EQ(list->resourceArr->size(), 20u);

  auto held = std::make_shared<HeldAnswer>();
  server->planFaults(kCataloguePath, {heldStalePage(held)});
  ASSERT_TRUE(list->loadMore());
  ASSERT_TRUE(loop->runUntilTrue([&] { return held->arrived.load(); }, 10));
  EXPECT_FALSE(list->loadMore()) << "one load-more at a time";

  ASSERT_TRUE(list->refreshData());
  loop->runUntilTrue([&] { return !list->isRefreshing(); }, 20);
  EXPECT_EQ(list->resourceArr->size(), 20u);
  EXPECT_EQ(list->currentPage->pageNo, 1u);

  held->released = true;
  loop->runUntilTrue([&] { return !list->isLoadingMore(); }, 20);
  loop->runUntil(pf::Clock::now() + 0.3);
  EXPECT_EQ(list->resourceArr->size(), 20u);
  for (const auto& course : *list->resourceArr) EXPECT_NE(course->courseTitle, "stale");
  EXPECT_EQ(list->currentPage->pageNo, 1u) << "the next load-more asks for page 2";
}

}  // namespace cms_paging_concurrency_test
