// Remote pictures on image views, buttons and map markers through the shared manager: placeholders,
// height fitting, shared fetches between views, reused views, refreshing, failures, and a rendering.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/host/HeadlessHost.h"
#include "tests/ui/webimage/WebImageTestSupport.h"
#include "ui/webimage/AnnotationViewWebCache.h"
#include "ui/webimage/ButtonWebCache.h"
#include "ui/webimage/ImageViewWebCache.h"

using webimagetest::Call;
using webimagetest::Calls;

namespace {

class WebCacheViewTest : public WebImageTest {
 protected:
  void SetUp() override {
    WebImageTest::SetUp();
    cache = ImageCache::create("views");
    previousCache = WebImageManager::sharedManager()->imageCache();
    WebImageManager::sharedManager()->setImageCache(cache);
  }
  void TearDown() override {
    WebImageManager::sharedManager()->cancelAll();
    WebImageManager::sharedManager()->setImageCache(previousCache);
    WebImageTest::TearDown();
  }
  ImageViewWebCache::Completion recordInto(Calls& calls) {
    return [&calls](auto image, pf::ErrorPtr error, ImageCacheType type) {
      calls.add(Call{image, error, static_cast<int>(type), true, {}});
    };
  }
  std::shared_ptr<pf::ImageView> imageView(pf::Rect frame = {10, 20, 50, 50}) {
    auto view = std::make_shared<pf::ImageView>(frame);
    window->addSubview(view);
    return view;
  }
  bool managerIdle() { return !WebImageManager::sharedManager()->isRunning(); }

  std::shared_ptr<ImageCache> cache;
  std::shared_ptr<ImageCache> previousCache;
  const std::shared_ptr<pf::Image> placeholder = webimagetest::solidImage(10, 10, pf::Color::lightGray());
  const std::string wide = webimagetest::pngText(200, 100, pf::Color::fromRgba(1, 0, 0));
  const std::string tall = webimagetest::pngText(100, 200, pf::Color::fromRgba(0, 0, 1));
};

}  // namespace

TEST_F(WebCacheViewTest, PlaceholderFirstThenThePictureFittedToTheHeight) {
  server.route("/wide.png", devserver::answers::text(200, wide));
  const auto view = imageView();
  Calls calls;
  ImageViewWebCache::setImageWithURL(view, parsedUrl("/wide.png"), placeholder, 60, 0, nullptr, recordInto(calls));
  EXPECT_EQ(view->image(), placeholder);
  ASSERT_TRUE(runMainUntil([&] { return calls.size() == 1; }));
  EXPECT_EQ(calls.all()[0].thread, std::this_thread::get_id());
  EXPECT_EQ(view->image(), calls.all()[0].image);
  EXPECT_EQ(view->frame(), (pf::Rect{10, 20, 120, 60}));
  EXPECT_EQ(calls.all()[0].cacheType, 0);
  ASSERT_TRUE(runMainUntil([&] { return managerIdle(); }));

  // From memory now: shown before the setter returns; height 0 leaves the frame alone.
  const auto other = imageView({1, 2, 30, 40});
  Calls memory;
  ImageViewWebCache::setImageWithURL(other, parsedUrl("/wide.png"), placeholder, recordInto(memory));
  ASSERT_EQ(memory.size(), 1u);
  EXPECT_EQ(memory.all()[0].cacheType, 2);
  EXPECT_EQ(other->image(), memory.all()[0].image);
  EXPECT_EQ(other->frame(), (pf::Rect{1, 2, 30, 40}));
}

