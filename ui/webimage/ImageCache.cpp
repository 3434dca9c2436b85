#include "ui/webimage/ImageCache.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <vector>

#include "core/util/FileTool.h"
#include "platform/foundation/FilePath.h"
#include "platform/foundation/Md5.h"
#include "platform/foundation/Sandbox.h"
#include "platform/ui/Application.h"
#include "ui/webimage/DataGif.h"
#include "ui/webimage/ImageForceDecode.h"
#include "ui/webimage/ImageGif.h"
#include "ui/webimage/ScaledImageForKey.h"

namespace fs = std::filesystem;

namespace {

std::optional<pf::Data> readWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return pf::Data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct CachedFile {
  fs::path path;
  fs::file_time_type modified;
  std::uint64_t size;
};

bool isHiddenEntry(const fs::path& path) {
  const std::string name = path.filename().string();
  return !name.empty() && name.front() == '.';
}

}  // namespace

std::string ImageCache::defaultDiskCachePath() {
  return FileTool::getCachesPath() + "/" + kDefaultNamespaceFolder;
}

std::shared_ptr<ImageCache> ImageCache::sharedImageCache() {
  static std::once_flag once;
  static std::shared_ptr<ImageCache> shared;
  std::call_once(once, [] { shared = create(); });
  return shared;
}

std::shared_ptr<ImageCache> ImageCache::create(const std::string& nameSpace) {
  const std::string fullNamespace = kNamespacePrefix + nameSpace;
  std::shared_ptr<ImageCache> cache(
      new ImageCache(fullNamespace, pf::path::appendingPathComponent(pf::Sandbox::cachesPath(), fullNamespace)));
  cache->observeApplication();
  return cache;
}

ImageCache::ImageCache(const std::string& fullNamespace, std::string diskCachePath)
    : memCache_(std::make_unique<MemCache>(fullNamespace)),
      diskCachePath_(std::move(diskCachePath)),
      ioQueue_(pf::DispatchQueue::makeSerial(kIoQueueLabel)) {
  memCache_->setTotalCostLimit(kDefaultMemoryCostLimit);
}

ImageCache::~ImageCache() = default;

void ImageCache::observeApplication() {
  auto& center = pf::NotificationCenter::defaultCenter();
  const std::weak_ptr<ImageCache> weakSelf = weak_from_this();
  memoryWarning_ = center.addObserver(pf::Application::kDidReceiveMemoryWarningNotification, nullptr,
                                      [weakSelf](const pf::Notification&) {
                                        if (auto self = weakSelf.lock()) self->clearMemory();
                                      });
  willTerminate_ = center.addObserver(pf::Application::kWillTerminateNotification, nullptr,
                                      [weakSelf](const pf::Notification&) {
                                        if (auto self = weakSelf.lock()) self->cleanDisk();
                                      });
}

std::size_t ImageCache::costOf(const pf::Image& image) {
  const pf::Size size = image.size();
  return static_cast<std::size_t>(size.width * size.height * image.scale());
}

std::string ImageCache::cachePathForKey(const std::string& key) const {
  return pf::path::appendingPathComponent(diskCachePath_, pf::md5::hex(key));
}

void ImageCache::storeImage(const ImagePtr& image, const std::optional<pf::Data>& imageData,
                            const std::string& key, bool toDisk) {
  if (!image || key.empty()) return;
  memCache_->setObject(key, image, costOf(*image));
  if (!toDisk) return;
  ioQueue_->async([self = shared_from_this(), image, imageData, key] { self->writeFile(image, imageData, key); });
}

void ImageCache::storeImage(const ImagePtr& image, const std::string& key, bool toDisk) {
  storeImage(image, std::nullopt, key, toDisk);
}

void ImageCache::writeFile(const ImagePtr& image, const std::optional<pf::Data>& imageData,
                           const std::string& key) {
  const std::optional<pf::Data> bytes = imageData ? imageData : image->jpegData(1.0);
  if (!bytes) return;
  std::error_code ignored;
  fs::create_directories(diskCachePath_, ignored);
  // Written aside and renamed, so a reader never meets half a file.
  const std::string path = cachePathForKey(key);
  const std::string partial = path + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes->data()), static_cast<std::streamsize>(bytes->size()));
    if (!out) {
      fs::remove(partial, ignored);
      return;
    }
  }
  fs::rename(partial, path, ignored);
}

ImageCache::ImagePtr ImageCache::imageFromMemoryCacheForKey(const std::string& key) {
  return memCache_->objectForKey(key);
}

