// Running an HttpRequest: starting it synchronously or queued, preparing and opening the exchange, the
// status timer with its time-out, redirects, cancelling and failing.

#include <filesystem>
#include <typeinfo>

#include "core/http/BandwidthMeter.h"
#include "core/http/ConnectionPool.h"
#include "core/http/HttpRequest.h"
#include "core/http/RequestLogRedactor.h"
#include "core/http/RequestThread.h"
#include "core/http/ThrottledInputStream.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/OperationQueue.h"
#include "platform/net/HttpMessage.h"
#include "platform/net/HttpReadStream.h"

namespace {

constexpr char kSynchronousMode[] = "HttpRequestRunLoopMode";
constexpr double kStatusInterval = 0.25;
constexpr int kMaxRedirects = 5;
constexpr unsigned kStreamEvents = pf::HttpReadStream::kHasBytesAvailable |
                                   pf::HttpReadStream::kErrorOccurred | pf::HttpReadStream::kEndEncountered;

double now() {
  return pf::Date::now().seconds;
}

pf::ErrorPtr buildingError(const char* description) {
  return pf::Error::make(NetworkRequestErrorDomain,
                         static_cast<long>(HttpRequestErrorCode::InternalErrorWhileBuildingRequest),
                         description);
}

// Code 10: the exception's name as description, its reason as failure reason.
pf::ErrorPtr exceptionError(const std::string& name, const std::string& reason) {
  const long code = static_cast<long>(HttpRequestErrorCode::UnhandledException);
  const pf::Dictionary exceptionInfo{{"name", name}, {"reason", reason}};
  const auto underlying = std::make_shared<pf::Error>(NetworkRequestErrorDomain, code, exceptionInfo);
  return std::make_shared<pf::Error>(NetworkRequestErrorDomain, code,
                                     pf::Dictionary{{pf::kLocalizedDescriptionKey, name},
                                                    {pf::kLocalizedFailureReasonKey, reason},
                                                    {pf::kUnderlyingErrorKey, underlying}});
}

bool keepsRecordOnFailure(const pf::ErrorPtr& error) {
  if (!error || error->domain() != NetworkRequestErrorDomain) return false;
  const auto code = static_cast<HttpRequestErrorCode>(error->code());
  return code == HttpRequestErrorCode::Authentication || code == HttpRequestErrorCode::TooManyRedirects;
}

}  // namespace

HttpRequest::Ptr HttpRequest::selfPtr() {
  return std::static_pointer_cast<HttpRequest>(shared_from_this());
}

std::shared_ptr<pf::RunLoop> HttpRequest::threadForRequest(const Ptr& request) {
  (void)request;
  return RequestThread::runLoop();
}

std::shared_ptr<pf::OperationQueue> HttpRequest::sharedQueue() {
  static const std::shared_ptr<pf::OperationQueue> queue = [] {
    auto made = std::make_shared<pf::OperationQueue>();
    made->setMaxConcurrentOperationCount(4);
    return made;
  }();
  return queue;
}

void HttpRequest::performOnRequestThread(std::function<void()> block) {
  std::shared_ptr<pf::RunLoop> loop;
  std::string mode = pf::RunLoop::kDefaultMode;
  {
    std::lock_guard lock(cancelledLock_);
    loop = requestRunLoop_.lock();
    if (loop) mode = runLoopMode;
  }
  if (!loop) loop = threadForRequest(selfPtr());
  loop->post(std::move(block), mode);
}

// ---- starting ----

void HttpRequest::startSynchronous() {
  std::shared_ptr<pf::RunLoop> loop = pf::RunLoop::current();
  {
    std::lock_guard lock(cancelledLock_);
    isSynchronous = true;
    runLoopMode = kSynchronousMode;
    inProgress = true;
    requestRunLoop_ = loop;
  }
  if (!isCancelled() && !complete) {
    main();
    // Only this request's stream and timer run meanwhile: they are the only work in this mode.
    while (!complete) loop->runUntilTrue([this] { return complete.load(); }, 3600, kSynchronousMode);
  }
  inProgress = false;
  // The caller's loop no longer runs this mode: later work for the request goes to the request thread.
  std::lock_guard lock(cancelledLock_);
  requestRunLoop_.reset();
}

void HttpRequest::startAsynchronous() {
  sharedQueue()->addOperation(selfPtr());
}