TEST_F(WebCacheViewTest, TwoViewsShareOneFetchAndKeepItWhenOneMovesOn) {
  server.route("/face.png", devserver::answers::slow({wide.substr(0, 30), wide.substr(30)}, 0.3));
  server.route("/other.png", devserver::answers::text(200, tall));
  const auto first = imageView();
  const auto second = imageView();
  Calls firstCalls, secondCalls;
  ImageViewWebCache::setImageWithURL(first, parsedUrl("/face.png"), placeholder, recordInto(firstCalls));
  ImageViewWebCache::setImageWithURL(second, parsedUrl("/face.png"), placeholder, recordInto(secondCalls));
  ASSERT_TRUE(runMainUntil([&] { return requestsTo("/face.png") == 1; }));
  // The first view is reused for another address while the shared fetch runs.
  ImageViewWebCache::setImageWithURL(first, parsedUrl("/other.png"), placeholder, recordInto(firstCalls));
  ASSERT_TRUE(runMainUntil([&] { return secondCalls.size() == 1 && firstCalls.size() == 1 && managerIdle(); }));
  EXPECT_EQ(requestsTo("/face.png"), 1u);
  ASSERT_TRUE(secondCalls.all()[0].image);
  EXPECT_EQ(second->image(), secondCalls.all()[0].image);
  EXPECT_EQ(second->image()->size(), (pf::Size{200, 100}));
  EXPECT_EQ(first->image()->size(), (pf::Size{100, 200}));
}

TEST_F(WebCacheViewTest, TwoViewsOfOneAddressAreShownInTheOrderAsked) {
  server.route("/face.png", devserver::answers::slow({wide.substr(0, 30), wide.substr(30)}, 0.2));
  const auto first = imageView();
  const auto second = imageView();
  std::vector<int> order;
  ImageViewWebCache::setImageWithURL(first, parsedUrl("/face.png"), placeholder,
                                     [&](auto, pf::ErrorPtr, ImageCacheType) { order.push_back(1); });
  ImageViewWebCache::setImageWithURL(second, parsedUrl("/face.png"), placeholder,
                                     [&](auto, pf::ErrorPtr, ImageCacheType) { order.push_back(2); });
  ASSERT_TRUE(runMainUntil([&] { return order.size() == 2; }));
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
  EXPECT_EQ(first->image(), second->image());
  EXPECT_EQ(requestsTo("/face.png"), 1u);
}

// A download ends on its own thread and hands its picture to the main queue; the view is given another
// address before the main queue gets to it. The old picture must not show.
TEST_F(WebCacheViewTest, ReusedViewNeverShowsThePreviousAddressesPicture) {
  server.route("/old.png", devserver::answers::text(200, wide));
  server.route("/stall.png", devserver::answers::stall(1));
  const auto view = imageView();
  Calls oldCalls, newCalls;
  ImageViewWebCache::setImageWithURL(view, parsedUrl("/old.png"), nullptr, recordInto(oldCalls));
  ASSERT_TRUE(runMainUntil([&] { return requestsTo("/old.png") == 1; }));
  // Without running the main loop: wait until the download has delivered (it stores right after).
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!cache->imageFromMemoryCacheForKey(url("/old.png")) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ASSERT_TRUE(cache->imageFromMemoryCacheForKey(url("/old.png")));
  ImageViewWebCache::setImageWithURL(view, parsedUrl("/stall.png"), placeholder, recordInto(newCalls));
  settle();
  EXPECT_EQ(view->image(), placeholder);
  EXPECT_EQ(oldCalls.size(), 0u);
  EXPECT_EQ(newCalls.size(), 0u);
}

TEST_F(WebCacheViewTest, NilAddressCancelsAndShowsThePlaceholder) {
  server.route("/stall.png", devserver::answers::stall(1));
  const auto view = imageView();
  Calls calls;
  ImageViewWebCache::setImageWithURL(view, parsedUrl("/stall.png"), nullptr, recordInto(calls));
  ASSERT_TRUE(runMainUntil([&] { return requestsTo("/stall.png") == 1; }));
  ImageViewWebCache::setImageWithURL(view, std::nullopt, placeholder, recordInto(calls));
  EXPECT_EQ(view->image(), placeholder);
  EXPECT_FALSE(ImageViewWebCache::currentImageLoad(*view));
  EXPECT_TRUE(managerIdle());
  settle();
  EXPECT_EQ(calls.size(), 0u);
}

