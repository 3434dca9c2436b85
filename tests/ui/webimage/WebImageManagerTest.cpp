// The manager: where each answer comes from and on which thread, failed URLs, memory-only loads,
// refreshing a cached picture against an ETag, cancels, the delegate, and the prefetcher.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/Log.h"
#include "platform/net/ManualReachabilityProvider.h"
#include "tests/ui/webimage/WebImageTestSupport.h"
#include "ui/webimage/WebImageManager.h"
#include "ui/webimage/WebImagePrefetcher.h"

using webimagetest::Call;
using webimagetest::Calls;

namespace {

// A picture whose bytes, ETag and status the test changes; conditional requests get a 304.
class VersionedPicture {
 public:
  void set(std::string body, std::string etag, int status = 200) {
    std::lock_guard lock(mutex_);
    body_ = std::move(body);
    etag_ = std::move(etag);
    status_ = status;
  }
  devserver::Handler handler() {
    return [this](devserver::Exchange& exchange) {
      std::lock_guard lock(mutex_);
      if (status_ != 200) return exchange.respond(status_, "failed");
      if (exchange.request().header("If-None-Match") == etag_) return exchange.respond(304, "", {{"ETag", etag_}});
      exchange.respond(200, body_, {{"ETag", etag_}, {"Content-Type", "image/png"}});
    };
  }

 private:
  std::mutex mutex_;
  std::string body_, etag_;
  int status_ = 200;
};

class Transformer : public WebImageManagerDelegate {
 public:
  std::optional<bool> imageManager(WebImageManager&, const pf::Url& url) override {
    return url.path() != "/forbidden.png";
  }
  bool transformsDownloadedImages() const override { return true; }
  ImagePtr imageManager(WebImageManager&, const ImagePtr& image, const pf::Url&) override {
    EXPECT_FALSE(pf::RunLoop::isMainThread());
    return image->withScale(4);
  }
};

class WebImageManagerTest : public WebImageTest {
 protected:
  void SetUp() override {
    WebImageTest::SetUp();
    cache = ImageCache::create("test");
    manager = WebImageManager::create();
    manager->setImageCache(cache);
  }
  std::shared_ptr<WebImageCombinedOperation> load(const std::string& path, Calls& calls, int options = 0) {
    return manager->downloadWithURL(parsedUrl(path), options, nullptr,
                                    [&calls](auto image, pf::ErrorPtr error, ImageCacheType type, bool finished) {
                                      calls.add(Call{image, error, static_cast<int>(type), finished, {}});
                                    });
  }
  void flushDisk() { cache->ioQueue()->sync([] {}); }
  std::thread::id mainThread = std::this_thread::get_id();

  std::shared_ptr<ImageCache> cache;
  std::shared_ptr<WebImageManager> manager;
  const std::string red = webimagetest::pngText(20, 10, pf::Color::fromRgba(1, 0, 0));
  const std::string blue = webimagetest::pngText(20, 10, pf::Color::fromRgba(0, 0, 1));
};

}  // namespace

TEST_F(WebImageManagerTest, NetworkThenDiskThenMemoryEachOnItsThread) {
  server.route("/pic.png", devserver::answers::text(200, red));
  Calls network;
  load("/pic.png", network);
  ASSERT_TRUE(runMainUntil([&] { return network.size() == 1 && !manager->isRunning(); }));
  Call call = network.all()[0];
  ASSERT_TRUE(call.image);
  EXPECT_EQ(call.cacheType, 0);
  EXPECT_TRUE(call.finished);
  EXPECT_NE(call.thread, mainThread);
  flushDisk();
  EXPECT_EQ(webimagetest::asText(*pf::Image::withData(std::vector<std::uint8_t>(red.begin(), red.end()))->pngData()),
            webimagetest::asText(*call.image->pngData()));
  EXPECT_TRUE(std::filesystem::exists(cache->cachePathForKey(url("/pic.png"))));
  EXPECT_FALSE(manager->isRunning());

  Calls memory;
  load("/pic.png", memory);
  ASSERT_EQ(memory.size(), 1u);  // before the load returned
  EXPECT_EQ(memory.all()[0].cacheType, 2);
  EXPECT_EQ(memory.all()[0].thread, mainThread);

  cache->clearMemory();
  Calls disk;
  load("/pic.png", disk);
  EXPECT_EQ(disk.size(), 0u);
  ASSERT_TRUE(runMainUntil([&] { return disk.size() == 1; }));
  EXPECT_EQ(disk.all()[0].cacheType, 1);
  EXPECT_EQ(disk.all()[0].thread, mainThread);
  EXPECT_EQ(requestsTo("/pic.png"), 1u);
}

