#include "ui/webimage/WebImageDownloader.h"

#include <algorithm>

#include "core/http/HttpDownloadCache.h"
#include "platform/foundation/FilePath.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Sandbox.h"

WebImageDownloader::Handle::Handle(std::weak_ptr<WebImageDownloader> downloader, std::string url,
                                   std::uint64_t id, std::shared_ptr<WebImageDownloaderOperation> operation,
                                   bool startedFetch)
    : downloader_(std::move(downloader)),
      url_(std::move(url)),
      id_(id),
      operation_(std::move(operation)),
      startedFetch_(startedFetch) {}

void WebImageDownloader::Handle::cancel() {
  if (const auto downloader = downloader_.lock()) downloader->removeRequester(url_, id_);
}

std::shared_ptr<WebImageDownloader> WebImageDownloader::sharedDownloader() {
  static std::once_flag once;
  static std::shared_ptr<WebImageDownloader> shared;
  std::call_once(once, [] { shared = create(); });
  return shared;
}

std::shared_ptr<WebImageDownloader> WebImageDownloader::create() {
  return std::shared_ptr<WebImageDownloader>(new WebImageDownloader);
}

WebImageDownloader::WebImageDownloader()
    : downloadQueue_(std::make_shared<pf::OperationQueue>()),
      barrierQueue_(pf::DispatchQueue::makeConcurrent(kBarrierQueueLabel)),
      HTTPHeaders_{{"Accept", "image/*"}} {
  downloadQueue_->setMaxConcurrentOperationCount(2);
}

WebImageDownloader::~WebImageDownloader() {
  downloadQueue_->cancelAllOperations();
}

std::shared_ptr<HttpDownloadCache> WebImageDownloader::urlCache() {
  // One per Caches folder for the process, shared by every downloader: setting a cache's folder empties
  // its session store, so it is set once.
  static std::mutex mutex;
  static std::map<std::string, std::shared_ptr<HttpDownloadCache>> caches;
  const std::string folder = pf::path::appendingPathComponent(pf::Sandbox::cachesPath(), kURLCacheFolder);
  std::lock_guard lock(mutex);
  const auto found = caches.find(folder);
  if (found != caches.end()) return found->second;
  auto cache = std::make_shared<HttpDownloadCache>();
  try {
    cache->setStoragePath(folder);
  } catch (const HttpDownloadCache::FolderError& error) {
    pf::logf("Pictures are fetched without a URL cache: %@", std::string(error.what()));
    cache.reset();
  }
  return caches[folder] = cache;
}

void WebImageDownloader::setValue(const std::optional<std::string>& value, const std::string& field) {
  std::lock_guard lock(settingsMutex_);
  if (value) {
    HTTPHeaders_[field] = *value;
  } else {
    HTTPHeaders_.erase(field);
  }
}

std::optional<std::string> WebImageDownloader::valueForHTTPHeaderField(const std::string& field) const {
  std::lock_guard lock(settingsMutex_);
  const auto found = HTTPHeaders_.find(field);
  if (found == HTTPHeaders_.end()) return std::nullopt;
  return found->second;
}

void WebImageDownloader::setMaxConcurrentDownloads(int count) {
  downloadQueue_->setMaxConcurrentOperationCount(count);
}

int WebImageDownloader::maxConcurrentDownloads() const {
  return downloadQueue_->maxConcurrentOperationCount();
}

WebImageDownloader::ExecutionOrder WebImageDownloader::executionOrder() const {
  std::lock_guard lock(settingsMutex_);
  return executionOrder_;
}

void WebImageDownloader::setExecutionOrder(ExecutionOrder order) {
  std::lock_guard lock(settingsMutex_);
  executionOrder_ = order;
}

std::shared_ptr<WebImageDownloader::Handle> WebImageDownloader::downloadImageWithURL(
    const std::optional<pf::Url>& url, int options, ProgressBlock progress, CompletedBlock completed) {
  if (!url) {
    if (completed) completed(nullptr, std::nullopt, nullptr, false);
    return nullptr;
  }
  const std::string key = url->absoluteString();
  std::shared_ptr<WebImageDownloaderOperation> operation;
  std::uint64_t id = 0;
  bool first = false;
  barrierQueue_->barrierSync([&] {
    Fetch& fetch = URLCallbacks_[key];
    operation = fetch.operation.lock();
    first = fetch.requesters.empty() || !operation;
    id = nextId_++;
    if (first) fetch = Fetch{nextId_++, {}, {}};
    fetch.requesters.push_back(Requester{id, std::move(progress), std::move(completed)});
    if (!first) return;
    operation = makeOperation(*url, options, fetch.id);
    fetch.operation = operation;
    enqueue(operation);
  });
  return std::make_shared<Handle>(weak_from_this(), key, id, operation, first);
}