TEST_F(WebCacheViewTest, FailureKeepsThePlaceholderAndIsNotAskedAgain) {
  server.route("/missing.png", devserver::answers::text(404, "no"));
  const auto view = imageView();
  Calls calls;
  ImageViewWebCache::setImageWithURL(view, parsedUrl("/missing.png"), placeholder, recordInto(calls));
  ASSERT_TRUE(runMainUntil([&] { return calls.size() == 1; }));
  EXPECT_EQ(view->image(), placeholder);
  ASSERT_TRUE(calls.all()[0].error);
  EXPECT_EQ(calls.all()[0].error->code(), 404);
  EXPECT_EQ(calls.all()[0].cacheType, 0);
  ImageViewWebCache::setImageWithURL(view, parsedUrl("/missing.png"), placeholder, recordInto(calls));
  settle();
  EXPECT_EQ(calls.size(), 1u);
  EXPECT_EQ(requestsTo("/missing.png"), 1u);
}

TEST_F(WebCacheViewTest, ProgressivePartialsShowAndTheCompletionRunsOnce) {
  const std::string big = webimagetest::pngText(64, 256, pf::Color::fromRgba(0, 1, 0));
  const std::size_t half = big.size() / 2;
  server.route("/big.png", devserver::answers::slow({big.substr(0, half), big.substr(half)}, 0.3));
  const auto view = imageView();
  Calls calls;
  std::vector<std::shared_ptr<const pf::Image>> shown;
  ImageViewWebCache::setImageWithURL(view, parsedUrl("/big.png"), placeholder, WebImageProgressiveDownload,
                                     recordInto(calls));
  ASSERT_TRUE(runMainUntil([&] {
    if (view->image() != placeholder && (shown.empty() || shown.back() != view->image())) shown.push_back(view->image());
    return calls.size() == 1;
  }));
  EXPECT_GE(shown.size(), 2u);
  EXPECT_EQ(shown.front()->bitmap()->pixel(0, 255).alpha, 0);  // the partial's bottom is not in yet
  EXPECT_EQ(view->image()->bitmap()->pixel(0, 255).green, 255);
  settle(0.1);
  EXPECT_EQ(calls.size(), 1u);
}

TEST_F(WebCacheViewTest, RefreshShowsTheCachedPictureThenAChangedOne) {
  std::mutex mutex;
  std::string body = wide, etag = "\"1\"";
  server.route("/blog.png", [&](devserver::Exchange& exchange) {
    std::lock_guard lock(mutex);
    if (exchange.request().header("If-None-Match") == etag) return exchange.respond(304, "", {{"ETag", etag}});
    exchange.respond(200, body, {{"ETag", etag}});
  });
  const auto view = imageView();
  Calls first;
  ImageViewWebCache::setImageWithURL(view, parsedUrl("/blog.png"), placeholder, 60, WebImageRefreshCached, nullptr,
                                     recordInto(first));
  ASSERT_TRUE(runMainUntil([&] { return first.size() == 1 && managerIdle(); }));
  EXPECT_EQ(view->frame().size, (pf::Size{120, 60}));
  {
    std::lock_guard lock(mutex);
    body = tall;
    etag = "\"2\"";
  }
  Calls second;
  ImageViewWebCache::setImageWithURL(view, parsedUrl("/blog.png"), placeholder, 60, WebImageRefreshCached, nullptr,
                                     recordInto(second));
  ASSERT_EQ(second.size(), 1u);  // the cached picture, at once
  EXPECT_EQ(second.all()[0].cacheType, 2);
  EXPECT_EQ(view->frame().size, (pf::Size{120, 60}));
  ASSERT_TRUE(runMainUntil([&] { return second.size() == 2 && managerIdle(); }));
  EXPECT_EQ(second.all()[1].cacheType, 0);
  EXPECT_EQ(view->frame().size, (pf::Size{30, 60}));
  EXPECT_EQ(view->image(), second.all()[1].image);
}

