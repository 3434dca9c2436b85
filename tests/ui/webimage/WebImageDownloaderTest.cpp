// The downloader against the loopback server: shared fetches, per-requester cancels, errors, headers,
// progressive partial pictures, an unreachable network, and requesters racing a fetch's end.

#include <gtest/gtest.h>

#include <atomic>

#include "platform/net/ManualReachabilityProvider.h"
#include "platform/net/ReachabilityFlags.h"
#include "platform/net/UrlError.h"
#include "tests/ui/webimage/WebImageTestSupport.h"
#include "ui/webimage/WebImageDownloader.h"
#include "ui/webimage/WebImageDownloaderOptions.h"

using webimagetest::Call;
using webimagetest::Calls;

namespace {

class WebImageDownloaderTest : public WebImageTest {
 protected:
  WebImageDownloader::CompletedBlock recordInto(Calls& calls) {
    return [&calls](auto image, std::optional<pf::Data>, pf::ErrorPtr error, bool finished) {
      calls.add(Call{image, error, 0, finished, {}});
    };
  }
  std::shared_ptr<WebImageDownloader::Handle> fetch(const std::string& path, Calls& calls, int options = 0) {
    return downloader->downloadImageWithURL(parsedUrl(path), options, nullptr, recordInto(calls));
  }

  std::shared_ptr<WebImageDownloader> downloader = WebImageDownloader::create();
  const std::string png = webimagetest::pngText(20, 10, pf::Color::fromRgba(1, 0, 0));
};

}  // namespace

TEST_F(WebImageDownloaderTest, RequestsForOneUrlShareOneFetch) {
  server.route("/pic.png", devserver::answers::slow({png.substr(0, 10), png.substr(10)}, 0.2));
  std::atomic<int> starts{0}, stops{0};
  std::atomic<const void*> started{nullptr};
  auto& center = pf::NotificationCenter::defaultCenter();
  auto onStart = center.addObserver(WebImageDownloaderOperation::kStartNotification, nullptr,
                                    [&](const pf::Notification& n) {
                                      started = n.object.get();
                                      ++starts;
                                    });
  auto onStop = center.addObserver(WebImageDownloaderOperation::kStopNotification, nullptr,
                                   [&](const pf::Notification&) { ++stops; });
  Calls first, second;
  const auto a = fetch("/pic.png", first);
  const auto b = fetch("/pic.png", second);
  EXPECT_TRUE(a->startedFetch());
  EXPECT_FALSE(b->startedFetch());
  EXPECT_EQ(a->operation(), b->operation());
  ASSERT_TRUE(runMainUntil([&] { return first.size() == 1 && second.size() == 1; }));
  EXPECT_EQ(requestsTo("/pic.png"), 1u);
  EXPECT_EQ(first.all()[0].image, second.all()[0].image);
  ASSERT_TRUE(first.all()[0].image);
  EXPECT_EQ(first.all()[0].image->size(), (pf::Size{20, 10}));
  EXPECT_TRUE(first.all()[0].finished);
  EXPECT_EQ(starts.load(), 1);
  EXPECT_EQ(stops.load(), 1);
  EXPECT_EQ(started.load(), static_cast<const void*>(a->operation().get()));
  const auto request = server.requests().at(0);
  EXPECT_EQ(request.header("Accept"), "image/*");
  EXPECT_FALSE(request.header("Cookie"));
  // The fetch has ended: the next request starts a new one.
  Calls third;
  EXPECT_TRUE(fetch("/pic.png", third)->startedFetch());
  ASSERT_TRUE(runMainUntil([&] { return third.size() == 1; }));
  EXPECT_EQ(requestsTo("/pic.png"), 2u);
}

TEST_F(WebImageDownloaderTest, CancellingOneRequesterLeavesTheOthersTheirPicture) {
  server.route("/pic.png", devserver::answers::slow({png.substr(0, 10), png.substr(10)}, 0.3));
  Calls first, second;
  const auto a = fetch("/pic.png", first);
  const auto b = fetch("/pic.png", second);
  a->cancel();
  EXPECT_EQ(downloader->requesterCountForURL(parsedUrl("/pic.png")), 1u);
  ASSERT_TRUE(runMainUntil([&] { return second.size() == 1; }));
  EXPECT_TRUE(second.all()[0].image);
  settle();
  EXPECT_EQ(first.size(), 0u);
}

