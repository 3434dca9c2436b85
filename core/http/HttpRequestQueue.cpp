#include "core/http/HttpRequestQueue.h"

#include <algorithm>
#include <vector>

#include "platform/foundation/Error.h"

namespace {

constexpr int kDefaultWidth = 4;

// Adds a signed amount to an unsigned counter without wrapping below 0.
std::uint64_t addClamped(std::atomic<std::uint64_t>& counter, long long amount) {
  std::uint64_t now = counter.load();
  std::uint64_t next = 0;
  do {
    if (amount >= 0) {
      next = now + static_cast<std::uint64_t>(amount);
    } else {
      const std::uint64_t magnitude = static_cast<std::uint64_t>(-(amount + 1)) + 1;
      next = now - std::min(now, magnitude);
    }
  } while (!counter.compare_exchange_weak(now, next));
  return next;
}

}  // namespace

HttpRequestQueue::HttpRequestQueue() {
  setMaxConcurrentOperationCount(kDefaultWidth);
  setSuspended(true);
}

HttpRequestQueue::Ptr HttpRequestQueue::queue() {
  return std::make_shared<HttpRequestQueue>();
}

HttpRequestQueue::Ptr HttpRequestQueue::copy() const {
  Ptr c = queue();
  {
    std::lock_guard lock(delegatesMutex_);
    c->delegate_ = delegate_;
    c->uploadProgressDelegate_ = uploadProgressDelegate_;
    c->downloadProgressDelegate_ = downloadProgressDelegate_;
  }
  c->requestDidStartSelector.set(requestDidStartSelector.get());
  c->requestDidReceiveResponseHeadersSelector.set(requestDidReceiveResponseHeadersSelector.get());
  c->requestWillRedirectSelector.set(requestWillRedirectSelector.get());
  c->requestDidFinishSelector.set(requestDidFinishSelector.get());
  c->requestDidFailSelector.set(requestDidFailSelector.get());
  c->queueDidFinishSelector.set(queueDidFinishSelector.get());
  c->shouldCancelAllRequestsOnFailure = shouldCancelAllRequestsOnFailure.load();
  c->showAccurateProgress = showAccurateProgress.load();
  c->userInfo.set(userInfo.get());
  return c;
}

HttpRequestQueue::Ptr HttpRequestQueue::self() {
  return std::static_pointer_cast<HttpRequestQueue>(shared_from_this());
}

void HttpRequestQueue::go() {
  setSuspended(false);
}

void HttpRequestQueue::reset() {
  cancelAllOperations();
  {
    std::lock_guard lock(delegatesMutex_);
    delegate_.reset();
    uploadProgressDelegate_.reset();
    downloadProgressDelegate_.reset();
  }
  requestDidStartSelector.set(nullptr);
  requestDidReceiveResponseHeadersSelector.set(nullptr);
  requestDidFailSelector.set(nullptr);
  requestDidFinishSelector.set(nullptr);
  queueDidFinishSelector.set(nullptr);
  setSuspended(true);
}

void HttpRequestQueue::cancelAllOperations() {
  bytesUploadedSoFar = 0;
  totalBytesToUpload = 0;
  bytesDownloadedSoFar = 0;
  totalBytesToDownload = 0;
  // A HEAD twin fails on behalf of its request: cancelled first, it ends both with a single report.
  std::vector<std::shared_ptr<pf::Operation>> cancelling = operations();
  std::stable_partition(cancelling.begin(), cancelling.end(),
                        [](const std::shared_ptr<pf::Operation>& operation) {
                          const auto request = std::dynamic_pointer_cast<HttpRequest>(operation);
                          return request && !request->mainRequest.get().expired();
                        });
  for (const auto& operation : cancelling) operation->cancel();
}

