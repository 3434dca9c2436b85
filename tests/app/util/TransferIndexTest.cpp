// The file downloader's index of transfers by download id: a lookup finds only the id's own
// unfinished transfers, and finished ones, asked for again or not, do not pile up.

#include "app/util/TransferIndex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace transfer_index_test {
namespace {

HttpRequest::Ptr transfer() {
  return HttpRequest::requestWithURL(pf::Url::parse("http://127.0.0.1/v.mp4"));
}

// Would catch a lookup answering another record's transfers or a finished one (a record then never
// starts again, or a pause stops someone else's transfer).
TEST(TransferIndexTest, AnIdFindsOnlyItsOwnUnfinishedTransfersInOrder) {
  TransferIndex index;
  const auto a1 = transfer(), b1 = transfer(), a2 = transfer(), a3 = transfer();
  index.add("a", a1);
  index.add("b", b1);
  index.add("a", a2);
  index.add("a", a3);
  a2->markAsFinished();

  EXPECT_EQ(index.unfinished("a"), (std::vector<HttpRequest::Ptr>{a1, a3}));
  EXPECT_EQ(index.unfinished("b"), std::vector<HttpRequest::Ptr>{b1});
  EXPECT_TRUE(index.unfinished("c").empty());
  EXPECT_TRUE(index.unfinished("").empty());
  b1->markAsFinished();
  EXPECT_TRUE(index.unfinished("b").empty());
  EXPECT_EQ(index.size(), 1u) << "an id whose transfers all finished is forgotten";
}

// Would catch the index keeping every id it ever saw: a learner downloading thousands of units would
// hold a request for each. Finished transfers (still held elsewhere or dropped by the queue) go at
// the next sweep; unfinished ones stay however many there are.
TEST(TransferIndexTest, FinishedTransfersOfIdsNeverAskedForAgainDoNotPileUp) {
  struct Case {
    const char* name;
    bool keepRequest;  // false: the queue dropped it, only the index remembers the id
  };
  for (const Case& c : {Case{"finished", true}, Case{"dropped", false}}) {
    SCOPED_TRACE(c.name);
    TransferIndex index;
    std::vector<HttpRequest::Ptr> kept;
    for (int i = 0; i < 1000; ++i) {
      auto request = transfer();
      index.add("done" + std::to_string(i), request);
      request->markAsFinished();
      if (c.keepRequest) kept.push_back(request);
      EXPECT_LE(index.size(), TransferIndex::kFirstSweep) << "after " << i + 1 << " ids";
    }
    std::vector<HttpRequest::Ptr> running;
    for (int i = 0; i < 300; ++i) {
      running.push_back(transfer());
      index.add("run" + std::to_string(i), running.back());
    }
    EXPECT_GE(index.size(), 300u);
    EXPECT_LT(index.size(), 300u + TransferIndex::kFirstSweep);
    for (int i = 0; i < 300; ++i)
      EXPECT_EQ(index.unfinished("run" + std::to_string(i)), std::vector<HttpRequest::Ptr>{running[i]});
    EXPECT_TRUE(index.unfinished("done999").empty());
  }
}

}  // namespace
}  // namespace transfer_index_test