std::shared_ptr<WebImageDownloaderOperation> WebImageDownloader::makeOperation(const pf::Url& url, int options,
                                                                           std::uint64_t fetchId) {
  WebImageDownloaderOperation::Request request{url, {}, urlCache()};
  {
    std::lock_guard lock(settingsMutex_);
    request.headers = HTTPHeaders_;
  }
  const std::weak_ptr<WebImageDownloader> weakSelf = weak_from_this();
  const std::string key = url.absoluteString();
  auto progress = [weakSelf, key, fetchId](std::uint64_t received, std::int64_t expected) {
    const auto self = weakSelf.lock();
    if (!self) return;
    for (const Requester& requester : self->requestersOf(key, fetchId)) {
      if (requester.progress) requester.progress(received, expected);
    }
  };
  auto completed = [weakSelf, key, fetchId](WebImageDownloaderOperation::ImagePtr image,
                                            std::optional<pf::Data> data, pf::ErrorPtr error, bool finished) {
    const auto self = weakSelf.lock();
    if (!self) return;
    const std::vector<Requester> requesters =
        finished ? self->takeRequesters(key, fetchId) : self->requestersOf(key, fetchId);
    for (const Requester& requester : requesters) {
      if (requester.completed) requester.completed(image, data, error, finished);
    }
  };
  auto cancelled = [weakSelf, key, fetchId] {
    if (const auto self = weakSelf.lock()) self->takeRequesters(key, fetchId);
  };
  return std::make_shared<WebImageDownloaderOperation>(std::move(request), options, std::move(progress),
                                                       std::move(completed), std::move(cancelled));
}

void WebImageDownloader::enqueue(const std::shared_ptr<WebImageDownloaderOperation>& operation) {
  std::shared_ptr<WebImageDownloaderOperation> previous;
  {
    std::lock_guard lock(settingsMutex_);
    if (executionOrder_ == ExecutionOrder::LIFO) previous = lastAddedOperation_.lock();
    lastAddedOperation_ = operation;
  }
  // Newest first: the one added before waits for this one.
  if (previous && !previous->isExecuting() && !previous->isFinished()) previous->addDependency(operation);
  downloadQueue_->addOperation(operation);
}

std::vector<WebImageDownloader::Requester> WebImageDownloader::requestersOf(const std::string& url,
                                                                            std::uint64_t fetchId) {
  std::vector<Requester> requesters;
  barrierQueue_->sync([&] {
    const auto found = URLCallbacks_.find(url);
    if (found != URLCallbacks_.end() && found->second.id == fetchId) requesters = found->second.requesters;
  });
  return requesters;
}

std::vector<WebImageDownloader::Requester> WebImageDownloader::takeRequesters(const std::string& url,
                                                                              std::uint64_t fetchId) {
  std::vector<Requester> requesters;
  barrierQueue_->barrierSync([&] {
    const auto found = URLCallbacks_.find(url);
    if (found == URLCallbacks_.end() || found->second.id != fetchId) return;
    requesters = std::move(found->second.requesters);
    URLCallbacks_.erase(found);
  });
  return requesters;
}

void WebImageDownloader::removeRequester(const std::string& url, std::uint64_t id) {
  std::shared_ptr<WebImageDownloaderOperation> abandoned;
  barrierQueue_->barrierSync([&] {
    const auto found = URLCallbacks_.find(url);
    if (found == URLCallbacks_.end()) return;
    std::erase_if(found->second.requesters, [id](const Requester& requester) { return requester.id == id; });
    if (!found->second.requesters.empty()) return;
    abandoned = found->second.operation.lock();
    URLCallbacks_.erase(found);
  });
  // Outside the barrier: the operation's cancel comes back here.
  if (abandoned) abandoned->cancel();
}

std::size_t WebImageDownloader::requesterCountForURL(const pf::Url& url) {
  std::size_t count = 0;
  barrierQueue_->sync([&] {
    const auto found = URLCallbacks_.find(url.absoluteString());
    if (found != URLCallbacks_.end()) count = found->second.requesters.size();
  });
  return count;
}
