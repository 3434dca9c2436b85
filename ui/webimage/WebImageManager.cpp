#include "ui/webimage/WebImageManager.h"

#include <algorithm>

#include "platform/foundation/DispatchQueue.h"
#include "platform/net/UrlError.h"
#include "ui/webimage/DataGif.h"
#include "ui/webimage/WebImageDownloaderOptions.h"

std::shared_ptr<WebImageManager> WebImageManager::sharedManager() {
  static std::once_flag once;
  static std::shared_ptr<WebImageManager> shared;
  std::call_once(once, [] { shared = create(); });
  return shared;
}

std::shared_ptr<WebImageManager> WebImageManager::create() {
  return std::shared_ptr<WebImageManager>(new WebImageManager);
}

WebImageManager::WebImageManager()
    : imageCache_(ImageCache::sharedImageCache()), imageDownloader_(WebImageDownloader::create()) {}

std::string WebImageManager::cacheKeyForURL(const pf::Url& url) const {
  std::lock_guard lock(settingsMutex_);
  return cacheKeyFilter_ ? cacheKeyFilter_(url) : url.absoluteString();
}

void WebImageManager::setCacheKeyFilter(CacheKeyFilter filter) {
  std::lock_guard lock(settingsMutex_);
  cacheKeyFilter_ = std::move(filter);
}

std::weak_ptr<WebImageManagerDelegate> WebImageManager::delegate() const {
  std::lock_guard lock(settingsMutex_);
  return delegate_;
}

void WebImageManager::setDelegate(std::weak_ptr<WebImageManagerDelegate> delegate) {
  std::lock_guard lock(settingsMutex_);
  delegate_ = std::move(delegate);
}

std::shared_ptr<ImageCache> WebImageManager::imageCache() const {
  std::lock_guard lock(settingsMutex_);
  return imageCache_;
}

void WebImageManager::setImageCache(std::shared_ptr<ImageCache> cache) {
  std::lock_guard lock(settingsMutex_);
  imageCache_ = std::move(cache);
}

bool WebImageManager::hasFailed(const pf::Url& url) const {
  std::lock_guard lock(failedMutex_);
  return failedURLs_.contains(url.absoluteString());
}

bool WebImageManager::isRunning() const {
  return runningOperationCount() > 0;
}

std::size_t WebImageManager::runningOperationCount() const {
  std::lock_guard lock(runningMutex_);
  return runningOperations_.size();
}

std::shared_ptr<WebImageCombinedOperation> WebImageManager::downloadWithURL(const std::string& url, int options,
                                                                            ProgressBlock progress,
                                                                            CompletedBlock completed) {
  return downloadWithURL(pf::Url::parse(url), options, std::move(progress), std::move(completed));
}

std::shared_ptr<WebImageCombinedOperation> WebImageManager::downloadWithURL(const std::optional<pf::Url>& url,
                                                                            int options, ProgressBlock progress,
                                                                            CompletedBlock completed) {
  auto operation = std::make_shared<WebImageCombinedOperation>();
  if (!url || !completed) {
    if (completed) completed(nullptr, nullptr, ImageCacheType::None, false);
    return operation;
  }
  {
    std::lock_guard lock(runningMutex_);
    runningOperations_.push_back(operation);
  }
  const std::weak_ptr<WebImageManager> weakSelf = weak_from_this();
  const WebImageCombinedOperation* identity = operation.get();
  operation->setCancelBlock([weakSelf, identity] {
    if (const auto self = weakSelf.lock()) self->removeRunning(identity);
  });
  auto load = std::make_shared<Load>(
      Load{*url, cacheKeyForURL(*url), options, std::move(progress), std::move(completed), operation, imageCache()});
  load->cache->queryDiskCacheForKey(load->key, [weakSelf, load](ImagePtr cached, ImageCacheType cacheType) {
    if (const auto self = weakSelf.lock()) self->cacheAnswered(load, std::move(cached), cacheType);
  });
  return operation;
}

void WebImageManager::cacheAnswered(const std::shared_ptr<Load>& load, ImagePtr cached, ImageCacheType cacheType) {
  if (load->operation->isCancelled()) return;
  const bool refresh = load->options & WebImageRefreshCached;
  // A URL that failed before is refused only here, after the cache had its say.
  const bool refused = !(load->options & WebImageRetryFailed) && hasFailed(load->url);
  if ((!cached || refresh) && !refused && delegateAllowsDownload(load->url)) {
    if (cached) load->completed(cached, nullptr, cacheType, true);
    return startDownload(load, cached);
  }
  // Off the running list before the completion runs: a caller checking from there sees it ended.
  removeRunning(load->operation.get());
  if (cached) {
    load->completed(cached, nullptr, cacheType, true);
  } else {
    load->completed(nullptr, nullptr, ImageCacheType::None, !refused);
  }
}