ImageCache::ImagePtr ImageCache::imageFromDiskCacheForKey(const std::string& key) {
  if (ImagePtr image = imageFromMemoryCacheForKey(key)) return image;
  ImagePtr image = diskImageForKey(key);
  if (image) memCache_->setObject(key, image, costOf(*image));
  return image;
}

ImageCache::ImagePtr ImageCache::diskImageForKey(const std::string& key) const {
  const std::optional<pf::Data> bytes = readWholeFile(cachePathForKey(key));
  if (!bytes) return nullptr;
  if (DataGif::sd_isGIF(*bytes)) return scaledImageForKey(key, ImageGif::sd_animatedGIFWithData(*bytes));
  const ImagePtr image = scaledImageForKey(key, pf::Image::withData(*bytes));
  return ImageForceDecode::decodedImageWithImage(image);
}

ImageCache::ImagePtr ImageCache::scaledImageForKey(const std::string& key, const ImagePtr& image) const {
  return ScaledImageForKey(key, image);
}

void ImageCache::queryDiskCacheForKey(const std::string& key, QueryCompletion done) {
  if (!done) return;
  if (key.empty()) return done(nullptr, ImageCacheType::None);
  if (ImagePtr image = imageFromMemoryCacheForKey(key)) return done(image, ImageCacheType::Memory);
  ioQueue_->async([self = shared_from_this(), key, done = std::move(done)] {
    ImagePtr image = self->diskImageForKey(key);
    if (image) self->memCache_->setObject(key, image, costOf(*image));
    pf::DispatchQueue::main()->async([image, done] { done(image, ImageCacheType::Disk); });
  });
}

void ImageCache::removeImageForKey(const std::string& key, bool fromDisk) {
  if (key.empty()) return;
  memCache_->removeObjectForKey(key);
  if (!fromDisk) return;
  ioQueue_->async([path = cachePathForKey(key)] {
    std::error_code ignored;
    fs::remove(path, ignored);
  });
}

void ImageCache::clearMemory() {
  memCache_->removeAllObjects();
}

void ImageCache::clearDisk() {
  ioQueue_->async([path = diskCachePath_] {
    std::error_code ignored;
    fs::remove_all(path, ignored);
    fs::create_directories(path, ignored);
  });
}

void ImageCache::cleanDisk() {
  ioQueue_->async([self = shared_from_this()] { self->cleanDiskNow(); });
}

void ImageCache::cleanDiskNow() {
  const fs::file_time_type expiry = fs::file_time_type::clock::now() - std::chrono::seconds(maxCacheAge_.load());
  std::vector<CachedFile> kept;
  std::uint64_t total = 0;
  std::error_code error;
  fs::recursive_directory_iterator entry(diskCachePath_, error);
  for (; !error && entry != fs::recursive_directory_iterator(); entry.increment(error)) {
    if (isHiddenEntry(entry->path())) {
      if (entry->is_directory(error)) entry.disable_recursion_pending();
      continue;
    }
    if (entry->is_directory(error)) continue;
    std::error_code ignored;
    const fs::file_time_type modified = entry->last_write_time(ignored);
    if (ignored) continue;
    if (modified <= expiry) {
      fs::remove(entry->path(), ignored);
      continue;
    }
    const std::uint64_t size = entry->file_size(ignored);
    total += ignored ? 0 : size;
    kept.push_back({entry->path(), modified, ignored ? 0 : size});
  }
  const std::uint64_t limit = maxCacheSize_;
  if (limit == 0 || total <= limit) return;
  const std::uint64_t target = limit / 2;
  std::sort(kept.begin(), kept.end(), [](const CachedFile& a, const CachedFile& b) { return a.modified < b.modified; });
  for (const CachedFile& file : kept) {
    std::error_code failed;
    if (!fs::remove(file.path, failed) || failed) continue;
    total -= file.size;
    if (total < target) break;
  }
}

std::uint64_t ImageCache::getSize() const {
  std::uint64_t size = 0;
  std::error_code error;
  fs::recursive_directory_iterator entry(diskCachePath_, error);
  for (; !error && entry != fs::recursive_directory_iterator(); entry.increment(error)) {
    std::error_code ignored;
    if (entry->is_regular_file(ignored)) size += entry->file_size(ignored);
  }
  return size;
}

int ImageCache::getDiskCount() const {
  int count = 0;
  std::error_code error;
  fs::recursive_directory_iterator entry(diskCachePath_, error);
  for (; !error && entry != fs::recursive_directory_iterator(); entry.increment(error)) ++count;
  return count;
}