// A caller that checks from its completion (or right after it, on another thread) must find the load
// ended: the running list was once emptied only after the completion returned.
TEST_F(WebImageManagerTest, ACompletionFindsItsLoadNoLongerRunning) {
  server.route("/pic.png", devserver::answers::text(200, red));
  server.route("/missing.png", devserver::answers::text(404, "no"));
  struct Case {
    const char* path;
    const char* what;
  };
  for (const Case& c : {Case{"/pic.png", "downloaded"}, Case{"/pic.png", "from memory"},
                        Case{"/missing.png", "failed"}, Case{"/missing.png", "refused as failed before"}}) {
    std::atomic<int> ended{0};
    std::atomic<bool> runningSeen{false};
    manager->downloadWithURL(parsedUrl(c.path), 0, nullptr, [&](auto, pf::ErrorPtr, ImageCacheType, bool finished) {
      if (finished && manager->isRunning()) runningSeen = true;
      ++ended;
    });
    ASSERT_TRUE(runMainUntil([&] { return ended > 0; })) << c.what;
    EXPECT_FALSE(runningSeen) << c.what;
  }
}

TEST_F(WebImageManagerTest, FailedUrlIsNotFetchedAgainUnlessRetried) {
  server.route("/missing.png", devserver::answers::text(404, "no"));
  Calls first;
  load("/missing.png", first);
  ASSERT_TRUE(runMainUntil([&] { return first.size() == 1; }));
  ASSERT_TRUE(first.all()[0].error);
  EXPECT_EQ(first.all()[0].error->code(), 404);
  EXPECT_TRUE(first.all()[0].finished);
  EXPECT_TRUE(manager->hasFailed(parsedUrl("/missing.png")));
  Calls second;
  load("/missing.png", second);
  ASSERT_TRUE(runMainUntil([&] { return second.size() == 1; }));
  EXPECT_FALSE(second.all()[0].image);
  EXPECT_FALSE(second.all()[0].error);
  EXPECT_FALSE(second.all()[0].finished);
  EXPECT_EQ(requestsTo("/missing.png"), 1u);
  EXPECT_FALSE(manager->isRunning());
  Calls retried;
  load("/missing.png", retried, WebImageRetryFailed);
  ASSERT_TRUE(runMainUntil([&] { return retried.size() == 1; }));
  EXPECT_EQ(requestsTo("/missing.png"), 2u);
}

TEST_F(WebImageManagerTest, NoNetworkIsNotAFailureToRemember) {
  server.route("/pic.png", devserver::answers::text(200, red));
  auto manual = std::make_shared<pf::ManualReachabilityProvider>();
  manual->setFlags(0);
  const auto previous = pf::ReachabilityProvider::install(manual);
  Calls offline;
  load("/pic.png", offline);
  const bool ended = runMainUntil([&] { return offline.size() == 1; });
  pf::ReachabilityProvider::install(previous);
  ASSERT_TRUE(ended);
  ASSERT_TRUE(offline.all()[0].error);
  EXPECT_EQ(offline.all()[0].error->code(), -1009);
  EXPECT_FALSE(manager->hasFailed(parsedUrl("/pic.png")));
  Calls online;
  load("/pic.png", online);
  ASSERT_TRUE(runMainUntil([&] { return online.size() == 1; }));
  EXPECT_TRUE(online.all()[0].image);
  EXPECT_EQ(requestsTo("/pic.png"), 1u);
}