void HttpRequestQueue::addOperation(const std::shared_ptr<pf::Operation>& operation) {
  const auto request = std::dynamic_pointer_cast<HttpRequest>(operation);
  if (!request) {
    throw pf::ContractViolation(
        "Attempted to add an object that was not an HttpRequest to an HttpRequestQueue",
        "AttemptToAddInvalidRequest");
  }
  ++requestsCount;
  std::uint64_t upload = 1;
  std::uint64_t download = 1;
  bool needsHEAD = false;
  if (showAccurateProgress) {
    request->buildPostBody();
    needsHEAD = request->requestMethod() == "GET" && isSuspended();
    if (needsHEAD && request->shouldResetDownloadProgress) {
      resetProgressDelegate(downloadProgressDelegate());
      request->shouldResetDownloadProgress = false;
    }
    download = 0;
    upload = request->postLength;
  }
  totalBytesToUpload += upload;
  totalBytesToDownload += download;
  if (request->shouldResetUploadProgress) {
    resetProgressDelegate(uploadProgressDelegate());
    request->shouldResetUploadProgress = false;
  }
  request->showAccurateProgress = showAccurateProgress.load();
  const Ptr previousQueue = request->queue();
  request->setQueue(self());
  try {
    pf::OperationQueue::addOperation(request);
  } catch (...) {
    // Refused (already queued or started): leave the counts and the request as they were.
    --requestsCount;
    addClamped(totalBytesToUpload, -static_cast<long long>(upload));
    addClamped(totalBytesToDownload, -static_cast<long long>(download));
    request->setQueue(previousQueue);
    throw;
  }
  // The queue is suspended, so the request cannot start before it depends on its twin.
  if (needsHEAD) {
    const HttpRequest::Ptr head = request->HEADRequest();
    request->addDependency(head);
    addHEADOperation(head);
  }
}

void HttpRequestQueue::addHEADOperation(const std::shared_ptr<pf::Operation>& operation) {
  const auto request = std::dynamic_pointer_cast<HttpRequest>(operation);
  if (!request) return;
  request->setRequestMethod("HEAD");
  request->showAccurateProgress = true;
  request->setQueue(self());
  pf::OperationQueue::addOperation(request);
}

std::weak_ptr<HttpRequestDelegate> HttpRequestQueue::delegate() const {
  std::lock_guard lock(delegatesMutex_);
  return delegate_;
}

void HttpRequestQueue::setDelegate(std::weak_ptr<HttpRequestDelegate> newDelegate) {
  std::lock_guard lock(delegatesMutex_);
  delegate_ = std::move(newDelegate);
}

std::weak_ptr<HttpProgressDelegate> HttpRequestQueue::uploadProgressDelegate() const {
  std::lock_guard lock(delegatesMutex_);
  return uploadProgressDelegate_;
}

void HttpRequestQueue::setUploadProgressDelegate(std::weak_ptr<HttpProgressDelegate> newDelegate) {
  {
    std::lock_guard lock(delegatesMutex_);
    uploadProgressDelegate_ = newDelegate;
  }
  resetProgressDelegate(newDelegate);
}

std::weak_ptr<HttpProgressDelegate> HttpRequestQueue::downloadProgressDelegate() const {
  std::lock_guard lock(delegatesMutex_);
  return downloadProgressDelegate_;
}

void HttpRequestQueue::setDownloadProgressDelegate(std::weak_ptr<HttpProgressDelegate> newDelegate) {
  {
    std::lock_guard lock(delegatesMutex_);
    downloadProgressDelegate_ = newDelegate;
  }
  resetProgressDelegate(newDelegate);
}

bool HttpRequestQueue::implements(Optional operation) const {
  const std::shared_ptr<HttpRequestDelegate> target = delegate().lock();
  switch (operation) {
    case Optional::AuthenticationNeeded:
    case Optional::ProxyAuthenticationNeeded:
      return target && target->implements(operation);
    case Optional::WillRedirect:
      return requestWillRedirectSelector.get() && target && target->implements(operation);
    case Optional::DidReceiveData:
      return false;
  }
  return false;
}

void HttpRequestQueue::requestStarted(const HttpRequest::Ptr& request) {
  send(requestDidStartSelector.get(), request);
}