TEST_F(WebImageDownloaderTest, CancellingEveryRequesterStopsTheFetchWithoutCalls) {
  server.route("/stall.png", devserver::answers::stall(1));
  Calls first, second;
  std::atomic<int> stops{0};
  auto observation = pf::NotificationCenter::defaultCenter().addObserver(
      WebImageDownloaderOperation::kStopNotification, nullptr, [&](const pf::Notification&) { ++stops; });
  const auto a = fetch("/stall.png", first);
  const auto b = fetch("/stall.png", second);
  ASSERT_TRUE(runMainUntil([&] { return requestsTo("/stall.png") == 1; }));
  const auto operation = a->operation();
  a->cancel();
  EXPECT_FALSE(operation->isCancelled());
  b->cancel();
  EXPECT_TRUE(operation->isCancelled());
  ASSERT_TRUE(runMainUntil([&] { return operation->isFinished(); }, 2));
  settle();
  EXPECT_EQ(first.size() + second.size(), 0u);
  EXPECT_EQ(stops.load(), 1);
  EXPECT_EQ(downloader->requesterCountForURL(parsedUrl("/stall.png")), 0u);
}

namespace {

struct FailureCase {
  const char* name;
  devserver::Handler answer;
  const char* domain;
  long code;
};

}  // namespace

TEST_F(WebImageDownloaderTest, FailuresEndWithTheirErrorsOnce) {
  const std::vector<FailureCase> cases = {
      {"missing", devserver::answers::text(404, "no"), "NSURLErrorDomain", 404},
      {"server", devserver::answers::text(500, "boom"), "NSURLErrorDomain", 500},
      {"empty", devserver::answers::text(200, ""), "WebImageErrorDomain", 0},
      {"garbage", devserver::answers::text(200, "not a picture"), "WebImageErrorDomain", 0},
      {"huge", [](devserver::Exchange& exchange) {
         exchange.sendHead(200, {{"Content-Length", std::to_string(WebImageDownloaderOperation::kMaxImageBytes + 1)}});
         exchange.write(std::string(1000, 'x'));
         exchange.pause(2);
       }, "WebImageErrorDomain", 0},
  };
  for (const auto& failure : cases) {
    SCOPED_TRACE(failure.name);
    const std::string path = std::string("/") + failure.name;
    server.route(path, failure.answer);
    Calls calls;
    fetch(path, calls);
    ASSERT_TRUE(runMainUntil([&] { return calls.size() == 1; }));
    const Call call = calls.all()[0];
    EXPECT_FALSE(call.image);
    ASSERT_TRUE(call.error);
    EXPECT_EQ(call.error->domain(), failure.domain);
    EXPECT_EQ(call.error->code(), failure.code);
    EXPECT_TRUE(call.finished);
    if (failure.code == 0) {
      EXPECT_EQ(call.error->localizedDescription(), "Downloaded image has 0 pixels");
    }
    EXPECT_NE(call.thread, std::this_thread::get_id());
  }
}

TEST_F(WebImageDownloaderTest, UnreachableNetworkFailsWithNotConnected) {
  auto manual = std::make_shared<pf::ManualReachabilityProvider>();
  manual->setFlags(0);
  const auto previous = pf::ReachabilityProvider::install(manual);
  server.route("/pic.png", devserver::answers::text(200, png));
  Calls calls;
  fetch("/pic.png", calls);
  const bool ended = runMainUntil([&] { return calls.size() == 1; });
  pf::ReachabilityProvider::install(previous);
  ASSERT_TRUE(ended);
  ASSERT_TRUE(calls.all()[0].error);
  EXPECT_EQ(calls.all()[0].error->domain(), "NSURLErrorDomain");
  EXPECT_EQ(calls.all()[0].error->code(), -1009);
  EXPECT_EQ(requestsTo("/pic.png"), 0u);
}

TEST_F(WebImageDownloaderTest, HeadersCanBeChanged) {
  downloader->setValue("image/png", "Accept");
  downloader->setValue("yes", "X-Extra");
  downloader->setValue(std::nullopt, "X-Extra");
  EXPECT_EQ(downloader->valueForHTTPHeaderField("Accept"), "image/png");
  EXPECT_FALSE(downloader->valueForHTTPHeaderField("X-Extra"));
  server.route("/pic.png", devserver::answers::text(200, png));
  Calls calls;
  fetch("/pic.png", calls);
  ASSERT_TRUE(runMainUntil([&] { return calls.size() == 1; }));
  EXPECT_EQ(server.requests().at(0).header("Accept"), "image/png");
  EXPECT_EQ(downloader->maxConcurrentDownloads(), 2);
}