TEST_F(WebCacheViewTest, ButtonsFitTheHeightUpToTheirMaximumWidth) {
  server.route("/wide.png", devserver::answers::text(200, wide));
  auto button = std::make_shared<pf::Button>(pf::Rect{5, 6, 10, 10});
  Calls calls;
  ButtonWebCache::setImageWithURL(button, parsedUrl("/wide.png"), 0, placeholder, 60, 100, 0, recordInto(calls));
  EXPECT_EQ(button->imageForState(0), placeholder);
  ASSERT_TRUE(runMainUntil([&] { return calls.size() == 1 && managerIdle(); }));
  EXPECT_EQ(button->frame(), (pf::Rect{5, 6, 100, 60}));
  EXPECT_EQ(button->imageForState(0), calls.all()[0].image);

  auto background = std::make_shared<pf::Button>(pf::Rect{0, 0, 10, 10});
  Calls backgroundCalls;
  ButtonWebCache::setBackgroundImageWithURL(background, parsedUrl("/wide.png"), 0, placeholder, 30, 0,
                                            recordInto(backgroundCalls));
  ASSERT_EQ(backgroundCalls.size(), 1u);
  EXPECT_EQ(background->frame(), (pf::Rect{0, 0, 60, 30}));
}

TEST_F(WebCacheViewTest, AnnotationViewsShowThePicture) {
  server.route("/pin.png", devserver::answers::text(200, tall));
  auto pin = std::make_shared<pf::AnnotationView>(pf::Rect{100, 100, 10, 10});
  Calls calls;
  AnnotationViewWebCache::setImageWithURL(pin, parsedUrl("/pin.png"), placeholder, recordInto(calls));
  EXPECT_EQ(pin->image(), placeholder);
  ASSERT_TRUE(runMainUntil([&] { return calls.size() == 1; }));
  EXPECT_EQ(pin->image(), calls.all()[0].image);
  EXPECT_EQ(pin->frame().size, (pf::Size{100, 200}));
}

TEST_F(WebCacheViewTest, SnapshotOfPictureViews) {
  server.route("/red.png", devserver::answers::text(200, wide));
  server.route("/blue.png", devserver::answers::text(200, tall));
  window->setBackgroundColor(pf::Color::white());
  const auto left = imageView({20, 40, 10, 10});
  const auto right = imageView({200, 40, 10, 10});
  const auto waiting = imageView({20, 200, 40, 40});
  server.route("/stall.png", devserver::answers::stall(1));
  ImageViewWebCache::setImageWithURL(left, parsedUrl("/red.png"), placeholder, 60, 0, nullptr, nullptr);
  ImageViewWebCache::setImageWithURL(right, parsedUrl("/blue.png"), placeholder, 60, 0, nullptr, nullptr);
  ImageViewWebCache::setImageWithURL(waiting, parsedUrl("/stall.png"), placeholder);
  ASSERT_TRUE(runMainUntil([&] { return left->image() != placeholder && right->image() != placeholder; }));
  pf::HeadlessHost host(window);
  // For a person to look at: beside the test executable, in the build folder.
  ASSERT_TRUE(host.writePng((std::filesystem::canonical("/proc/self/exe").parent_path() / "webimage-views.png").string()));
  EXPECT_EQ(host.pixelAt({25, 45}), (pf::Pixel{255, 0, 0, 255}));
  EXPECT_EQ(host.pixelAt({135, 95}), (pf::Pixel{255, 0, 0, 255}));   // 120 x 60 from (20, 40)
  EXPECT_EQ(host.pixelAt({145, 95}), (pf::Pixel{255, 255, 255, 255}));
  EXPECT_EQ(host.pixelAt({225, 95}), (pf::Pixel{0, 0, 255, 255}));  // 30 x 60 from (200, 40)
  EXPECT_EQ(host.pixelAt({235, 95}), (pf::Pixel{255, 255, 255, 255}));
  const pf::Pixel gray = host.pixelAt({40, 220});
  EXPECT_EQ(gray.red, gray.blue);
  EXPECT_GT(gray.red, 150);
  EXPECT_LT(gray.red, 255);
}