TEST_F(WebImageManagerTest, MemoryOnlyLoadsLeaveNoFile) {
  server.route("/pic.png", devserver::answers::text(200, red));
  Calls calls;
  load("/pic.png", calls, WebImageCacheMemoryOnly);
  ASSERT_TRUE(runMainUntil([&] { return calls.size() == 1 && !manager->isRunning(); }));
  flushDisk();
  EXPECT_TRUE(cache->imageFromMemoryCacheForKey(url("/pic.png")));
  EXPECT_FALSE(std::filesystem::exists(cache->cachePathForKey(url("/pic.png"))));
}

TEST_F(WebImageManagerTest, RefreshAgainstAnETag) {
  VersionedPicture picture;
  picture.set(red, "\"v1\"");
  server.route("/face.png", picture.handler());
  Calls first;
  load("/face.png", first, WebImageRefreshCached);
  ASSERT_TRUE(runMainUntil([&] { return first.size() == 1 && !manager->isRunning(); }));
  EXPECT_EQ(first.all()[0].cacheType, 0);
  const auto cached = first.all()[0].image;
  flushDisk();

  // Unchanged: the cached picture from memory at once, the server's 304 adds nothing.
  Calls unchanged;
  load("/face.png", unchanged, WebImageRefreshCached);
  ASSERT_EQ(unchanged.size(), 1u);
  EXPECT_EQ(unchanged.all()[0].cacheType, 2);
  ASSERT_TRUE(runMainUntil([&] { return requestsTo("/face.png") == 2 && !manager->isRunning(); }));
  settle();
  EXPECT_EQ(unchanged.size(), 1u);
  EXPECT_EQ(server.requests().back().header("If-None-Match"), "\"v1\"");

  // From disk once memory is emptied: on the main queue.
  cache->clearMemory();
  Calls fromDisk;
  load("/face.png", fromDisk, WebImageRefreshCached);
  ASSERT_TRUE(runMainUntil([&] { return fromDisk.size() == 1; }));
  EXPECT_EQ(fromDisk.all()[0].cacheType, 1);
  ASSERT_TRUE(runMainUntil([&] { return requestsTo("/face.png") == 3 && !manager->isRunning(); }));
  settle();
  EXPECT_EQ(fromDisk.size(), 1u);

  // Changed: the cached picture, then the new one.
  picture.set(blue, "\"v2\"");
  Calls changed;
  load("/face.png", changed, WebImageRefreshCached);
  ASSERT_TRUE(runMainUntil([&] { return changed.size() == 2 && !manager->isRunning(); }));
  EXPECT_EQ(changed.all()[1].cacheType, 0);
  EXPECT_EQ(changed.all()[1].image->bitmap()->pixel(0, 0).blue, 255);

  // A failed refresh reports its error; the cached picture is still delivered afterwards.
  picture.set(blue, "\"v3\"", 500);
  Calls failed;
  load("/face.png", failed, WebImageRefreshCached);
  ASSERT_TRUE(runMainUntil([&] { return failed.size() == 2 && !manager->isRunning(); }));
  EXPECT_TRUE(failed.all()[0].image);
  ASSERT_TRUE(failed.all()[1].error);
  EXPECT_EQ(failed.all()[1].error->code(), 500);
  const std::size_t requestsSoFar = requestsTo("/face.png");
  Calls after;
  load("/face.png", after, WebImageRefreshCached);
  ASSERT_EQ(after.size(), 1u);
  EXPECT_TRUE(after.all()[0].image);
  EXPECT_TRUE(after.all()[0].finished);
  settle();
  EXPECT_EQ(after.size(), 1u);
  EXPECT_EQ(requestsTo("/face.png"), requestsSoFar);
}

