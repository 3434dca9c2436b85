// The response half of an HttpRequest: stream events, the response head and the redirect decision,
// body bytes into memory or a file (inflated at the end or on the fly), the end of the answer, stream
// errors with one silent reconnect, and finishing the operation.

#include <iconv.h>

#include <cerrno>
#include <utility>

#include "core/http/BandwidthMeter.h"
#include "core/http/GzipDecompressor.h"
#include "core/http/HttpRequest.h"
#include "core/http/ResponseSizeLimit.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/TextHelpers.h"
#include "platform/net/HttpCookieStorage.h"
#include "platform/net/HttpMessage.h"
#include "platform/net/HttpReadStream.h"
#include "platform/net/StreamError.h"

namespace {

constexpr std::size_t kLargeRead = 262144;
constexpr std::size_t kMediumRead = 65536;
constexpr std::size_t kSmallRead = 16384;

std::optional<std::string> headerValue(const std::optional<pf::Dictionary>& headers, std::string_view name) {
  if (!headers) return std::nullopt;
  for (const auto& [key, value] : *headers) {
    if (pf::text::equalsIgnoringCase(key, name) && value.string()) return *value.string();
  }
  return std::nullopt;
}

std::optional<std::uint64_t> parseUnsigned(const std::string& text) {
  const std::string digits = pf::text::trimWhitespace(text);
  if (digits.empty() || digits.size() > 19 || digits.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  return std::stoull(digits);
}

// A socket that broke shows up as one of these.
bool isLostConnection(const pf::ErrorPtr& cause) {
  if (!cause) return false;
  if (cause->domain() == pf::StreamError::kPosixDomain) {
    return cause->code() == pf::StreamError::kNotConnected || cause->code() == pf::StreamError::kBrokenPipe;
  }
  return cause->domain() == pf::StreamError::kNetworkDomain &&
         cause->code() == pf::StreamError::kConnectionLost;
}

bool isTlsProblem(const pf::ErrorPtr& cause) {
  return cause && cause->domain() == pf::StreamError::kTlsDomain && cause->code() >= -9818 &&
         cause->code() <= -9800;
}

std::optional<std::string> decodeText(const pf::Data& data, pf::StringEncoding encoding) {
  if (encoding == pf::StringEncoding::UTF8 || encoding == pf::StringEncoding::ASCII) {
    return std::string(data.begin(), data.end());
  }
  const std::string from = pf::ianaCharsetNameOfStringEncoding(encoding);
  iconv_t opened = iconv_open("UTF-8", from.c_str());
  if (opened == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  const std::unique_ptr<void, int (*)(iconv_t)> converter(opened, iconv_close);
  std::string input(data.begin(), data.end());
  char* in = input.data();
  std::size_t inLeft = input.size();
  std::string out(input.size() * 2 + 16, '\0');
  std::size_t used = 0;
  while (inLeft > 0) {
    char* outAt = out.data() + used;
    std::size_t outLeft = out.size() - used;
    const std::size_t result = iconv(opened, &in, &inLeft, &outAt, &outLeft);
    used = out.size() - outLeft;
    if (result != static_cast<std::size_t>(-1)) break;
    if (errno != E2BIG) return std::nullopt;
    out.resize(out.size() * 2);
  }
  out.resize(used);
  return out;
}

}  // namespace

// ---- events ----

void HttpRequest::handleEventOfStream(unsigned event, const std::weak_ptr<pf::HttpReadStream>& stream) {
  {
    std::lock_guard lock(cancelledLock_);
    // An event of an earlier attempt's stream has nothing to say about this one.
    if (!readStream || readStream != stream.lock()) return;
  }
  handleNetworkEvent(event);
}

void HttpRequest::handleNetworkEvent(unsigned type) {
  const Ptr self = selfPtr();
  {
    std::lock_guard lock(cancelledLock_);
    if (complete || isCancelled()) return;
    switch (type) {
      case pf::HttpReadStream::kHasBytesAvailable:
        handleBytesAvailable();
        break;
      case pf::HttpReadStream::kErrorOccurred:
        handleStreamError();
        break;
      case pf::HttpReadStream::kEndEncountered:
        handleStreamComplete();
        break;
      default:
        break;
    }
    performThrottling();
  }
  if (downloadComplete && needsRedirect) {
    if (!willAskDelegateToConfirmRedirect()) performRedirect();
  } else if (downloadComplete && authenticationNeeded != 0) {
    attemptToApplyCredentialsAndResume();
  }
}

// ---- the response head ----

void HttpRequest::readResponseHeaders() {
  authenticationNeeded = 0;
  const std::shared_ptr<const pf::HttpMessage> message = readStream ? readStream->responseHeader() : nullptr;
  if (!message) return;
  const pf::Dictionary headers = message->allHeaderFields();
  responseHeaders.set(headers);
  responseStatusCode = message->statusCode();
  responseStatusMessage.set(message->statusLine());
  if (answerFromCacheAfterHeaders()) return;
  if (responseStatusCode == 401) authenticationNeeded = 1;
  if (responseStatusCode == 407) authenticationNeeded = 2;
  if (authenticationNeeded == 0) storeAcceptedBasicCredentials();
  parseStringEncodingFromHeaders();
  storeResponseCookies(headers);
  if (!willRedirect()) takeContentLength();
  decideConnectionReuse(*message);
  const Ptr self = selfPtr();
  performBlockOnMainThread([self, headers] { self->requestReceivedResponseHeaders(headers); });
}

void HttpRequest::parseStringEncodingFromHeaders() {
  pf::StringEncoding encoding = defaultResponseEncoding;
  parseMimeType(nullptr, &encoding, headerValue(responseHeaders.get(), "Content-Type"));
  responseEncoding = encoding;
}

void HttpRequest::storeResponseCookies(const pf::Dictionary& headers) {
  const Cookies cookies = pf::HttpCookie::cookiesWithResponseHeaderFields(headers, *url_);
  responseCookies.set(cookies);
  if (!useCookiePersistence || cookies.empty()) return;
  pf::HttpCookieStorage::sharedHTTPCookieStorage()->setCookies(cookies);
  for (const pf::HttpCookiePtr& cookie : cookies) addSessionCookie(cookie);
}

void HttpRequest::takeContentLength() {
  const std::optional<std::string> header = headerValue(responseHeaders.get(), "Content-Length");
  const std::optional<std::uint64_t> length = header ? parseUnsigned(*header) : std::nullopt;
  if (!length) {
    // Without a length the download counts as one unit.
    if (showAccurateProgress && shouldResetDownloadProgress) {
      showAccurateProgress = false;
      incrementDownloadSizeBy(1);
    }
    return;
  }
  const Ptr main = mainRequest.get().lock();
  // A HEAD answer of 20 bytes for a gzip-accepting request is the size of an empty gzip body: no size.
  if (main && main->allowCompressedResponse && *length == 20 && main->showAccurateProgress &&
      main->shouldResetDownloadProgress) {
    main->showAccurateProgress = false;
    main->incrementDownloadSizeBy(1);
    return;
  }
  HttpRequest& target = main ? *main : *this;
  target.contentLength = *length;
  if (target.showAccurateProgress && target.shouldResetDownloadProgress) {
    target.incrementDownloadSizeBy(static_cast<long long>(target.contentLength + target.partialDownloadSize));
  }
}

bool HttpRequest::willRedirect() {
  if (!shouldRedirect) return false;
  const std::optional<std::string> location = headerValue(responseHeaders.get(), "Location");
  const int status = responseStatusCode;
  if (!location || (status != 301 && status != 302 && status != 303 && status != 307)) return false;
  std::optional<pf::Url> target = pf::Url::resolve(*location, *url_);
  if (!target) return false;
  const Ptr self = selfPtr();
  performBlockOnMainThread([self] { self->requestRedirected(); });
  if (status != 307 && !(shouldUseRFC2616RedirectBehaviour && status != 303)) dropBodyForRedirect();
  redirectURL = std::move(target);
  needsRedirect = true;
  requestCookies.set({});
  return true;
}

void HttpRequest::dropBodyForRedirect() {
  if (didCreateTemporaryPostDataFile) {
    removeTemporaryUploadFile();
    removeTemporaryCompressedUploadFile();
  }
  postBody.set(std::nullopt);
  postBodyFilePath.set(std::nullopt);
  compressedPostBody.reset();
  compressedPostBodyFilePath.reset();
  shouldStreamPostDataFromDisk = false;
  postLength = 0;
  requestMethod_ = "GET";
  // Rebuilt for the new address, except what describes the client.
  requestHeaders.update([](std::optional<pf::Dictionary>& headers) {
    if (!headers) return;
    std::erase_if(*headers,
                  [](const auto& entry) { return entry.first != "User-Agent" && entry.first != "Accept"; });
  });
  haveBuiltRequestHeaders = false;
}

bool HttpRequest::willAskDelegateToConfirmRedirect() {
  std::lock_guard lock(cancelledLock_);
  // A synchronous caller stops waiting once the answer is complete: nobody would run the redirect.
  if (isSynchronous) return false;
  const std::shared_ptr<HttpRequestDelegate> asked = redirectConfirmer();
  if (!asked || !redirectURL) return false;
  const pf::Url target = *redirectURL;
  redirectURL.reset();
  const Ptr self = selfPtr();
  performBlockOnMainThread([self, target] { self->requestWillRedirectToURL(target); });
  return true;
}

// ---- the body ----

bool HttpRequest::isSuccessfulStatus() const {
  return responseStatusCode >= 200 && responseStatusCode < 300;
}

std::size_t HttpRequest::readSize() const {
  const std::size_t size = contentLength > kLargeRead    ? kLargeRead
                           : contentLength > kMediumRead ? kMediumRead
                                                         : kSmallRead;
  return isBandwidthThrottled() ? BandwidthMeter::shared().throttledReadSize(size) : size;
}

void HttpRequest::handleBytesAvailable() {
  if (!responseHeaders.get()) {
    readResponseHeaders();
    if (complete) return;
  }
  if (!readStream || !readStream->hasBytesAvailable()) return;
  std::uint8_t buffer[kLargeRead];
  const long long count = readStream->read(buffer, readSize());
  if (count < 0) return handleStreamError();
  if (count == 0) return;
  const auto length = static_cast<std::size_t>(count);

  const bool toMemory = !hasDataHandler() && !downloadDestinationPath.get();
  std::optional<pf::Data> inflated;
  if (isResponseCompressed() && !shouldWaitToInflateCompressedResponses) {
    if (!dataDecompressor.get()) dataDecompressor.set(GzipDecompressor::decompressor());
    pf::ErrorPtr failure;
    const std::shared_ptr<GzipDecompressor> decompressor = dataDecompressor.get();
    const std::uint64_t room = toMemory ? roomInMemory() : ResponseSizeLimit::kNone;
    inflated = decompressor ? decompressor->uncompressBytes(buffer, length, &failure, room) : std::nullopt;
    if (!decompressor) failure = GzipDecompressor::inflateErrorWithCode(-4);
    if (failure) {
      closeDownloadStreams();
      return failWithError(failure);
    }
    if (!inflated) inflated.emplace();
  }
  totalBytesRead += length;
  lastActivityTime = pf::Date::now();
  incrementBandwidthUsedInLastSecond(static_cast<unsigned long>(length));

  // The body of a redirect must not enter a resumable file.
  if (needsRedirect && shouldRedirect && allowResumeForFileDownloads) return;
  if (hasDataHandler()) {
    pf::Data chunk = inflated ? std::move(*inflated) : pf::Data(buffer, buffer + length);
    const Ptr self = selfPtr();
    performBlockOnMainThread([self, chunk = std::move(chunk)] { self->passOnReceivedData(chunk); });
    return;
  }
  if (downloadDestinationPath.get()) return writeDownloadChunk(buffer, length, inflated);
  if (!appendToMemory(buffer, length, inflated)) {
    failWithError(ResponseSizeLimit::exceededError(maxResponseDataSize));
  }
}

std::uint64_t HttpRequest::roomInMemory() {
  const std::uint64_t limit = maxResponseDataSize;
  const std::uint64_t held =
      rawResponseData.update([](const std::optional<pf::Data>& data) { return data ? data->size() : 0; });
  return held < limit ? limit - held : 0;
}

// A body whose announced length passes the limit fails at its first bytes; one that announces its
// length gets its room at once, so it is never copied to grow.
bool HttpRequest::appendToMemory(const std::uint8_t* bytes, std::size_t length,
                                 const std::optional<pf::Data>& inflated) {
  const std::uint64_t limit = maxResponseDataSize;
  const std::uint64_t announced = contentLength;
  return rawResponseData.update([&](std::optional<pf::Data>& data) {
    if (!data) data.emplace();
    const std::size_t adding = inflated ? inflated->size() : length;
    if (data->size() + adding > limit || (!inflated && announced > limit)) return false;
    if (data->capacity() == 0 && !inflated && announced > 0) data->reserve(announced);
    if (inflated) {
      data->insert(data->end(), inflated->begin(), inflated->end());
    } else {
      data->insert(data->end(), bytes, bytes + length);
    }
    return true;
  });
}

pf::ErrorPtr HttpRequest::inflateResponseInMemory() {
  if (!isResponseCompressed() || !shouldWaitToInflateCompressedResponses || needsRedirect ||
      authenticationNeeded != 0) {
    return nullptr;
  }
  pf::ErrorPtr failure;
  const std::uint64_t limit = maxResponseDataSize;
  std::optional<pf::Data> inflated = rawResponseData.update([&](const std::optional<pf::Data>& raw) {
    return raw && !raw->empty() ? GzipDecompressor::uncompressData(*raw, &failure, limit) : std::nullopt;
  });
  inflatedResponseData_.set(std::move(inflated));
  // A body that does not inflate is left to its reader, who gets none; one that inflates past the
  // limit fails the request.
  const bool tooLarge =
      failure && failure->code() == static_cast<long>(HttpRequestErrorCode::ResponseTooLarge);
  return tooLarge ? failure : nullptr;
}

// ---- the end of the answer ----

void HttpRequest::handleStreamComplete() {
  setStatusTimer(nullptr);
  downloadComplete = true;
  if (!responseHeaders.get()) readResponseHeaders();
  pf::ErrorPtr failure;
  {
    std::lock_guard progressLock(progressGuard());
    lastBytesSent = totalBytesSent;
    if (readStream) totalBytesSent = readStream->requestBytesWritten();
    complete = true;
    if (contentLength == 0) contentLength = totalBytesRead.load();
    updateProgressIndicators();
    if (postBodyReadStream) {
      postBodyReadStream->close();
      postBodyReadStream.reset();
    }
    // An answer that ends inside its compressed stream is cut short, not complete.
    const std::shared_ptr<GzipDecompressor> decompressor = dataDecompressor.get();
    if (decompressor && !decompressor->reachedEnd()) failure = GzipDecompressor::inflateErrorWithCode(-5);
    dataDecompressor.set(nullptr);
    if (didCreateTemporaryPostDataFile && authenticationNeeded == 0 && !needsRedirect) {
      removeTemporaryUploadFile();
      removeTemporaryCompressedUploadFile();
    }
    if (downloadDestinationPath.get() && failure) {
      // A body cut short inside its compressed stream never becomes the file.
      closeDownloadStreams();
      removeTemporaryUncompressedDownloadFile();
      removeTemporaryDownloadFile();
    } else if (downloadDestinationPath.get()) {
      failure = finishDownloadFile();
    } else if (!failure && !hasDataHandler()) {
      failure = inflateResponseInMemory();
    }
    if (!didUseCachedResponse && !failure) storeResponseInCache();
  }
  releaseConnection();
  if (authenticationNeeded == 0) destroyReadStream();
  if (needsRedirect || authenticationNeeded != 0 || didUseCachedResponse) return;
  if (failure) {
    failWithError(failure);
  } else {
    requestFinished();
  }
  markAsFinished();
}

// ---- stream errors ----

void HttpRequest::handleStreamError() {
  const pf::ErrorPtr underlying = readStream ? readStream->error() : nullptr;
  if (error.get()) {
    cancelLoad();
    return checkRequestStatus();
  }
  // Only a kept socket the server closed before answering is sent again: any other break may have
  // reached the server, and a second send would run the request twice there.
  const bool unansweredOnKeptSocket = readStream && readStream->failedUnansweredOnReusedConnection();
  if (isLostConnection(underlying) && unansweredOnKeptSocket && retryUsingNewConnection()) return;
  std::string reason = "A connection failure occurred";
  if (isTlsProblem(underlying)) {
    reason = pf::format(
        "%@: SSL problem (Possible causes may include a bad/expired/self-signed certificate, clock set to "
        "wrong "
        "date)",
        reason);
  }
  cancelLoad();
  pf::Dictionary info{{pf::kLocalizedDescriptionKey, reason}};
  if (underlying) info[pf::kUnderlyingErrorKey] = underlying;
  failWithError(std::make_shared<pf::Error>(
      NetworkRequestErrorDomain, static_cast<long>(HttpRequestErrorCode::ConnectionFailure), info));
  checkRequestStatus();
}

bool HttpRequest::retryUsingNewConnection() {
  if (retryCount != 0) return false;
  willRetryRequest = true;
  cancelLoad();
  willRetryRequest = false;
  dropConnection();
  connectionInfo = nullptr;
  ++retryCount;
  // Bytes that reached a resumable file before the break are not asked for again.
  refreshRangeForRetry();
  startRequest();
  return true;
}

// ---- finishing ----

void HttpRequest::markAsFinished() {
  const Ptr self = selfPtr();
  {
    std::lock_guard lock(cancelledLock_);
    requestMessage.reset();
    requestAuthentication.reset();
    proxyAuthentication.reset();
    inProgress = false;
  }
  pf::Operation::finish();
  endBackgroundTask();
}

// ---- reading the answer ----

bool HttpRequest::isResponseCompressed() const {
  const std::optional<std::string> encoding = headerValue(responseHeaders.get(), "Content-Encoding");
  return encoding && encoding->find("gzip") != std::string::npos;
}

std::optional<pf::Data> HttpRequest::responseData() const {
  if (std::optional<pf::Data> inflated = inflatedResponseData_.get()) return inflated;
  std::optional<pf::Data> raw = rawResponseData.get();
  if (raw && !raw->empty() && isResponseCompressed() && shouldWaitToInflateCompressedResponses) {
    return GzipDecompressor::uncompressData(*raw, nullptr, maxResponseDataSize);
  }
  return raw;
}

std::optional<pf::Data> HttpRequest::takeResponseData() {
  const auto take = [](std::optional<pf::Data>& data) { return std::exchange(data, std::nullopt); };
  std::optional<pf::Data> inflated = inflatedResponseData_.update(take);
  std::optional<pf::Data> raw = rawResponseData.update(take);
  if (inflated) return inflated;
  if (raw && !raw->empty() && isResponseCompressed() && shouldWaitToInflateCompressedResponses) {
    return GzipDecompressor::uncompressData(*raw, nullptr, maxResponseDataSize);
  }
  return raw;
}

std::optional<std::string> HttpRequest::responseString() const {
  const std::optional<pf::Data> data = responseData();
  if (!data) return std::nullopt;
  return decodeText(*data, responseEncoding);
}
