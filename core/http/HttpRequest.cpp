#include "core/http/HttpRequest.h"

#include "platform/foundation/Log.h"
#include "platform/net/HttpMessage.h"

HttpRequest::HttpRequest(std::optional<pf::Url> url)
    : timeOutSeconds(defaultTimeOutSeconds()), downloadCache(defaultCache()), url_(std::move(url)) {}

HttpRequest::~HttpRequest() {
  if (statusTimer_) statusTimer_->invalidate();
  // A request dropped mid-exchange no longer counts as network use.
  unscheduleReadStream();
  releaseBlocksOnMainThread();
}

HttpRequest::Ptr HttpRequest::requestWithURL(std::optional<pf::Url> url) {
  return std::make_shared<HttpRequest>(std::move(url));
}

HttpRequest::Ptr HttpRequest::requestWithURL(std::optional<pf::Url> url,
                                             const std::shared_ptr<HttpDownloadCache>& usingCache) {
  return requestWithURL(std::move(url), usingCache, 0);
}

HttpRequest::Ptr HttpRequest::requestWithURL(std::optional<pf::Url> url,
                                             const std::shared_ptr<HttpDownloadCache>& usingCache,
                                             int andCachePolicy) {
  Ptr request = requestWithURL(std::move(url));
  request->downloadCache.set(usingCache);
  request->cachePolicy = andCachePolicy;
  return request;
}

HttpRequest::Ptr HttpRequest::makeRequestOfSameClass(const std::optional<pf::Url>& url) const {
  return std::make_shared<HttpRequest>(url);
}

HttpRequest::Ptr HttpRequest::copy() const {
  std::lock_guard lock(cancelledLock_);
  Ptr c = makeRequestOfSameClass(url_);
  c->delegate_ = delegate_;
  c->requestMethod_ = requestMethod_;
  c->postBody.set(postBody.get());
  c->shouldStreamPostDataFromDisk = shouldStreamPostDataFromDisk.load();
  c->postBodyFilePath.set(postBodyFilePath.get());
  c->requestHeaders.set(requestHeaders.get());
  c->requestCookies.set(requestCookies.get());
  c->useCookiePersistence = useCookiePersistence.load();
  c->useKeychainPersistence = useKeychainPersistence.load();
  c->useSessionPersistence = useSessionPersistence.load();
  c->allowCompressedResponse = allowCompressedResponse.load();
  c->downloadDestinationPath.set(downloadDestinationPath.get());
  c->temporaryFileDownloadPath.set(temporaryFileDownloadPath.get());
  c->username.set(username.get());
  c->password.set(password.get());
  c->domain.set(domain.get());
  c->proxyUsername.set(proxyUsername.get());
  c->proxyPassword.set(proxyPassword.get());
  c->proxyDomain.set(proxyDomain.get());
  c->proxyHost.set(proxyHost.get());
  c->proxyPort = proxyPort.load();
  c->proxyType.set(proxyType.get());
  c->uploadProgressDelegate_ = uploadProgressDelegate_;
  c->downloadProgressDelegate_ = downloadProgressDelegate_;
  c->shouldPresentAuthenticationDialog = shouldPresentAuthenticationDialog.load();
  c->shouldPresentProxyAuthenticationDialog = shouldPresentProxyAuthenticationDialog.load();
  c->postLength = postLength.load();
  c->haveBuiltPostBody = haveBuiltPostBody;
  c->didStartSelector.set(didStartSelector.get());
  c->didFinishSelector.set(didFinishSelector.get());
  c->didFailSelector.set(didFailSelector.get());
  c->timeOutSeconds = timeOutSeconds.load();
  c->shouldResetDownloadProgress = shouldResetDownloadProgress.load();
  c->shouldResetUploadProgress = shouldResetUploadProgress.load();
  c->showAccurateProgress = showAccurateProgress.load();
  c->defaultResponseEncoding = defaultResponseEncoding.load();
  c->allowResumeForFileDownloads = allowResumeForFileDownloads.load();
  c->userInfo.set(userInfo.get());
  c->tag = tag.load();
  c->useHTTPVersionOne = useHTTPVersionOne.load();
  c->shouldRedirect = shouldRedirect.load();
  c->validatesSecureCertificate = validatesSecureCertificate.load();
  c->PACurl.set(PACurl.get());
  c->shouldPresentCredentialsBeforeChallenge = shouldPresentCredentialsBeforeChallenge.load();
  c->numberOfTimesToRetryOnTimeout = numberOfTimesToRetryOnTimeout.load();
  c->shouldUseRFC2616RedirectBehaviour = shouldUseRFC2616RedirectBehaviour.load();
  c->shouldAttemptPersistentConnection = shouldAttemptPersistentConnection.load();
  c->persistentConnectionTimeoutSeconds = persistentConnectionTimeoutSeconds.load();
  c->authenticationScheme.set(authenticationScheme.get());
  return c;
}