TEST_F(WebImageManagerTest, CancelledLoadCallsNothingAndLeavesTheRunningList) {
  cache->storeImage(webimagetest::solidImage(4, 4, pf::Color::white()), url("/on-disk.png"));
  flushDisk();
  cache->clearMemory();
  Calls beforeCache;
  load("/on-disk.png", beforeCache)->cancel();
  EXPECT_FALSE(manager->isRunning());

  server.route("/stall.png", devserver::answers::stall(1));
  Calls stalled;
  const auto operation = load("/stall.png", stalled);
  ASSERT_TRUE(runMainUntil([&] { return requestsTo("/stall.png") == 1; }));
  EXPECT_TRUE(manager->isRunning());
  operation->cancel();
  EXPECT_FALSE(manager->isRunning());
  settle();
  EXPECT_EQ(beforeCache.size() + stalled.size(), 0u);
  EXPECT_FALSE(manager->hasFailed(parsedUrl("/stall.png")));
}

TEST_F(WebImageManagerTest, TextUrlsLoadAsTheirUrls) {
  server.route("/pic.png", devserver::answers::text(200, red));
  Calls calls;
  manager->downloadWithURL(url("/pic.png"), 0, nullptr, [&](auto image, pf::ErrorPtr, ImageCacheType, bool) {
    calls.add(Call{image, nullptr, 0, true, {}});
  });
  ASSERT_TRUE(runMainUntil([&] { return calls.size() == 1 && !manager->isRunning(); }));
  EXPECT_TRUE(cache->imageFromMemoryCacheForKey(url("/pic.png")));
  Calls none;
  manager->downloadWithURL(std::string("not a url"), 0, nullptr,
                           [&](auto image, pf::ErrorPtr error, ImageCacheType type, bool finished) {
                             none.add(Call{image, error, static_cast<int>(type), finished, {}});
                           });
  ASSERT_EQ(none.size(), 1u);
  EXPECT_FALSE(none.all()[0].finished);
}

TEST_F(WebImageManagerTest, DelegateVetoesAndTransforms) {
  auto delegate = std::make_shared<Transformer>();
  manager->setDelegate(delegate);
  server.route("/pic.png", devserver::answers::text(200, red));
  server.route("/forbidden.png", devserver::answers::text(200, red));
  Calls transformed, forbidden;
  load("/pic.png", transformed);
  load("/forbidden.png", forbidden);
  ASSERT_TRUE(runMainUntil([&] { return transformed.size() == 1 && forbidden.size() == 1 && !manager->isRunning(); }));
  EXPECT_EQ(transformed.all()[0].image->scale(), 4.0);
  EXPECT_EQ(transformed.all()[0].thread, mainThread);
  EXPECT_EQ(cache->imageFromMemoryCacheForKey(url("/pic.png")), transformed.all()[0].image);
  EXPECT_FALSE(forbidden.all()[0].image);
  EXPECT_TRUE(forbidden.all()[0].finished);
  EXPECT_EQ(forbidden.all()[0].thread, mainThread);
  EXPECT_EQ(requestsTo("/forbidden.png"), 0u);
}