bool WebImageManager::delegateAllowsDownload(const pf::Url& url) {
  const auto owner = delegate().lock();
  if (!owner) return true;
  return owner->imageManager(*this, url).value_or(true);
}

int WebImageManager::downloaderOptions(int options, bool cachedImageFound) {
  int bits = 0;
  if (options & WebImageLowPriority) bits |= WebImageDownloaderLowPriority;
  if (options & WebImageProgressiveDownload) bits |= WebImageDownloaderProgressiveDownload;
  if (options & WebImageRefreshCached) bits |= WebImageDownloaderUseNSURLCache;
  if ((options & WebImageRefreshCached) && cachedImageFound) {
    bits &= ~WebImageDownloaderProgressiveDownload;
    bits |= WebImageDownloaderIgnoreCachedResponse;
  }
  return bits;
}

void WebImageManager::startDownload(const std::shared_ptr<Load>& load, const ImagePtr& cached) {
  const std::weak_ptr<WebImageManager> weakSelf = weak_from_this();
  const bool hadCached = cached != nullptr;
  const auto handle = imageDownloader_->downloadImageWithURL(
      load->url, downloaderOptions(load->options, hadCached), load->progress,
      [weakSelf, load, hadCached](ImagePtr image, std::optional<pf::Data> data, pf::ErrorPtr error, bool finished) {
        if (const auto self = weakSelf.lock()) self->downloadEnded(load, hadCached, std::move(image), data, error, finished);
      });
  const WebImageCombinedOperation* identity = load->operation.get();
  load->operation->setCancelBlock([weakSelf, handle, identity] {
    if (handle) handle->cancel();
    if (const auto self = weakSelf.lock()) self->removeRunning(identity);
  });
}

void WebImageManager::downloadEnded(const std::shared_ptr<Load>& load, bool hadCached, ImagePtr image,
                                    const std::optional<pf::Data>& data, const pf::ErrorPtr& error, bool finished) {
  if (load->operation->isCancelled()) return;
  const bool toDisk = !(load->options & WebImageCacheMemoryOnly);
  const auto owner = delegate().lock();
  if (!error && image && owner && owner->transformsDownloadedImages()) {
    return deliverTransformed(load, std::move(image), data, finished);
  }
  if (error) {
    // Recorded first, so a caller that loads again from its completion is already refused.
    if (error->code() != pf::UrlError::kNotConnectedToInternet) {
      std::lock_guard lock(failedMutex_);
      failedURLs_.insert(load->url.absoluteString());
    }
  } else if (image && finished) {
    load->cache->storeImage(image, data, load->key, toDisk);
  }
  // Stored and off the running list before the completion runs: a caller checking from there finds the
  // load ended and its picture in the cache.
  if (finished) removeRunning(load->operation.get());
  if (error) {
    load->completed(nullptr, error, ImageCacheType::None, finished);
  } else if (!((load->options & WebImageRefreshCached) && hadCached && !image)) {
    // (Without a picture on a refresh, the server's answer came from the URL cache: the cached one stands.)
    load->completed(image, nullptr, ImageCacheType::None, finished);
  }
}

void WebImageManager::deliverTransformed(const std::shared_ptr<Load>& load, ImagePtr image,
                                         const std::optional<pf::Data>& data, bool finished) {
  const std::weak_ptr<WebImageManager> weakSelf = weak_from_this();
  pf::DispatchQueue::global(pf::DispatchQueue::Priority::High)->async([weakSelf, load, image, data, finished] {
    const auto self = weakSelf.lock();
    const auto owner = self ? self->delegate().lock() : nullptr;
    ImagePtr result = image;
    if (owner && !(data && DataGif::sd_isGIF(*data))) result = owner->imageManager(*self, image, load->url);
    pf::DispatchQueue::main()->async([weakSelf, load, result, image, data, finished] {
      if (load->operation->isCancelled()) return;
      if (result && finished) {
        const bool toDisk = !(load->options & WebImageCacheMemoryOnly);
        load->cache->storeImage(result, result == image ? data : std::nullopt, load->key, toDisk);
      }
      if (const auto self = weakSelf.lock(); self && finished) self->removeRunning(load->operation.get());
      load->completed(result, nullptr, ImageCacheType::None, finished);
    });
  });
}

void WebImageManager::cancelAll() {
  std::vector<OperationPtr> running;
  {
    std::lock_guard lock(runningMutex_);
    running.swap(runningOperations_);
  }
  for (const auto& operation : running) operation->cancel();
}

void WebImageManager::removeRunning(const WebImageCombinedOperation* operation) {
  std::lock_guard lock(runningMutex_);
  std::erase_if(runningOperations_, [operation](const OperationPtr& running) { return running.get() == operation; });
}
