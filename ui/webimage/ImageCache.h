#pragma once
// The two-level store of pictures fetched by URL: a memory level bounded by cost (width x height x
// scale of each picture) and a disk folder with one file per picture, named by the 32 lower-case hex
// digits of the MD5 of its key and holding the downloaded bytes (or a JPEG of the picture). Files may
// vanish at any time (clearing the caches empties the folder by name): a missing file is a miss, and
// the folder is made again before each write.
//
// Threads: every member works from any thread. Disk writes, deletions, cleaning and asynchronous reads
// run one at a time on the serial ioQueue, in the order they were asked for; imageFromDiskCacheForKey,
// diskImageForKey, getSize and getDiskCount read the disk on the caller's thread. A query answers a
// memory hit on the caller's thread before it returns, anything else on the main queue.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/MemoryCache.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Value.h"
#include "platform/graphics/Image.h"
#include "ui/webimage/ImageCacheType.h"

class ImageCache : public std::enable_shared_from_this<ImageCache> {
 public:
  using ImagePtr = std::shared_ptr<const pf::Image>;
  using MemCache = pf::MemoryCache<const pf::Image>;
  using QueryCompletion = std::function<void(ImagePtr image, ImageCacheType cacheType)>;

  static constexpr char kNamespacePrefix[] = "com.tessavorn.WebImageCache.";
  static constexpr char kDefaultNamespaceFolder[] = "com.tessavorn.WebImageCache.default";
  static constexpr char kIoQueueLabel[] = "com.tessavorn.WebImageCache";
  static constexpr std::int32_t kDefaultMaxCacheAge = 60 * 60 * 24 * 7;
  // The memory level's budget in cost units: 2^24 is 64 MB of pixels at scale 1.
  static constexpr std::size_t kDefaultMemoryCostLimit = 1u << 24;

  // Caches/<kDefaultNamespaceFolder>.
  static std::string defaultDiskCachePath();
  // Made once per process, in the Caches folder of that moment.
  static std::shared_ptr<ImageCache> sharedImageCache();

  // The namespace "default"; the folder is Caches/<kNamespacePrefix><namespace>.
  static std::shared_ptr<ImageCache> create(const std::string& nameSpace = "default");
  ~ImageCache();
  ImageCache(const ImageCache&) = delete;
  ImageCache& operator=(const ImageCache&) = delete;

  std::string cachePathForKey(const std::string& key) const;

  // Into memory at once; with toDisk, the bytes (or, without any, a JPEG of the picture at quality 1)
  // into the key's file on ioQueue. Nothing for a null picture or an empty key.
  void storeImage(const ImagePtr& image, const std::optional<pf::Data>& imageData, const std::string& key,
                  bool toDisk);
  void storeImage(const ImagePtr& image, const std::string& key, bool toDisk = true);

  ImagePtr imageFromMemoryCacheForKey(const std::string& key);
  // Memory, else the file read on the caller's thread (a hit then goes into memory).
  ImagePtr imageFromDiskCacheForKey(const std::string& key);
  // The file alone, scaled by its key and decoded; nothing goes into memory.
  ImagePtr diskImageForKey(const std::string& key) const;
  ImagePtr scaledImageForKey(const std::string& key, const ImagePtr& image) const;

  // A memory hit: done(picture, Memory) before returning. Otherwise the file is read on ioQueue and
  // done(picture or null, Disk) runs on the main queue. An empty key: done(null, None) at once.
  void queryDiskCacheForKey(const std::string& key, QueryCompletion done);

  void removeImageForKey(const std::string& key, bool fromDisk = true);
  void clearMemory();
  // Deletes the folder and makes it again, on ioQueue.
  void clearDisk();
  // On ioQueue: deletes files at least maxCacheAge seconds old, then, past maxCacheSize, the oldest
  // files until less than half of it is left.
  void cleanDisk();
  // Bytes and entries below the folder, on the caller's thread.
  std::uint64_t getSize() const;
  int getDiskCount() const;

  std::int32_t maxCacheAge() const { return maxCacheAge_; }
  void setMaxCacheAge(std::int32_t seconds) { maxCacheAge_ = seconds; }
  // 0: no size limit.
  std::uint64_t maxCacheSize() const { return maxCacheSize_; }
  void setMaxCacheSize(std::uint64_t bytes) { maxCacheSize_ = bytes; }
  MemCache& memCache() { return *memCache_; }
  const std::string& diskCachePath() const { return diskCachePath_; }
  const std::shared_ptr<pf::DispatchQueue>& ioQueue() const { return ioQueue_; }

  // The memory level's cost of a picture.
  static std::size_t costOf(const pf::Image& image);

 private:
  ImageCache(const std::string& fullNamespace, std::string diskCachePath);
  void observeApplication();
  void writeFile(const ImagePtr& image, const std::optional<pf::Data>& imageData, const std::string& key);
  void cleanDiskNow();

  std::atomic<std::int32_t> maxCacheAge_{kDefaultMaxCacheAge};
  std::atomic<std::uint64_t> maxCacheSize_{0};
  std::unique_ptr<MemCache> memCache_;
  const std::string diskCachePath_;
  std::shared_ptr<pf::DispatchQueue> ioQueue_;
  pf::NotificationCenter::Observation memoryWarning_;
  pf::NotificationCenter::Observation willTerminate_;
};
