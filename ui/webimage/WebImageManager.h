#pragma once
// Loads one picture by URL: the memory level, then the disk level of its picture cache, then the
// network through its own downloader; stores what it downloads and remembers URLs whose download
// failed (except for want of a network, -1009), which it then no longer fetches without the retry
// option, though their cached pictures are still delivered. Each load answers a handle that cancels it.
//
// Where the completion runs: a refused load (no URL, no completion, a failed URL not cached) and a
// memory hit on the caller's thread before downloadWithURL returns (the refused one with finished
// false); a disk hit, a forbidden download, partial pictures and pictures a delegate transformed on the
// main queue; a download's result or error on its download thread. A cancelled load calls nothing more.
// Threads: every member works from any thread.

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/foundation/Error.h"
#include "platform/graphics/Image.h"
#include "platform/net/Url.h"
#include "ui/webimage/ImageCache.h"
#include "ui/webimage/ImageCacheType.h"
#include "ui/webimage/WebImageCombinedOperation.h"
#include "ui/webimage/WebImageDownloader.h"
#include "ui/webimage/WebImageManagerDelegate.h"
#include "ui/webimage/WebImageOptions.h"

class WebImageManager : public std::enable_shared_from_this<WebImageManager> {
 public:
  using ImagePtr = std::shared_ptr<const pf::Image>;
  using ProgressBlock = WebImageDownloader::ProgressBlock;
  using CompletedBlock = std::function<void(ImagePtr image, pf::ErrorPtr error, ImageCacheType cacheType, bool finished)>;
  using CacheKeyFilter = std::function<std::string(const pf::Url& url)>;

  static std::shared_ptr<WebImageManager> sharedManager();
  // The shared picture cache and a downloader of its own.
  static std::shared_ptr<WebImageManager> create();
  WebImageManager(const WebImageManager&) = delete;
  WebImageManager& operator=(const WebImageManager&) = delete;

  std::shared_ptr<WebImageCombinedOperation> downloadWithURL(const std::optional<pf::Url>& url, int options,
                                                             ProgressBlock progress, CompletedBlock completed);
  // A text that is no URL loads as no URL.
  std::shared_ptr<WebImageCombinedOperation> downloadWithURL(const std::string& url, int options,
                                                             ProgressBlock progress, CompletedBlock completed);
  void cancelAll();
  bool isRunning() const;
  std::size_t runningOperationCount() const;

  // The filter's key, else the URL's text.
  std::string cacheKeyForURL(const pf::Url& url) const;
  void setCacheKeyFilter(CacheKeyFilter filter);
  bool hasFailed(const pf::Url& url) const;

  std::weak_ptr<WebImageManagerDelegate> delegate() const;
  void setDelegate(std::weak_ptr<WebImageManagerDelegate> delegate);
  std::shared_ptr<ImageCache> imageCache() const;
  void setImageCache(std::shared_ptr<ImageCache> cache);
  const std::shared_ptr<WebImageDownloader>& imageDownloader() const { return imageDownloader_; }

 private:
  using OperationPtr = std::shared_ptr<WebImageCombinedOperation>;
  // One load's request, as its steps see it.
  struct Load {
    pf::Url url;
    std::string key;
    int options;
    ProgressBlock progress;
    CompletedBlock completed;
    OperationPtr operation;
    std::shared_ptr<ImageCache> cache;
  };

  WebImageManager();
  void cacheAnswered(const std::shared_ptr<Load>& load, ImagePtr cached, ImageCacheType cacheType);
  bool delegateAllowsDownload(const pf::Url& url);
  void startDownload(const std::shared_ptr<Load>& load, const ImagePtr& cached);
  void downloadEnded(const std::shared_ptr<Load>& load, bool hadCached, ImagePtr image,
                     const std::optional<pf::Data>& data, const pf::ErrorPtr& error, bool finished);
  void deliverTransformed(const std::shared_ptr<Load>& load, ImagePtr image, const std::optional<pf::Data>& data,
                          bool finished);
  void removeRunning(const WebImageCombinedOperation* operation);
  static int downloaderOptions(int options, bool cachedImageFound);

  mutable std::mutex settingsMutex_;
  std::weak_ptr<WebImageManagerDelegate> delegate_;
  std::shared_ptr<ImageCache> imageCache_;
  CacheKeyFilter cacheKeyFilter_;
  const std::shared_ptr<WebImageDownloader> imageDownloader_;
  mutable std::mutex failedMutex_;
  std::set<std::string> failedURLs_;
  mutable std::mutex runningMutex_;
  std::vector<OperationPtr> runningOperations_;
};