void HttpRequest::main() {
  if (!isSynchronous && !RequestThread::isCurrent()) {
    inProgress = true;
    const Ptr self = selfPtr();
    threadForRequest(self)->post([self] { self->main(); }, pf::RunLoop::kDefaultMode);
    return;
  }
  std::lock_guard lock(cancelledLock_);
  requestRunLoop_ = pf::RunLoop::current();
  try {
    prepare();
  } catch (const pf::ContractViolation& e) {
    failWithError(exceptionError(e.name(), e.what()));
  } catch (const std::exception& e) {
    failWithError(exceptionError(typeid(e).name(), e.what()));
  }
}

void HttpRequest::prepare() {
  beginBackgroundTask();
  if (error.get()) {
    complete = true;
    markAsFinished();
    return;
  }
  complete = false;
  didUseCachedResponse = false;
  if (!url_) return failWithError(unableToCreateRequestError());
  if (!isHEADRequestForAnother()) {
    buildPostBody();
    if (error.get()) return;
  }
  if (requestMethod_ != "GET") downloadCache.set({});
  requestMessage = pf::HttpMessage::makeRequest(
      requestMethod_, *url_, useHTTPVersionOne ? pf::HttpMessage::kVersion1_0 : pf::HttpMessage::kVersion1_1);
  if (!requestMessage) return failWithError(unableToCreateRequestError());
  if (const Ptr main = mainRequest.get().lock()) main->buildRequestHeaders();
  buildRequestHeaders();
  if (error.get()) return;
  if (answerFromCacheBeforeSending()) return;
  applyAuthorizationHeader();
  for (const auto& [name, value] : requestHeaders.get().value_or(pf::Dictionary{})) {
    if (value.string()) requestMessage->setHeaderField(name, *value.string());
  }
  if (configureProxies()) startRequest();
}

std::shared_ptr<pf::InputStream> HttpRequest::makeBodyStream() {
  const Ptr self = selfPtr();
  const std::optional<std::string> file = postBodyFilePath.get();
  std::error_code ignored;
  if (shouldStreamPostDataFromDisk && file && std::filesystem::exists(*file, ignored)) {
    return ThrottledInputStream::inputStreamWithFileAtPath(compressedPostBodyFilePath.value_or(*file), self);
  }
  const std::optional<pf::Data> body = postBody.get();
  if (!body || body->empty()) return nullptr;
  const bool compressed = shouldCompressRequestBody && compressedPostBody;
  return ThrottledInputStream::inputStreamWithData(compressed ? *compressedPostBody : *body, self);
}

void HttpRequest::startRequest() {
  std::lock_guard lock(cancelledLock_);
  if (isCancelled()) return;
  const Ptr self = selfPtr();
  performBlockOnMainThread([self] { self->requestStarted(); });
  downloadComplete = false;
  complete = false;
  totalBytesRead = 0;
  lastBytesRead = 0;
  if (redirectCount == 0) originalURL.set(url_);
  if (totalBytesSent > 0) removeUploadProgressSoFar();
  lastBytesSent = 0;
  contentLength = 0;
  responseHeaders.set(std::nullopt);
  if (!downloadDestinationPath.get()) rawResponseData.set(pf::Data{});
  inflatedResponseData_.set(std::nullopt);
  readStreamIsScheduled = false;
  if (!requestMessage) return failWithError(buildingError("Unable to create read stream"));

  readStream = pf::HttpReadStream::make(requestMessage, makeBodyStream());
  if (url_->scheme() == "https" && !validatesSecureCertificate) {
    pf::TlsSettings loose;
    loose.validatesCertificateChain = false;
    loose.allowsExpiredCertificates = true;
    loose.allowsAnyRoot = true;
    loose.peerName = "";
    readStream->setTlsSettings(loose);
  }
  applyProxyToStream();
  const std::shared_ptr<pf::HttpReadStream> setAside = attachConnection();
  const std::weak_ptr<HttpRequest> weakSelf = self;
  const std::weak_ptr<pf::HttpReadStream> weakStream = readStream;
  readStream->setClient(kStreamEvents, [weakSelf, weakStream](pf::HttpReadStream::Event event) {
    if (const Ptr request = weakSelf.lock()) request->handleEventOfStream(event, weakStream);
  });
  const std::optional<double> resume = BandwidthMeter::shared().throttleResumeDate();
  if (!resume || *resume <= now()) scheduleReadStream();
  if (!readStream->open()) {
    connectionCanBeReused = false;
    destroyReadStream();
    return failWithError(buildingError("Unable to start HTTP connection"));
  }
  if (setAside && setAside != readStream) setAside->close();

  if (!isHEADRequestForAnother()) {
    if (shouldResetUploadProgress) {
      incrementUploadSizeBy(showAccurateProgress ? static_cast<long long>(postLength.load()) : 1);
      updateProgressIndicator(uploadProgressDelegate(), 0, 1);
    }
    if (shouldResetDownloadProgress && partialDownloadSize == 0) {
      updateProgressIndicator(downloadProgressDelegate(), 0, 1);
    }
  }
  lastActivityTime = pf::Date::now();
  startStatusTimer();
}

