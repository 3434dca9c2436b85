#include "ui/webimage/WebImageDownloaderOperation.h"

#include "core/http/HttpDownloadCache.h"
#include "core/http/HttpRequest.h"
#include "core/http/HttpRequestError.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/IncrementalImageSource.h"
#include "platform/net/UrlError.h"
#include "ui/webimage/DataGif.h"
#include "ui/webimage/ImageForceDecode.h"
#include "ui/webimage/ImageGif.h"
#include "ui/webimage/ScaledImageForKey.h"
#include "ui/webimage/WebImageDownloaderOptions.h"

namespace {

// The mode the operation's thread runs its request in: nothing else of that thread's loop runs meanwhile.
constexpr char kDownloadMode[] = "WebImageDownloaderRunLoopMode";

pf::ErrorPtr statusError(int status) {
  return std::make_shared<pf::Error>(pf::UrlError::kDomain, status);
}

}  // namespace

// What the operation's thread has seen of its request so far.
class WebImageDownloaderOperation::Transfer {
 public:
  int status = 0;
  std::uint64_t received = 0;
  pf::ErrorPtr failure;
  pf::IncrementalImageSource source;
};

WebImageDownloaderOperation::WebImageDownloaderOperation(Request request, int options, ProgressBlock progress,
                                                         CompletedBlock completed, CancelBlock cancelled)
    : request_(std::move(request)),
      options_(options),
      callbacks_{std::move(progress), std::move(completed), std::move(cancelled)} {}

WebImageDownloaderOperation::~WebImageDownloaderOperation() = default;

pf::ErrorPtr WebImageDownloaderOperation::zeroPixelsError() {
  return pf::Error::make(kErrorDomain, 0, "Downloaded image has 0 pixels");
}

std::shared_ptr<HttpRequest> WebImageDownloaderOperation::makeHttpRequest() const {
  const bool useCache = (options_ & WebImageDownloaderUseNSURLCache) && request_.urlCache;
  const int policy = useCache ? HttpDownloadCache::kAskServerWhenStale
                              : HttpDownloadCache::kNeverReadFromCache | HttpDownloadCache::kNeverWriteToCache;
  auto http = HttpRequest::requestWithURL(request_.url, request_.urlCache, policy);
  http->timeOutSeconds = kTimeoutSeconds;
  http->useCookiePersistence = false;
  http->maxResponseDataSize = kMaxImageBytes;
  for (const auto& [name, value] : request_.headers) http->addRequestHeader(name, value);
  return http;
}

void WebImageDownloaderOperation::main() {
  if (isCancelled()) return reset();
  if (std::optional<pf::ErrorPtr> offline = pf::UrlError::unreachableError(request_.url)) {
    complete(nullptr, std::nullopt, *offline);
    return reset();
  }
  const std::shared_ptr<HttpRequest> http = makeHttpRequest();
  reportProgress(0, -1);
  const auto self = std::static_pointer_cast<WebImageDownloaderOperation>(shared_from_this());
  pf::NotificationCenter::defaultCenter().post(kStartNotification, self);
  run(http);
  finishWith(http);
}

void WebImageDownloaderOperation::run(const std::shared_ptr<HttpRequest>& http) {
  const std::shared_ptr<pf::RunLoop> loop = pf::RunLoop::current();
  {
    // Held while the request starts, so a cancel from another thread finds it bound to this loop.
    std::lock_guard start(http->cancelledLock());
    {
      std::lock_guard lock(mutex_);
      if (isCancelled()) return;
      http_ = http;
    }
    http->isSynchronous = true;
    http->runLoopMode = kDownloadMode;
    http->inProgress = true;
    http->main();
  }
  Transfer transfer;
  while (!http->complete) {
    loop->runUntilTrue([&] {
      return http->complete || http->responseStatusCode != transfer.status || http->totalBytesRead != transfer.received;
    }, 3600, kDownloadMode);
    if (http->responseStatusCode != transfer.status) {
      transfer.status = http->responseStatusCode;
      if (transfer.status >= 400) {
        transfer.failure = statusError(transfer.status);
      } else if (http->contentLength > kMaxImageBytes) {
        transfer.failure = zeroPixelsError();
      } else {
        expectedSize_ = static_cast<std::int64_t>(http->contentLength.load());
        reportProgress(0, expectedSize_);
      }
      if (transfer.failure) http->clearDelegatesAndCancel();
    }
    if (http->totalBytesRead != transfer.received) {
      transfer.received = http->totalBytesRead;
      if (transfer.failure || http->complete) continue;
      if (wantsPartials() && transfer.received < static_cast<std::uint64_t>(expectedSize_)) {
        if (const std::optional<pf::Data> bytes = http->rawResponseData.get()) {
          transfer.source.update(*bytes);
          if (auto bitmap = transfer.source.partialBitmap()) showPartial(bitmap);
        }
      }
      reportProgress(transfer.received, expectedSize_);
    }
  }
  http->inProgress = false;
  if (transfer.failure) http->error.set(transfer.failure);
}

