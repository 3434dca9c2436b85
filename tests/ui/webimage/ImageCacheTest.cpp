// The picture cache: file names, memory and disk levels, query threads, cleaning by age and size, and a
// folder emptied from outside.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/foundation/DispatchQueue.h"
#include "tests/ui/webimage/WebImageTestSupport.h"
#include "ui/webimage/ImageCache.h"

namespace fs = std::filesystem;
using webimagetest::solidImage;

namespace {

class ImageCacheTest : public WebImageTest {
 protected:
  void SetUp() override {
    WebImageTest::SetUp();
    cache = ImageCache::create("test");
  }
  // Waits for every disk task queued so far.
  void flushDisk() { cache->ioQueue()->sync([] {}); }
  std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  void writeAged(const std::string& name, std::size_t size, std::chrono::seconds age) {
    fs::create_directories(cache->diskCachePath());
    const fs::path path = fs::path(cache->diskCachePath()) / name;
    std::ofstream(path, std::ios::binary) << std::string(size, 'x');
    fs::last_write_time(path, fs::file_time_type::clock::now() - age);
  }

  std::shared_ptr<ImageCache> cache;
};

}  // namespace

TEST_F(ImageCacheTest, FilesAreNamedByTheKeysMd5) {
  const std::string longKey = "http://example.com/" + std::string(500, 'a') + ".png";
  const std::string name = fs::path(cache->cachePathForKey(longKey)).filename().string();
  EXPECT_EQ(name.size(), 32u);
  EXPECT_EQ(name, fs::path(cache->cachePathForKey(longKey)).filename().string());
  EXPECT_EQ(fs::path(cache->cachePathForKey("abc")).filename(), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(fs::path(cache->diskCachePath()).filename(), "com.tessavorn.WebImageCache.test");
  EXPECT_EQ(fs::path(ImageCache::defaultDiskCachePath()).filename(), "com.tessavorn.WebImageCache.default");
}

TEST_F(ImageCacheTest, StoresDownloadedBytesExactlyOrAJpeg) {
  const auto image = solidImage(8, 8, pf::Color::fromRgba(0, 1, 0, 0.5));
  const pf::Data bytes = *image->pngData();
  cache->storeImage(image, bytes, "with-bytes", true);
  cache->storeImage(image, "without-bytes");
  cache->storeImage(image, "memory-only", false);
  flushDisk();
  EXPECT_EQ(fileText(cache->cachePathForKey("with-bytes")), webimagetest::asText(bytes));
  const std::string jpeg = fileText(cache->cachePathForKey("without-bytes"));
  ASSERT_GE(jpeg.size(), 2u);
  EXPECT_EQ(static_cast<unsigned char>(jpeg[0]), 0xff);
  EXPECT_EQ(static_cast<unsigned char>(jpeg[1]), 0xd8);
  EXPECT_FALSE(fs::exists(cache->cachePathForKey("memory-only")));
  EXPECT_EQ(cache->imageFromMemoryCacheForKey("memory-only"), image);
  // A disk read gives back an opaque picture: transparency is not kept in a JPEG.
  const auto fromDisk = cache->diskImageForKey("without-bytes");
  ASSERT_TRUE(fromDisk);
  EXPECT_EQ(fromDisk->bitmap()->pixel(3, 3).alpha, 255);
  cache->storeImage(nullptr, "nothing");
  cache->storeImage(image, "");
  flushDisk();
  EXPECT_EQ(cache->getDiskCount(), 2);
}

TEST_F(ImageCacheTest, MemoryHitAnswersBeforeTheQueryReturns) {
  const auto image = solidImage(4, 4, pf::Color::white());
  cache->storeImage(image, "k", false);
  int type = -1;
  cache->queryDiskCacheForKey("k", [&](auto found, ImageCacheType cacheType) {
    EXPECT_EQ(found, image);
    type = static_cast<int>(cacheType);
  });
  EXPECT_EQ(type, 2);
}

TEST_F(ImageCacheTest, DiskHitsAndMissesAnswerOnTheMainQueue) {
  cache->storeImage(solidImage(4, 4, pf::Color::white()), "on-disk");
  flushDisk();
  cache->clearMemory();
  std::vector<webimagetest::Call> calls;
  for (const char* key : {"on-disk", "absent"}) {
    cache->queryDiskCacheForKey(key, [&](auto found, ImageCacheType cacheType) {
      calls.push_back(webimagetest::Call{found, nullptr, static_cast<int>(cacheType), true, std::this_thread::get_id()});
    });
  }
  EXPECT_TRUE(calls.empty());
  ASSERT_TRUE(runMainUntil([&] { return calls.size() == 2; }));
  EXPECT_TRUE(calls[0].image);
  EXPECT_EQ(calls[0].cacheType, 1);
  EXPECT_FALSE(calls[1].image);
  EXPECT_EQ(calls[1].cacheType, 1);
  for (const auto& call : calls) EXPECT_EQ(call.thread, std::this_thread::get_id());
  // The disk hit went into memory.
  EXPECT_TRUE(cache->imageFromMemoryCacheForKey("on-disk"));
}

TEST_F(ImageCacheTest, KeysEndingInTheMarkerReadBackAtScaleTwo) {
  cache->storeImage(solidImage(8, 4, pf::Color::white()), "http://h/face@2x.png");
  flushDisk();
  const auto image = cache->diskImageForKey("http://h/face@2x.png");
  ASSERT_TRUE(image);
  EXPECT_EQ(image->scale(), 2.0);
  EXPECT_EQ(image->size(), (pf::Size{4, 2}));
}

TEST_F(ImageCacheTest, CleaningDeletesFilesOfTheMaximumAgeExactly) {
  cache->setMaxCacheAge(7 * 24 * 3600);
  writeAged("seven-days", 10, std::chrono::hours(7 * 24));
  writeAged("almost", 10, std::chrono::hours(7 * 24) - std::chrono::minutes(1));
  writeAged(".hidden", 10, std::chrono::hours(30 * 24));
  cache->cleanDisk();
  flushDisk();
  EXPECT_FALSE(fs::exists(fs::path(cache->diskCachePath()) / "seven-days"));
  EXPECT_TRUE(fs::exists(fs::path(cache->diskCachePath()) / "almost"));
  EXPECT_TRUE(fs::exists(fs::path(cache->diskCachePath()) / ".hidden"));
}

TEST_F(ImageCacheTest, SizeTrimmingDeletesOldestUntilBelowHalfTheLimit) {
  // 1800 bytes in nine files of 200, the first the oldest.
  for (int i = 0; i < 9; ++i) writeAged("f" + std::to_string(i), 200, std::chrono::minutes(100 - i));
  cache->cleanDisk();
  flushDisk();
  EXPECT_EQ(cache->getSize(), 1800u);  // no limit: nothing goes for size
  cache->setMaxCacheSize(1000);
  cache->cleanDisk();
  flushDisk();
  EXPECT_LT(cache->getSize(), 500u);
  EXPECT_EQ(cache->getSize(), 400u);
  EXPECT_TRUE(fs::exists(fs::path(cache->diskCachePath()) / "f8"));
  EXPECT_TRUE(fs::exists(fs::path(cache->diskCachePath()) / "f7"));
  EXPECT_FALSE(fs::exists(fs::path(cache->diskCachePath()) / "f6"));
}

TEST_F(ImageCacheTest, FolderEmptiedFromOutsideIsMadeAgainByTheNextStore) {
  const auto image = solidImage(4, 4, pf::Color::white());
  cache->storeImage(image, "kept-in-memory");
  flushDisk();
  fs::remove_all(cache->diskCachePath());
  EXPECT_EQ(cache->diskImageForKey("kept-in-memory"), nullptr);
  EXPECT_EQ(cache->imageFromDiskCacheForKey("kept-in-memory"), image);
  cache->storeImage(image, "after");
  flushDisk();
  EXPECT_TRUE(fs::exists(cache->cachePathForKey("after")));
  cache->clearDisk();
  flushDisk();
  EXPECT_TRUE(fs::is_directory(cache->diskCachePath()));
  EXPECT_EQ(cache->getDiskCount(), 0);
}

TEST_F(ImageCacheTest, MemoryLevelStaysWithinItsCostBudget) {
  const auto image = solidImage(100, 100, pf::Color::white(), 2);  // cost 50 x 50 x 2
  EXPECT_EQ(ImageCache::costOf(*image), 5000u);
  cache->memCache().setTotalCostLimit(12000);
  for (int i = 0; i < 5; ++i) cache->storeImage(image, "k" + std::to_string(i), false);
  EXPECT_LE(cache->memCache().totalCost(), 12000u);
  EXPECT_TRUE(cache->imageFromMemoryCacheForKey("k4"));
  EXPECT_FALSE(cache->imageFromMemoryCacheForKey("k0"));
  EXPECT_EQ(ImageCache::create()->memCache().totalCostLimit(), ImageCache::kDefaultMemoryCostLimit);
}

TEST_F(ImageCacheTest, MemoryWarningEmptiesTheMemoryLevel) {
  cache->storeImage(solidImage(4, 4, pf::Color::white()), "k", false);
  pf::NotificationCenter::defaultCenter().post(pf::Application::kDidReceiveMemoryWarningNotification);
  EXPECT_FALSE(cache->imageFromMemoryCacheForKey("k"));
}