void HttpRequest::startStatusTimer() {
  const std::weak_ptr<HttpRequest> weakSelf = selfPtr();
  auto timer = pf::Timer::make(kStatusInterval, true, [weakSelf](pf::Timer&) {
    const Ptr request = weakSelf.lock();
    if (!request) return;
    request->checkRequestStatus();
    if (!request->inProgress) request->setStatusTimer(nullptr);
  });
  pf::RunLoop::current()->addTimer(timer, runLoopMode);
  setStatusTimer(timer);
}

// ---- status timer ----

void HttpRequest::checkRequestStatus() {
  std::lock_guard lock(cancelledLock_);
  if (isCancelled() || complete) return;
  performThrottling();
  if (shouldTimeOut()) {
    if (retryCount < numberOfTimesToRetryOnTimeout) return retryAfterTimeOut();
    failWithError(requestTimedOutError());
    cancelLoad();
    complete = true;
    return;
  }
  if (!readStream) return;
  if (postLength > 0) {
    lastBytesSent = totalBytesSent;
    totalBytesSent = readStream->requestBytesWritten();
    if (totalBytesSent > lastBytesSent) {
      lastActivityTime = pf::Date::now();
      incrementBandwidthUsedInLastSecond(static_cast<unsigned long>(totalBytesSent - lastBytesSent));
    }
  }
  updateProgressIndicators();
}

bool HttpRequest::shouldTimeOut() {
  if (!readStream || !readStreamIsScheduled || !lastActivityTime || timeOutSeconds <= 0) return false;
  const double idle = now() - lastActivityTime->seconds;
  if (idle <= timeOutSeconds) return false;
  // The first buffer of a body leaves without showing as progress, so a body gets half as long again.
  if (postLength == 0 || (uploadBufferSize > 0 && totalBytesSent > uploadBufferSize)) return true;
  return idle > 1.5 * timeOutSeconds;
}

void HttpRequest::retryAfterTimeOut() {
  ++retryCount;
  // The stalled connection is not offered to anyone again, and the next attempt opens its files anew.
  connectionCanBeReused = false;
  dropConnection();
  connectionInfo = nullptr;
  destroyReadStream();
  closeDownloadStreams();
  refreshRangeForRetry();
  startRequest();
}

void HttpRequest::refreshRangeForRetry() {
  partialDownloadSize = 0;
  updatePartialDownloadSize();
  if (partialDownloadSize > 0) {
    const std::string range = pf::format("bytes=%llu-", partialDownloadSize.load());
    addRequestHeader("Range", range);
    if (requestMessage) requestMessage->setHeaderField("Range", range);
    return;
  }
  requestHeaders.update([](std::optional<pf::Dictionary>& headers) {
    if (headers) headers->erase("Range");
  });
  if (!requestMessage || !requestMessage->headerField("Range")) return;
  // A message cannot drop a field: make it again without the range.
  auto fresh = pf::HttpMessage::makeRequest(requestMessage->method(), requestMessage->url(),
                                            requestMessage->version());
  for (const pf::HttpMessage::Field& field : requestMessage->headerFields()) {
    if (field.name != "Range") fresh->setHeaderField(field.name, field.value);
  }
  requestMessage = fresh;
}

// ---- redirects ----

void HttpRequest::redirectToURL(const pf::Url& newURL) {
  {
    std::lock_guard lock(cancelledLock_);
    redirectURL = newURL;
  }
  const Ptr self = selfPtr();
  performOnRequestThread([self] { self->performRedirect(); });
}