TEST_F(WebImageDownloaderTest, ProgressiveDownloadShowsPartialsThenOneCompletion) {
  const std::string big = webimagetest::pngText(64, 256, pf::Color::fromRgba(0, 0, 1));
  const std::size_t third = big.size() / 3;
  server.route("/big.png", devserver::answers::slow({big.substr(0, third), big.substr(third, third),
                                                     big.substr(2 * third)}, 0.15));
  Calls calls;
  std::vector<std::pair<std::uint64_t, std::int64_t>> progress;
  std::mutex progressMutex;
  downloader->downloadImageWithURL(
      parsedUrl("/big.png"), WebImageDownloaderProgressiveDownload,
      [&](std::uint64_t received, std::int64_t expected) {
        std::lock_guard lock(progressMutex);
        progress.emplace_back(received, expected);
      },
      recordInto(calls));
  ASSERT_TRUE(runMainUntil([&] { return !calls.all().empty() && calls.all().back().finished; }));
  const auto all = calls.all();
  ASSERT_GE(all.size(), 2u);
  for (std::size_t i = 0; i + 1 < all.size(); ++i) {
    EXPECT_FALSE(all[i].finished);
    ASSERT_TRUE(all[i].image);
    EXPECT_EQ(all[i].image->size(), (pf::Size{64, 256}));
    EXPECT_EQ(all[i].thread, std::this_thread::get_id());
  }
  EXPECT_EQ(std::count_if(all.begin(), all.end(), [](const Call& c) { return c.finished; }), 1);
  // The first partial shows the top rows and leaves the bottom transparent.
  const auto& partial = *all.front().image->bitmap();
  EXPECT_EQ(partial.pixel(0, 0).blue, 255);
  EXPECT_EQ(partial.pixel(0, 255).alpha, 0);
  std::lock_guard lock(progressMutex);
  ASSERT_GE(progress.size(), 3u);
  EXPECT_EQ(progress.front(), (std::pair<std::uint64_t, std::int64_t>{0, -1}));
  EXPECT_EQ(progress.back(), (std::pair<std::uint64_t, std::int64_t>{big.size(), std::int64_t(big.size())}));
}

TEST_F(WebImageDownloaderTest, NoPartialsWithoutAContentLength) {
  const std::string big = webimagetest::pngText(64, 256, pf::Color::fromRgba(0, 0, 1));
  server.route("/chunked.png", devserver::answers::chunked({big.substr(0, 300), big.substr(300)}));
  Calls calls;
  fetch("/chunked.png", calls, WebImageDownloaderProgressiveDownload);
  ASSERT_TRUE(runMainUntil([&] { return calls.size() == 1; }));
  settle(0.1);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_TRUE(calls.all()[0].finished);
  EXPECT_TRUE(calls.all()[0].image);
}

TEST_F(WebImageDownloaderTest, LastInFirstOutStartsTheNewestWaitingFetch) {
  downloader->setMaxConcurrentDownloads(1);
  downloader->setExecutionOrder(WebImageDownloader::ExecutionOrder::LIFO);
  server.route("/slow.png", devserver::answers::slow({png.substr(0, 10), png.substr(10)}, 0.3));
  server.route("/a.png", devserver::answers::text(200, png));
  server.route("/b.png", devserver::answers::text(200, png));
  Calls slow, a, b;
  fetch("/slow.png", slow);
  ASSERT_TRUE(runMainUntil([&] { return requestsTo("/slow.png") == 1; }));
  fetch("/a.png", a);
  fetch("/b.png", b);
  ASSERT_TRUE(runMainUntil([&] { return a.size() == 1 && b.size() == 1; }));
  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[1].path, "/b.png");
  EXPECT_EQ(requests[2].path, "/a.png");
}

// Requesters join, cancel and arrive just as fetches end, from several threads: every requester that
// was not cancelled hears exactly one final completion, none hears two, and no list is left behind.
// (A cancel racing the fetch's end may still meet the completion already on its way: the views check
// on the main thread that a result is still wanted.)
TEST_F(WebImageDownloaderTest, ConcurrencyRequestersRacingTheEndOfFetches) {
  server.route("/race.png", devserver::answers::text(200, png));
  constexpr int kThreads = 4;
  constexpr int kRounds = 40;
  struct Requester {
    std::atomic<int> completions{0};
    std::atomic<bool> cancelled{false};
  };
  std::vector<std::shared_ptr<Requester>> requesters;
  std::mutex requestersMutex;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < kRounds; ++round) {
        auto requester = std::make_shared<Requester>();
        {
          std::lock_guard lock(requestersMutex);
          requesters.push_back(requester);
        }
        auto handle = downloader->downloadImageWithURL(
            parsedUrl("/race.png"), 0, nullptr,
            [requester](auto, std::optional<pf::Data>, pf::ErrorPtr, bool finished) {
              if (finished) ++requester->completions;
            });
        if ((round + t) % 3 == 0) {
          handle->cancel();
          requester->cancelled = true;
        }
        if (round % 5 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
    });
  }
  for (auto& thread : threads) thread.join();
  const auto allHeard = [&] {
    return std::all_of(requesters.begin(), requesters.end(),
                       [](const auto& r) { return r->cancelled || r->completions == 1; });
  };
  EXPECT_TRUE(runMainUntil(allHeard, 10));
  settle(0.2);
  for (const auto& requester : requesters) EXPECT_LE(requester->completions.load(), 1);
  EXPECT_EQ(downloader->requesterCountForURL(parsedUrl("/race.png")), 0u);
}
