// The stand-in's demo pictures answer with an ETag and a 304 when asked with it: a refreshing picture
// view asks again and keeps its picture without a second delivery.

#include <gtest/gtest.h>

#include "tests/ui/webimage/WebImageTestSupport.h"
#include "tools/devserver/demo/DemoPicture.h"
#include "ui/webimage/WebImageManager.h"

using webimagetest::Calls;

TEST_F(WebImageTest, DemoPicturesRevalidateWithTheirETag) {
  server.route("/cover.png", [](devserver::Exchange& exchange) { devserver::DemoPicture::answer(exchange, "C-1"); });
  const auto manager = WebImageManager::create();
  manager->setImageCache(ImageCache::create("demo"));
  Calls first, second;
  const auto record = [](Calls& calls) {
    return [&calls](auto image, pf::ErrorPtr error, ImageCacheType type, bool finished) {
      calls.add(webimagetest::Call{image, error, static_cast<int>(type), finished, {}});
    };
  };
  manager->downloadWithURL(parsedUrl("/cover.png"), WebImageRefreshCached, nullptr, record(first));
  ASSERT_TRUE(runMainUntil([&] { return first.size() == 1 && !manager->isRunning(); }));
  ASSERT_TRUE(first.all()[0].image);
  EXPECT_EQ(first.all()[0].image->size(), (pf::Size{160, 120}));
  manager->downloadWithURL(parsedUrl("/cover.png"), WebImageRefreshCached, nullptr, record(second));
  ASSERT_TRUE(runMainUntil([&] { return server.requests().size() == 2 && !manager->isRunning(); }));
  settle(0.1);
  EXPECT_EQ(second.size(), 1u);
  EXPECT_EQ(server.requests()[1].header("If-None-Match"), "\"C-1-160x120\"");
}