void HttpRequest::performRedirect() {
  std::lock_guard lock(cancelledLock_);
  if (!redirectURL) return;
  const bool sameOrigin = url_ && url_->scheme() == redirectURL->scheme() &&
                          url_->host() == redirectURL->host() &&
                          url_->portOrDefault() == redirectURL->portOrDefault();
  url_ = std::move(redirectURL);
  redirectURL.reset();
  requestMessage.reset();
  requestAuthentication.reset();
  proxyAuthentication.reset();
  complete = true;
  needsRedirect = false;
  ++redirectCount;
  if (redirectCount > kMaxRedirects) return failWithError(tooMuchRedirectionError());
  // The request's credentials are for the server that asked: another one has to ask for its own.
  if (!sameOrigin) {
    username.set(std::nullopt);
    password.set(std::nullopt);
    authenticationScheme.set(std::nullopt);
    requestCredentials.set(std::nullopt);
  }
  if (haveBuiltRequestHeaders) {
    // Headers kept for the new address: its cookies, not the old server's.
    // Credentials sent ahead of a challenge are for the old server only.
    requestHeaders.update([sameOrigin](std::optional<pf::Dictionary>& headers) {
      if (!headers) return;
      headers->erase("Cookie");
      if (!sameOrigin) headers->erase("Authorization");
    });
    applyCookieHeader();
  }
  main();
}

// ---- cancelling and failing ----

void HttpRequest::cancel() {
  // A request that is over has nothing to cancel, and a synchronous one's loop may never run again.
  if (complete && !inProgress) return;
  const Ptr self = selfPtr();
  performOnRequestThread([self] { self->cancelOnRequestThread(); });
}

void HttpRequest::cancelOnRequestThread() {
  std::lock_guard lock(cancelledLock_);
  if (isCancelled() || complete) return;
  failWithError(requestCancelledError());
  complete = true;
  cancelLoad();
  pf::Operation::cancel();
}

void HttpRequest::clearDelegatesAndCancel() {
  {
    std::lock_guard lock(cancelledLock_);
    delegate_.reset();
    queue_.reset();
    uploadProgressDelegate_.reset();
    downloadProgressDelegate_.reset();
    std::lock_guard blocksLock(blocksMutex_);
    blocks_ = HandlerBlocks{};
  }
  cancel();
}

void HttpRequest::cancelLoad() {
  std::lock_guard lock(cancelledLock_);
  cancelPACFileLoad();
  destroyReadStream();
  if (postBodyReadStream) {
    postBodyReadStream->close();
    postBodyReadStream.reset();
  }
  if (!downloadComplete && !downloadDestinationPath.get()) {
    rawResponseData.set(std::nullopt);
    inflatedResponseData_.set(std::nullopt);
  }
  if (downloadDestinationPath.get()) {
    closeDownloadStreams();
    // Bytes of a compressed answer cannot be continued by a range of the file itself: no resume from them.
    if (!downloadComplete && (!allowResumeForFileDownloads || isResponseCompressed())) {
      removeTemporaryDownloadFile();
    }
    removeTemporaryUncompressedDownloadFile();
  }
  if (authenticationNeeded == 0 && !willRetryRequest && didCreateTemporaryPostDataFile) {
    removeTemporaryUploadFile();
    removeTemporaryCompressedUploadFile();
  }
}

void HttpRequest::failWithError(const pf::ErrorPtr& theError) {
  std::lock_guard lock(cancelledLock_);
  complete = true;
  abandonCredentialQuestion();
  if (!keepsRecordOnFailure(theError)) {
    dropConnection();
    destroyReadStream();
  }
  if (connectionCanBeReused && connectionInfo) {
    std::lock_guard poolLock(ConnectionPool::shared().guard());
    connectionInfo->expires = now() + persistentConnectionTimeoutSeconds;
  }
  wakeRequestRunLoop();
  if (isCancelled() || error.get()) return;
  if (answerFromCacheOnFailure()) return;
  pf::logf("HTTP request to %@ failed: %@", RequestLogRedactor::redactedURL(url_),
           theError->localizedDescription());
  error.set(theError);
  Ptr target = selfPtr();
  if (const Ptr main = mainRequest.get().lock()) {
    // The request this one stands in for reports once, whichever of the two fails first.
    target = main->error.get() ? nullptr : main;
    if (target) main->error.set(theError);
  }
  if (target && isPACFileRequest) {
    target->reportFailure();
  } else if (target) {
    performBlockOnMainThread([target] { target->reportFailure(); });
  }
  if (inProgress) markAsFinished();
}

void HttpRequest::wakeRequestRunLoop() {
  if (const std::shared_ptr<pf::RunLoop> loop = requestRunLoop_.lock()) loop->wake();
}
