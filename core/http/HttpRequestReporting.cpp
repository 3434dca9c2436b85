// Reporting an HttpRequest's events and progress to its delegate, handler blocks and queue, always on
// the main thread. Hand-offs wait only when the caller already is the main thread, so the thread that
// runs a request never blocks on the main thread.

#include "core/http/HttpRequest.h"
#include "core/http/HttpRequestQueue.h"

namespace {

std::recursive_mutex& progressLock() {
  static std::recursive_mutex guard;
  return guard;
}

void onMainThread(std::function<void()> block) {
  if (pf::RunLoop::isMainThread()) {
    block();
  } else {
    pf::RunLoop::main()->post(std::move(block));
  }
}

}  // namespace

std::recursive_mutex& HttpRequest::progressGuard() {
  return progressLock();
}

void HttpRequest::performBlockOnMainThread(std::function<void()> block) {
  onMainThread(std::move(block));
}

bool HttpRequest::isHEADRequestForAnother() const {
  return !mainRequest.get().expired();
}

std::shared_ptr<HttpRequestDelegate> HttpRequest::queueDelegate() const {
  return queue();
}

std::shared_ptr<HttpProgressDelegate> HttpRequest::queueProgressDelegate() const {
  return queue();
}

std::shared_ptr<HttpRequestDelegate> HttpRequest::redirectConfirmer() const {
  const std::shared_ptr<HttpRequestDelegate> own = delegate().lock();
  if (own && willRedirectSelector.get() && own->implements(HttpRequestDelegate::Optional::WillRedirect))
    return own;
  const std::shared_ptr<HttpRequestDelegate> queued = queueDelegate();
  if (queued && queued->implements(HttpRequestDelegate::Optional::WillRedirect)) return queued;
  return nullptr;
}

bool HttpRequest::hasDataHandler() const {
  if (blocks().dataReceived) return true;
  const std::shared_ptr<HttpRequestDelegate> own = delegate().lock();
  return own && didReceiveDataSelector.get() &&
         own->implements(HttpRequestDelegate::Optional::DidReceiveData);
}

// ---- events (main thread) ----

void HttpRequest::requestStarted() {
  if (error.get() || isHEADRequestForAnother()) return;
  const Ptr self = selfPtr();
  if (const auto own = delegate().lock(); own && didStartSelector.get())
    (own.get()->*didStartSelector.get())(self);
  if (const BasicBlock block = blocks().started) block();
  if (const auto queued = queueDelegate()) queued->requestStarted(self);
}

void HttpRequest::requestReceivedResponseHeaders(const pf::Dictionary& newResponseHeaders) {
  if (error.get() || isHEADRequestForAnother()) return;
  const Ptr self = selfPtr();
  if (const auto own = delegate().lock(); own && didReceiveResponseHeadersSelector.get()) {
    (own.get()->*didReceiveResponseHeadersSelector.get())(self, newResponseHeaders);
  }
  if (const HeadersBlock block = blocks().headersReceived) block(newResponseHeaders);
  if (const auto queued = queueDelegate()) queued->request(self, newResponseHeaders);
}

void HttpRequest::requestWillRedirectToURL(const pf::Url& newURL) {
  if (error.get() || isHEADRequestForAnother()) return;
  const Ptr self = selfPtr();
  const std::shared_ptr<HttpRequestDelegate> own = delegate().lock();
  if (own && willRedirectSelector.get() && own->implements(HttpRequestDelegate::Optional::WillRedirect)) {
    (own.get()->*willRedirectSelector.get())(self, newURL);
    return;
  }
  if (const auto queued = queueDelegate()) queued->request(self, newURL);
}

void HttpRequest::requestRedirected() {
  if (error.get() || isHEADRequestForAnother()) return;
  const Ptr self = selfPtr();
  if (const auto own = delegate().lock()) own->requestRedirected(self);
  if (const BasicBlock block = blocks().requestRedirected) block();
  if (const auto queued = queueDelegate()) queued->requestRedirected(self);
}

void HttpRequest::requestFinished() {
  if (error.get() || isHEADRequestForAnother()) return;
  if (isPACFileRequest) return reportFinished();
  const Ptr self = selfPtr();
  performBlockOnMainThread([self] { self->reportFinished(); });
}

void HttpRequest::reportFinished() {
  const Ptr self = selfPtr();
  if (const auto own = delegate().lock(); own && didFinishSelector.get())
    (own.get()->*didFinishSelector.get())(self);
  if (const BasicBlock block = blocks().completion) block();
  if (const auto queued = queueDelegate()) queued->requestFinished(self);
}

void HttpRequest::reportFailure() {
  const Ptr self = selfPtr();
  if (const auto own = delegate().lock(); own && didFailSelector.get())
    (own.get()->*didFailSelector.get())(self);
  if (const BasicBlock block = blocks().failure) block();
  if (const auto queued = queueDelegate()) queued->requestFailed(self);
}

void HttpRequest::passOnReceivedData(const pf::Data& data) {
  const Ptr self = selfPtr();
  const std::shared_ptr<HttpRequestDelegate> own = delegate().lock();
  if (own && didReceiveDataSelector.get() && own->implements(HttpRequestDelegate::Optional::DidReceiveData)) {
    (own.get()->*didReceiveDataSelector.get())(self, data);
  }
  if (const DataBlock block = blocks().dataReceived) block(data);
}

