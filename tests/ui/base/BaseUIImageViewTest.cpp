// The sized remote image view: its address per size flag, the current flag, refreshing loads fitted to
// a height, and the two caller errors.

#include "ui/base/BaseUIImageView.h"

#include <gtest/gtest.h>

#include "tests/ui/webimage/WebImageTestSupport.h"
#include "ui/webimage/WebImageManager.h"

namespace {

class BaseUIImageViewTest : public WebImageTest {
 protected:
  void SetUp() override {
    WebImageTest::SetUp();
    previousCache = WebImageManager::sharedManager()->imageCache();
    WebImageManager::sharedManager()->setImageCache(ImageCache::create("base"));
    view = std::make_shared<BaseUIImageView>(pf::Rect{8, 9, 50, 50});
    window->addSubview(view);
  }
  void TearDown() override {
    WebImageManager::sharedManager()->cancelAll();
    WebImageManager::sharedManager()->setImageCache(previousCache);
    WebImageTest::TearDown();
  }

  std::shared_ptr<ImageCache> previousCache;
  std::shared_ptr<BaseUIImageView> view;
  const std::shared_ptr<pf::Image> placeholder = webimagetest::solidImage(10, 10, pf::Color::lightGray());
};

std::string messageOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const pf::ContractViolation& violation) {
    return violation.what();
  }
  return "";
}

}  // namespace

TEST_F(BaseUIImageViewTest, KeepsAnAddressPerFlagAndShowsTheCurrentOne) {
  EXPECT_EQ(view->currentSizeFlag(), 0);
  EXPECT_FALSE(view->currentImageUrl());
  server.route("/small.png", devserver::answers::text(200, webimagetest::pngText(200, 100, pf::Color::white())));
  view->setImageUrl(parsedUrl("/small.png"), 1);
  view->setImageUrl(parsedUrl("/normal.png"), 2);
  view->setImageUrl(parsedUrl("/large.png"), 3);
  view->setImageWithCurrentSizeFlag(1, placeholder, 60);
  EXPECT_EQ(view->image(), placeholder);
  EXPECT_EQ(view->currentSizeFlag(), 1);
  EXPECT_EQ(view->currentImageUrl(), parsedUrl("/small.png"));
  EXPECT_EQ(view->imageUrlForImageSizeFlag(3), parsedUrl("/large.png"));
  ASSERT_TRUE(runMainUntil([&] { return view->image() != placeholder; }));
  EXPECT_EQ(view->frame(), (pf::Rect{8, 9, 120, 60}));
  EXPECT_EQ(requestsTo("/normal.png") + requestsTo("/large.png"), 0u);

  view->setImageUrl(parsedUrl("/other-large.png"), 3);
  EXPECT_EQ(view->imageUrlForImageSizeFlag(3), parsedUrl("/other-large.png"));
  EXPECT_EQ(view->imageUrlDic().size(), 3u);
}

TEST_F(BaseUIImageViewTest, DefaultSizeAddressIsFlagZero) {
  view->setImageUrl(parsedUrl("/x.png"), 2);
  view->setImageWithCurrentSizeFlag(2, placeholder, 0);
  view->setImageWithDefaultSizeUrl(parsedUrl("/answer.png"), placeholder, 0);
  EXPECT_EQ(view->currentSizeFlag(), 0);
  EXPECT_EQ(view->imageUrlForImageSizeFlag(0), parsedUrl("/answer.png"));
  EXPECT_EQ(view->currentImageUrl(), parsedUrl("/answer.png"));
}

TEST_F(BaseUIImageViewTest, EveryRequestAsksTheServerAgain) {
  std::atomic<int> conditional{0};
  const std::string png = webimagetest::pngText(20, 20, pf::Color::white());
  server.route("/face.png", [&](devserver::Exchange& exchange) {
    if (exchange.request().header("If-None-Match") == "\"f\"") {
      ++conditional;
      return exchange.respond(304, "", {{"ETag", "\"f\""}});
    }
    exchange.respond(200, png, {{"ETag", "\"f\""}});
  });
  view->setImageWithDefaultSizeUrl(parsedUrl("/face.png"), placeholder, 0);
  ASSERT_TRUE(runMainUntil([&] { return view->image() != placeholder && !WebImageManager::sharedManager()->isRunning(); }));
  const auto shown = view->image();
  view->setImageWithDefaultSizeUrl(parsedUrl("/face.png"), placeholder, 0);
  EXPECT_EQ(view->image(), shown);  // the cached picture at once
  ASSERT_TRUE(runMainUntil([&] { return conditional == 1 && !WebImageManager::sharedManager()->isRunning(); }));
  EXPECT_EQ(view->image(), shown);
}

TEST_F(BaseUIImageViewTest, CallerErrorsNameWhatIsMissing) {
  EXPECT_EQ(messageOf([&] { view->setImageWithCurrentSizeFlag(1, std::nullopt, placeholder, 60); }),
            "Image url can not be nil");
  EXPECT_EQ(messageOf([&] { view->setImageWithCurrentSizeFlag(5, placeholder, 60); }),
            "Please set imageUrl for sizeFlag 5 first!");
  EXPECT_EQ(view->currentSizeFlag(), 0);
  EXPECT_TRUE(view->imageUrlDic().empty());
}