void WebImageDownloaderOperation::finishWith(const std::shared_ptr<HttpRequest>& http) {
  if (isCancelled()) return reset();
  pf::NotificationCenter::defaultCenter().post(kStopNotification);
  const pf::ErrorPtr failure = http->error.get();
  if (failure) {
    pf::ErrorPtr reported = failure;
    if (failure->domain() == NetworkRequestErrorDomain) {
      const auto code = static_cast<HttpRequestErrorCode>(failure->code());
      if (pf::UrlError::isUnreachable(request_.url)) {
        reported = pf::UrlError::notConnectedToInternet();
      } else if (code == HttpRequestErrorCode::TimedOut) {
        reported = pf::UrlError::make(pf::UrlError::kTimedOut, "The request timed out.");
      } else if (code == HttpRequestErrorCode::ConnectionFailure) {
        reported = pf::UrlError::make(pf::UrlError::kCannotConnectToHost, "Could not connect to the server.");
      } else if (code == HttpRequestErrorCode::ResponseTooLarge) {
        reported = zeroPixelsError();
      }
    }
    complete(nullptr, std::nullopt, reported);
  } else if (http->responseStatusCode >= 400) {
    complete(nullptr, std::nullopt, statusError(http->responseStatusCode));
  } else if ((options_ & WebImageDownloaderIgnoreCachedResponse) && http->didUseCachedResponse) {
    complete(nullptr, std::nullopt, nullptr);
  } else {
    std::optional<pf::Data> bytes = http->takeResponseData();
    ImagePtr image = bytes ? decodeFinal(*bytes) : nullptr;
    if (!image || image->size().width <= 0 || image->size().height <= 0) {
      complete(nullptr, std::nullopt, zeroPixelsError());
    } else {
      complete(std::move(image), std::move(bytes), nullptr);
    }
  }
  reset();
}

WebImageDownloaderOperation::ImagePtr WebImageDownloaderOperation::decodeFinal(const pf::Data& bytes) const {
  const std::string key = request_.url.absoluteString();
  if (DataGif::sd_isGIF(bytes)) return ScaledImageForKey(key, ImageGif::sd_animatedGIFWithData(bytes));
  return ImageForceDecode::decodedImageWithImage(ScaledImageForKey(key, pf::Image::withData(bytes)));
}

bool WebImageDownloaderOperation::wantsPartials() const {
  if (!(options_ & WebImageDownloaderProgressiveDownload) || expectedSize_ <= 0) return false;
  std::lock_guard lock(mutex_);
  return static_cast<bool>(callbacks_.completed);
}

void WebImageDownloaderOperation::showPartial(const std::shared_ptr<const pf::Bitmap>& bitmap) {
  const std::string key = request_.url.absoluteString();
  ImagePtr image = ImageForceDecode::decodedImageWithImage(ScaledImageForKey(key, pf::Image::withBitmap(bitmap)));
  const auto self = std::static_pointer_cast<WebImageDownloaderOperation>(shared_from_this());
  pf::DispatchQueue::main()->async([self, image] {
    CompletedBlock completed;
    {
      std::lock_guard lock(self->mutex_);
      completed = self->callbacks_.completed;
    }
    if (completed) completed(image, std::nullopt, nullptr, false);
  });
}

void WebImageDownloaderOperation::complete(ImagePtr image, std::optional<pf::Data> data, pf::ErrorPtr error) {
  CompletedBlock completed;
  {
    std::lock_guard lock(mutex_);
    completed = callbacks_.completed;
  }
  if (completed) completed(std::move(image), std::move(data), std::move(error), true);
}

void WebImageDownloaderOperation::reportProgress(std::uint64_t received, std::int64_t expected) {
  ProgressBlock progress;
  {
    std::lock_guard lock(mutex_);
    progress = callbacks_.progress;
  }
  if (progress) progress(received, expected);
}

void WebImageDownloaderOperation::cancel() {
  if (isFinished()) return;
  pf::Operation::cancel();
  CancelBlock cancelled;
  std::shared_ptr<HttpRequest> http;
  {
    std::lock_guard lock(mutex_);
    cancelled = callbacks_.cancelled;
    http = http_;
  }
  if (cancelled) cancelled();
  if (http) {
    http->clearDelegatesAndCancel();
    const auto self = std::static_pointer_cast<WebImageDownloaderOperation>(shared_from_this());
    pf::NotificationCenter::defaultCenter().post(kStopNotification, self);
  }
  reset();
}

void WebImageDownloaderOperation::reset() {
  std::lock_guard lock(mutex_);
  callbacks_ = Callbacks{};
  http_.reset();
}