// ---- progress (request thread; the reports go to the main thread) ----

void HttpRequest::updateProgressIndicators() {
  if (isHEADRequestForAnother()) return;
  // Without accurate progress a request counts once, when it is complete.
  if (!showAccurateProgress && (!complete || updatedProgress)) return;
  updateUploadProgress();
  updateDownloadProgress();
}

void HttpRequest::updateDownloadProgress() {
  if (!responseHeaders.get() || needsRedirect || (contentLength == 0 && !complete)) return;
  const std::uint64_t soFar = totalBytesRead + partialDownloadSize;
  const std::uint64_t total = contentLength + partialDownloadSize;
  long long increment = 1;
  if (showAccurateProgress && contentLength > 0) {
    increment = static_cast<long long>(soFar) - static_cast<long long>(lastBytesRead);
  } else {
    updatedProgress = true;
  }
  lastBytesRead = soFar;
  if (increment == 0) return;
  const Ptr self = selfPtr();
  const auto progress = downloadProgressDelegate();
  const auto queued = queueProgressDelegate();
  const ProgressBlock block = blocks().bytesReceived;
  const bool accurate = showAccurateProgress && contentLength > 0;
  onMainThread([=] {
    if (queued) queued->requestDidReceiveBytes(self, increment);
    if (const auto indicator = progress.lock()) indicator->requestDidReceiveBytes(self, increment);
    if (block) block(static_cast<unsigned long long>(increment), total);
  });
  updateProgressIndicator(progress, accurate ? soFar : 1, accurate ? total : 1);
}

void HttpRequest::updateUploadProgress() {
  if (isCancelled() || totalBytesSent == 0) return;
  // What the first look finds sent but not everything is the platform's send buffer, not progress.
  if (uploadBufferSize == 0 && totalBytesSent != postLength) {
    uploadBufferSize = totalBytesSent;
    incrementUploadSizeBy(-static_cast<long long>(uploadBufferSize));
  }
  long long increment = 0;
  if (!showAccurateProgress) {
    increment = 1;
    updatedProgress = true;
  } else if (lastBytesSent > 0 || totalBytesSent == postLength) {
    increment = static_cast<long long>(totalBytesSent) - static_cast<long long>(lastBytesSent);
  }
  if (increment == 0) return;
  const Ptr self = selfPtr();
  const auto progress = uploadProgressDelegate();
  const auto queued = queueProgressDelegate();
  const ProgressBlock block = blocks().bytesSent;
  const std::uint64_t length = postLength;
  onMainThread([=] {
    if (queued) queued->requestDidSendBytes(self, increment);
    if (const auto indicator = progress.lock()) indicator->requestDidSendBytes(self, increment);
    if (block) block(static_cast<unsigned long long>(increment), length);
  });
  const std::uint64_t buffer = std::min(uploadBufferSize, length);
  updateProgressIndicator(progress, totalBytesSent - std::min(buffer, totalBytesSent.load()),
                          length - buffer);
}

void HttpRequest::incrementUploadSizeBy(long long length) {
  const Ptr self = selfPtr();
  const auto progress = uploadProgressDelegate();
  const auto queued = queueProgressDelegate();
  const SizeBlock block = blocks().uploadSizeIncremented;
  onMainThread([=] {
    if (queued) queued->requestIncrementUploadSizeBy(self, length);
    if (const auto indicator = progress.lock()) indicator->requestIncrementUploadSizeBy(self, length);
    if (block) block(length);
  });
}

void HttpRequest::incrementDownloadSizeBy(long long length) {
  const Ptr self = selfPtr();
  const auto progress = downloadProgressDelegate();
  const auto queued = queueProgressDelegate();
  const SizeBlock block = blocks().downloadSizeIncremented;
  onMainThread([=] {
    if (queued) queued->requestIncrementDownloadSizeBy(self, length);
    if (const auto indicator = progress.lock()) indicator->requestIncrementDownloadSizeBy(self, length);
    if (block) block(length);
  });
}

void HttpRequest::removeUploadProgressSoFar() {
  const Ptr self = selfPtr();
  const auto progress = uploadProgressDelegate();
  const auto queued = queueProgressDelegate();
  const long long taken = -static_cast<long long>(totalBytesSent.load());
  onMainThread([=] {
    if (queued) queued->requestDidSendBytes(self, taken);
    if (const auto indicator = progress.lock()) indicator->requestDidSendBytes(self, taken);
  });
  updateProgressIndicator(progress, 0, postLength);
}

void HttpRequest::updateProgressIndicator(const std::weak_ptr<HttpProgressDelegate>& indicator,
                                          unsigned long long withProgress, unsigned long long ofTotal) {
  if (indicator.expired()) return;
  onMainThread([indicator, withProgress, ofTotal] {
    std::lock_guard lock(progressLock());
    const auto target = indicator.lock();
    if (!target) return;
    target->setProgress(ofTotal == 0 ? 0.0f : static_cast<float>(withProgress) / static_cast<float>(ofTotal));
  });
}