HttpRequest::Ptr HttpRequest::HEADRequest() {
  // The twin's own lock is never taken under this one: a running twin takes them the other way round.
  Ptr head = makeRequestOfSameClass(url());
  head->setRequestMethod("HEAD");
  std::lock_guard lock(cancelledLock_);
  head->mainRequest.set(std::static_pointer_cast<HttpRequest>(shared_from_this()));
  head->requestHeaders.set(requestHeaders.get());
  head->requestCookies.set(requestCookies.get());
  head->useCookiePersistence = useCookiePersistence.load();
  head->useKeychainPersistence = useKeychainPersistence.load();
  head->useSessionPersistence = useSessionPersistence.load();
  head->allowCompressedResponse = allowCompressedResponse.load();
  head->username.set(username.get());
  head->password.set(password.get());
  head->domain.set(domain.get());
  head->proxyUsername.set(proxyUsername.get());
  head->proxyPassword.set(proxyPassword.get());
  head->proxyDomain.set(proxyDomain.get());
  head->proxyHost.set(proxyHost.get());
  head->proxyPort = proxyPort.load();
  head->proxyType.set(proxyType.get());
  head->shouldPresentAuthenticationDialog = shouldPresentAuthenticationDialog.load();
  head->shouldPresentProxyAuthenticationDialog = shouldPresentProxyAuthenticationDialog.load();
  head->shouldPresentCredentialsBeforeChallenge = shouldPresentCredentialsBeforeChallenge.load();
  head->timeOutSeconds = timeOutSeconds.load();
  head->useHTTPVersionOne = useHTTPVersionOne.load();
  head->validatesSecureCertificate = validatesSecureCertificate.load();
  head->PACurl.set(PACurl.get());
  head->numberOfTimesToRetryOnTimeout = numberOfTimesToRetryOnTimeout.load();
  head->shouldRedirect = shouldRedirect.load();
  head->shouldUseRFC2616RedirectBehaviour = shouldUseRFC2616RedirectBehaviour.load();
  head->shouldAttemptPersistentConnection = shouldAttemptPersistentConnection.load();
  head->persistentConnectionTimeoutSeconds = persistentConnectionTimeoutSeconds.load();
  return head;
}

bool HttpRequest::addRequestHeader(const std::string& header, const std::string& value) {
  if (!pf::HttpMessage::isToken(header) || !pf::HttpMessage::isValidFieldValue(value)) {
    pf::logf("Refusing request header %@: a name must be a token and a value may not break the line", header);
    return false;
  }
  requestHeaders.update([&](std::optional<pf::Dictionary>& headers) {
    if (!headers) headers.emplace();
    (*headers)[header] = value;
  });
  return true;
}

void HttpRequest::setRequestMethod(const std::string& newRequestMethod) {
  std::lock_guard lock(cancelledLock_);
  if (requestMethod_ == newRequestMethod) return;
  requestMethod_ = newRequestMethod;
  // A connection that carried a body is not offered to the next request.
  if (newRequestMethod == "POST" || newRequestMethod == "PUT" || hasBody())
    shouldAttemptPersistentConnection = false;
}

std::string HttpRequest::requestMethod() const {
  std::lock_guard lock(cancelledLock_);
  return requestMethod_;
}

void HttpRequest::setURL(std::optional<pf::Url> newURL) {
  std::lock_guard lock(cancelledLock_);
  url_ = std::move(newURL);
}

std::optional<pf::Url> HttpRequest::url() const {
  std::lock_guard lock(cancelledLock_);
  return url_;
}

std::weak_ptr<HttpRequestDelegate> HttpRequest::delegate() const {
  std::lock_guard lock(cancelledLock_);
  return delegate_;
}

void HttpRequest::setDelegate(std::weak_ptr<HttpRequestDelegate> newDelegate) {
  std::lock_guard lock(cancelledLock_);
  delegate_ = std::move(newDelegate);
}

