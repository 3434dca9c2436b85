#include "ui/webimage/WebImagePrefetcher.h"

#include <chrono>

#include "platform/foundation/Log.h"

namespace {

double secondsNow() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

std::shared_ptr<WebImagePrefetcher> WebImagePrefetcher::sharedImagePrefetcher() {
  static std::once_flag once;
  static std::shared_ptr<WebImagePrefetcher> shared;
  std::call_once(once, [] { shared = create(); });
  return shared;
}

std::shared_ptr<WebImagePrefetcher> WebImagePrefetcher::create() {
  return std::shared_ptr<WebImagePrefetcher>(new WebImagePrefetcher);
}

WebImagePrefetcher::WebImagePrefetcher() : manager_(WebImageManager::create()) {
  setMaxConcurrentDownloads(3);
}

int WebImagePrefetcher::options() const {
  std::lock_guard lock(mutex_);
  return options_;
}

void WebImagePrefetcher::setOptions(int options) {
  std::lock_guard lock(mutex_);
  options_ = options;
}

unsigned WebImagePrefetcher::maxConcurrentDownloads() const {
  return static_cast<unsigned>(manager_->imageDownloader()->maxConcurrentDownloads());
}

void WebImagePrefetcher::setMaxConcurrentDownloads(unsigned count) {
  manager_->imageDownloader()->setMaxConcurrentDownloads(static_cast<int>(count));
}

unsigned WebImagePrefetcher::requestedCount() const {
  std::lock_guard lock(mutex_);
  return requestedCount_;
}

unsigned WebImagePrefetcher::finishedCount() const {
  std::lock_guard lock(mutex_);
  return finishedCount_;
}

unsigned WebImagePrefetcher::skippedCount() const {
  std::lock_guard lock(mutex_);
  return skippedCount_;
}

void WebImagePrefetcher::prefetchURLs(std::vector<pf::Url> urls, CompletionBlock completion) {
  cancelPrefetching();
  std::uint64_t generation = 0;
  {
    std::lock_guard lock(mutex_);
    startedTime_ = secondsNow();
    prefetchURLs_ = std::move(urls);
    completionBlock_ = std::move(completion);
    generation = generation_;
  }
  // startNext may finish a URL at once (a memory hit, a refused URL) and start the next itself.
  const unsigned width = maxConcurrentDownloads();
  for (unsigned started = 0; started < width; ++started) startNext(generation);
}

void WebImagePrefetcher::cancelPrefetching() {
  {
    std::lock_guard lock(mutex_);
    ++generation_;
    prefetchURLs_.clear();
    requestedCount_ = finishedCount_ = skippedCount_ = 0;
    completionBlock_ = nullptr;
  }
  manager_->cancelAll();
}

void WebImagePrefetcher::startNext(std::uint64_t generation) {
  std::optional<pf::Url> url;
  int options = 0;
  {
    std::lock_guard lock(mutex_);
    if (generation != generation_ || requestedCount_ >= prefetchURLs_.size()) return;
    url = prefetchURLs_[requestedCount_++];
    options = options_;
  }
  const std::weak_ptr<WebImagePrefetcher> weakSelf = weak_from_this();
  manager_->downloadWithURL(url, options, nullptr,
                            [weakSelf, generation](WebImageManager::ImagePtr image, pf::ErrorPtr error,
                                                   ImageCacheType, bool finished) {
                              const auto self = weakSelf.lock();
                              // Partial pictures are not an end; a refusal (no picture, no error) is.
                              if (!self || (!finished && (image || error))) return;
                              self->loadEnded(generation, image != nullptr);
                            });
}

void WebImagePrefetcher::loadEnded(std::uint64_t generation, bool gotImage) {
  CompletionBlock completion;
  unsigned finished = 0, skipped = 0;
  bool startAnother = false;
  {
    std::lock_guard lock(mutex_);
    if (generation != generation_) return;
    ++finishedCount_;
    const auto total = static_cast<unsigned>(prefetchURLs_.size());
    if (gotImage) {
      pf::logf("Prefetched %d out of %d", finishedCount_, total);
    } else {
      pf::logf("Prefetched %d out of %d (Failed)", finishedCount_, total);
      ++skippedCount_;
    }
    if (total > requestedCount_) {
      startAnother = true;
    } else if (finishedCount_ == requestedCount_) {
      pf::logf("Finished prefetching (%d successful, %d skipped, timeElasped %.2f)", total - skippedCount_,
               skippedCount_, secondsNow() - startedTime_);
      completion = std::move(completionBlock_);
      completionBlock_ = nullptr;
      finished = finishedCount_;
      skipped = skippedCount_;
    }
  }
  if (startAnother) startNext(generation);
  if (completion) completion(finished, skipped);
}