TEST_F(WebImageManagerTest, PrefetchCountsRefusedUrlsAsSkippedAndEnds) {
  server.route("/missing.png", devserver::answers::text(404, "no"));
  for (const char* path : {"/a.png", "/b.png", "/c.png"}) server.route(path, devserver::answers::text(200, red));
  const auto prefetcher = WebImagePrefetcher::create();
  prefetcher->manager()->setImageCache(cache);
  EXPECT_EQ(prefetcher->maxConcurrentDownloads(), 3u);
  // The prefetcher's manager learns that the address fails.
  Calls failing;
  prefetcher->manager()->downloadWithURL(parsedUrl("/missing.png"), 0, nullptr,
                                         [&](auto, pf::ErrorPtr error, ImageCacheType, bool finished) {
                                           failing.add(Call{nullptr, error, 0, finished, {}});
                                         });
  ASSERT_TRUE(runMainUntil([&] { return failing.size() == 1; }));
  pf::Log::Capture log;
  std::atomic<int> ended{0};
  std::atomic<unsigned> finishedCount{0}, skippedCount{0};
  prefetcher->prefetchURLs({parsedUrl("/missing.png"), parsedUrl("/a.png"), parsedUrl("/b.png"), parsedUrl("/c.png")},
                           [&](unsigned finished, unsigned skipped) {
                             finishedCount = finished;
                             skippedCount = skipped;
                             ++ended;
                             pf::RunLoop::main()->wake();
                           });
  ASSERT_TRUE(runMainUntil([&] { return ended == 1; }));
  EXPECT_EQ(finishedCount.load(), 4u);
  EXPECT_EQ(skippedCount.load(), 1u);
  EXPECT_TRUE(log.contains("Prefetched 1 out of 4 (Failed)"));
  EXPECT_TRUE(log.contains("Prefetched 4 out of 4"));
  EXPECT_TRUE(log.contains("Finished prefetching (3 successful, 1 skipped, timeElasped "));
  EXPECT_EQ(requestsTo("/missing.png"), 1u);
  EXPECT_TRUE(runMainUntil([&] { return !prefetcher->manager()->isRunning(); }));
}

TEST_F(WebImageManagerTest, CancelledPrefetchNeverCompletes) {
  server.route("/stall.png", devserver::answers::stall(1));
  const auto prefetcher = WebImagePrefetcher::create();
  prefetcher->manager()->setImageCache(cache);
  std::atomic<int> ended{0};
  prefetcher->prefetchURLs({parsedUrl("/stall.png")}, [&](unsigned, unsigned) { ++ended; });
  ASSERT_TRUE(runMainUntil([&] { return requestsTo("/stall.png") == 1; }));
  prefetcher->cancelPrefetching();
  EXPECT_FALSE(prefetcher->manager()->isRunning());
  EXPECT_EQ(prefetcher->requestedCount(), 0u);
  settle();
  EXPECT_EQ(ended.load(), 0);
}

// Loads and cancels from several threads over good, failing and shared addresses: every load not
// cancelled ends once, the failed addresses are remembered, and nothing stays running.
TEST_F(WebImageManagerTest, ConcurrencyLoadsAndCancelsFromManyThreads) {
  for (int i = 0; i < 4; ++i) server.route("/good" + std::to_string(i) + ".png", devserver::answers::text(200, red));
  server.route("/bad.png", devserver::answers::text(404, "no"));
  struct Load {
    std::atomic<int> ends{0};
    bool cancelled = false;
  };
  std::vector<std::shared_ptr<Load>> loads;
  std::mutex loadsMutex;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 25; ++round) {
        auto load = std::make_shared<Load>();
        const std::string path = (round + t) % 5 == 4 ? "/bad.png" : "/good" + std::to_string(round % 4) + ".png";
        auto operation = manager->downloadWithURL(parsedUrl(path), 0, nullptr,
                                                  [load](auto, pf::ErrorPtr, ImageCacheType, bool) { ++load->ends; });
        if (round % 4 == t % 4) {
          operation->cancel();
          load->cancelled = true;
        }
        std::lock_guard lock(loadsMutex);
        loads.push_back(load);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_TRUE(runMainUntil([&] {
    return !manager->isRunning() && std::all_of(loads.begin(), loads.end(), [](const auto& load) {
             return load->cancelled || load->ends == 1;
           });
  }, 10));
  settle(0.1);
  for (const auto& load : loads) EXPECT_LE(load->ends.load(), 1);
  EXPECT_TRUE(manager->hasFailed(parsedUrl("/bad.png")));
  EXPECT_FALSE(manager->isRunning());
}