std::shared_ptr<HttpRequestQueue> HttpRequest::queue() const {
  std::lock_guard lock(cancelledLock_);
  return queue_;
}

void HttpRequest::setQueue(std::shared_ptr<HttpRequestQueue> newQueue) {
  std::lock_guard lock(cancelledLock_);
  queue_ = std::move(newQueue);
}

std::weak_ptr<HttpProgressDelegate> HttpRequest::uploadProgressDelegate() const {
  std::lock_guard lock(cancelledLock_);
  return uploadProgressDelegate_;
}

void HttpRequest::setUploadProgressDelegate(std::weak_ptr<HttpProgressDelegate> newDelegate) {
  std::lock_guard lock(cancelledLock_);
  uploadProgressDelegate_ = std::move(newDelegate);
}

std::weak_ptr<HttpProgressDelegate> HttpRequest::downloadProgressDelegate() const {
  std::lock_guard lock(cancelledLock_);
  return downloadProgressDelegate_;
}

void HttpRequest::setDownloadProgressDelegate(std::weak_ptr<HttpProgressDelegate> newDelegate) {
  std::lock_guard lock(cancelledLock_);
  downloadProgressDelegate_ = std::move(newDelegate);
}

void HttpRequest::setStatusTimer(std::shared_ptr<pf::Timer> timer) {
  if (statusTimer_ && statusTimer_ != timer) statusTimer_->invalidate();
  statusTimer_ = std::move(timer);
}

#define HTTP_REQUEST_BLOCK_SETTER(Setter, Type, member) \
  void HttpRequest::Setter(Type block) {                \
    std::lock_guard lock(blocksMutex_);                 \
    blocks_.member = std::move(block);                  \
  }

HTTP_REQUEST_BLOCK_SETTER(setStartedBlock, BasicBlock, started)
HTTP_REQUEST_BLOCK_SETTER(setHeadersReceivedBlock, HeadersBlock, headersReceived)
HTTP_REQUEST_BLOCK_SETTER(setCompletionBlock, BasicBlock, completion)
HTTP_REQUEST_BLOCK_SETTER(setFailureBlock, BasicBlock, failure)
HTTP_REQUEST_BLOCK_SETTER(setBytesReceivedBlock, ProgressBlock, bytesReceived)
HTTP_REQUEST_BLOCK_SETTER(setBytesSentBlock, ProgressBlock, bytesSent)
HTTP_REQUEST_BLOCK_SETTER(setDownloadSizeIncrementedBlock, SizeBlock, downloadSizeIncremented)
HTTP_REQUEST_BLOCK_SETTER(setUploadSizeIncrementedBlock, SizeBlock, uploadSizeIncremented)
HTTP_REQUEST_BLOCK_SETTER(setDataReceivedBlock, DataBlock, dataReceived)
HTTP_REQUEST_BLOCK_SETTER(setAuthenticationNeededBlock, BasicBlock, authenticationNeeded)
HTTP_REQUEST_BLOCK_SETTER(setProxyAuthenticationNeededBlock, BasicBlock, proxyAuthenticationNeeded)
HTTP_REQUEST_BLOCK_SETTER(setRequestRedirectedBlock, BasicBlock, requestRedirected)

#undef HTTP_REQUEST_BLOCK_SETTER

HttpRequest::HandlerBlocks HttpRequest::blocks() const {
  std::lock_guard lock(blocksMutex_);
  return blocks_;
}

void HttpRequest::releaseBlocksOnMainThread() {
  // Blocks may hold the last reference to screen objects, which must die on the main thread.
  auto blocks = std::make_shared<HandlerBlocks>(std::move(blocks_));
  const bool any = blocks->started || blocks->headersReceived || blocks->completion || blocks->failure ||
                   blocks->bytesReceived || blocks->bytesSent || blocks->downloadSizeIncremented ||
                   blocks->uploadSizeIncremented || blocks->dataReceived || blocks->authenticationNeeded ||
                   blocks->proxyAuthenticationNeeded || blocks->requestRedirected;
  if (!any || pf::RunLoop::isMainThread()) return;
  pf::RunLoop::main()->post([blocks]() mutable { blocks.reset(); });
}

bool HttpRequest::hasBody() const {
  const std::optional<pf::Data> body = postBody.get();
  return (body && !body->empty()) || postBodyFilePath.get().has_value();
}