void HttpRequestQueue::request(const HttpRequest::Ptr& request,
                               const pf::Dictionary& didReceiveResponseHeaders) {
  const HeadersSelector selector = requestDidReceiveResponseHeadersSelector.get();
  const std::shared_ptr<HttpRequestDelegate> target = delegate().lock();
  if (selector && target) (target.get()->*selector)(request, didReceiveResponseHeaders);
}

void HttpRequestQueue::request(const HttpRequest::Ptr& request, const pf::Url& willRedirectToURL) {
  const RedirectSelector selector = requestWillRedirectSelector.get();
  const std::shared_ptr<HttpRequestDelegate> target = delegate().lock();
  if (selector && target) (target.get()->*selector)(request, willRedirectToURL);
}

void HttpRequestQueue::requestFinished(const HttpRequest::Ptr& request) {
  requestEnded(requestDidFinishSelector.get(), request);
}

void HttpRequestQueue::requestFailed(const HttpRequest::Ptr& request) {
  requestEnded(requestDidFailSelector.get(), request);
  if (shouldCancelAllRequestsOnFailure && requestsCount > 0) cancelAllOperations();
}

void HttpRequestQueue::requestEnded(RequestSelector selector, const HttpRequest::Ptr& request) {
  const int left = --requestsCount;
  send(selector, request);
  if (left != 0) return;
  const QueueSelector finished = queueDidFinishSelector.get();
  const std::shared_ptr<HttpRequestDelegate> target = delegate().lock();
  if (finished && target) (target.get()->*finished)(self());
}

void HttpRequestQueue::authenticationNeededForRequest(const HttpRequest::Ptr& request) {
  const std::shared_ptr<HttpRequestDelegate> target = delegate().lock();
  if (target && target->implements(Optional::AuthenticationNeeded))
    target->authenticationNeededForRequest(request);
}

void HttpRequestQueue::proxyAuthenticationNeededForRequest(const HttpRequest::Ptr& request) {
  const std::shared_ptr<HttpRequestDelegate> target = delegate().lock();
  if (target && target->implements(Optional::ProxyAuthenticationNeeded))
    target->proxyAuthenticationNeededForRequest(request);
}

void HttpRequestQueue::requestDidReceiveBytes(const HttpRequest::Ptr& request, long long bytes) {
  (void)request;
  const std::uint64_t soFar = addClamped(bytesDownloadedSoFar, bytes);
  updateProgressIndicator(downloadProgressDelegate(), soFar, totalBytesToDownload);
}

void HttpRequestQueue::requestDidSendBytes(const HttpRequest::Ptr& request, long long bytes) {
  (void)request;
  const std::uint64_t soFar = addClamped(bytesUploadedSoFar, bytes);
  updateProgressIndicator(uploadProgressDelegate(), soFar, totalBytesToUpload);
}

void HttpRequestQueue::requestIncrementDownloadSizeBy(const HttpRequest::Ptr& request, long long newLength) {
  (void)request;
  addClamped(totalBytesToDownload, newLength);
}

void HttpRequestQueue::requestIncrementUploadSizeBy(const HttpRequest::Ptr& request, long long newLength) {
  (void)request;
  addClamped(totalBytesToUpload, newLength);
}

void HttpRequestQueue::send(RequestSelector selector, const HttpRequest::Ptr& request) {
  const std::shared_ptr<HttpRequestDelegate> target = delegate().lock();
  if (selector && target) (target.get()->*selector)(request);
}

void HttpRequestQueue::resetProgressDelegate(const std::weak_ptr<HttpProgressDelegate>& indicator) {
  updateProgressIndicator(indicator, 0, 1);
}

void HttpRequestQueue::updateProgressIndicator(const std::weak_ptr<HttpProgressDelegate>& indicator,
                                               std::uint64_t progress, std::uint64_t total) {
  // Totals shrink when requests are cancelled or resume less than announced: keep within 0 to 1.
  HttpRequest::updateProgressIndicator(indicator, std::min(progress, total), total);
}
