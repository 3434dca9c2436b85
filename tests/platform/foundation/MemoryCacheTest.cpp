#include "platform/foundation/MemoryCache.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

using IntCache = pf::MemoryCache<int>;

std::shared_ptr<int> boxed(int value) {
  return std::make_shared<int>(value);
}

}  // namespace

TEST(MemoryCache, KeepsObjectsByKeyAndReplacesThem) {
  IntCache cache("pictures");
  EXPECT_EQ(cache.name(), "pictures");
  EXPECT_EQ(cache.objectForKey("a"), nullptr);
  cache.setObject("a", boxed(1), 10);
  cache.setObject("a", boxed(2), 4);
  ASSERT_NE(cache.objectForKey("a"), nullptr);
  EXPECT_EQ(*cache.objectForKey("a"), 2);
  EXPECT_EQ(cache.totalCost(), 4u);
  cache.setObject("a", nullptr);
  EXPECT_EQ(cache.objectForKey("a"), nullptr);
  EXPECT_EQ(cache.totalCost(), 0u);
}

TEST(MemoryCache, CostLimitEvictsLeastRecentlyUsed) {
  IntCache cache;
  cache.setTotalCostLimit(100);
  cache.setObject("a", boxed(1), 40);
  cache.setObject("b", boxed(2), 40);
  cache.objectForKey("a");  // "b" is now the oldest use
  cache.setObject("c", boxed(3), 40);
  EXPECT_NE(cache.objectForKey("a"), nullptr);
  EXPECT_EQ(cache.objectForKey("b"), nullptr);
  EXPECT_NE(cache.objectForKey("c"), nullptr);
  EXPECT_EQ(cache.totalCost(), 80u);
  // Costlier than the whole budget: not kept, and nothing else goes for it.
  cache.setObject("huge", boxed(4), 101);
  EXPECT_EQ(cache.objectForKey("huge"), nullptr);
  EXPECT_EQ(cache.count(), 2u);
  cache.setTotalCostLimit(50);
  EXPECT_EQ(cache.count(), 1u);
}

TEST(MemoryCache, CountLimitAndRemoval) {
  IntCache cache;
  cache.setCountLimit(2);
  for (int i = 0; i < 5; ++i) cache.setObject(std::to_string(i), boxed(i));
  EXPECT_EQ(cache.count(), 2u);
  EXPECT_NE(cache.objectForKey("4"), nullptr);
  cache.removeObjectForKey("4");
  EXPECT_EQ(cache.objectForKey("4"), nullptr);
  cache.removeAllObjects();
  EXPECT_EQ(cache.count(), 0u);
  EXPECT_EQ(cache.totalCost(), 0u);
}

TEST(MemoryCacheConcurrency, WritersReadersAndClearsKeepTheBudget) {
  IntCache cache;
  cache.setTotalCostLimit(1000);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&cache, t] {
      for (int i = 0; i < 2000; ++i) {
        const std::string key = std::to_string((t * 7 + i) % 50);
        cache.setObject(key, boxed(i), 30);
        if (auto found = cache.objectForKey(key)) (void)*found;
        if (i % 500 == 0) cache.removeAllObjects();
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_LE(cache.totalCost(), 1000u);
  EXPECT_EQ(cache.totalCost(), cache.count() * 30);
}
