// The download cache as a request meets it: answering before anything is sent, asking the server with
// the stored validators, answering after a 304, falling back after a failure, and storing what came.

#include <filesystem>

#include "core/http/HttpDownloadCache.h"
#include "core/http/HttpRequest.h"
#include "platform/foundation/Format.h"
#include "platform/net/HttpCookie.h"

namespace {

std::optional<std::string> headerValue(const pf::Dictionary& headers, const char* name) {
  const auto found = headers.find(name);
  if (found == headers.end() || !found->second.string()) return std::nullopt;
  return *found->second.string();
}

// The cached body put where the caller wants its download, leaving the cache's copy in place.
bool copyCachedFile(const std::string& from, const std::string& to) {
  const std::string partial = to + ".partial";
  std::error_code error;
  std::filesystem::copy_file(from, partial, std::filesystem::copy_options::overwrite_existing, error);
  if (!error) std::filesystem::rename(partial, to, error);
  if (error) {
    std::error_code ignored;
    std::filesystem::remove(partial, ignored);
  }
  return !error;
}

}  // namespace

bool HttpRequest::answerFromCacheBeforeSending() {
  const std::shared_ptr<HttpDownloadCache> cache = downloadCache.get().lock();
  if (!cache) return false;
  if (cachePolicy == 0) cachePolicy = cache->defaultCachePolicy();
  if (cache->canUseCachedDataForRequest(*this)) {
    useDataFromCache();
    return true;
  }
  if (!(cachePolicy & (HttpDownloadCache::kAskServerWhenStale | HttpDownloadCache::kAlwaysAskServer))) {
    return false;
  }
  const std::optional<pf::Dictionary> cached = cache->cachedResponseHeadersForURL(*url());
  if (!cached) return false;
  if (const auto etag = headerValue(*cached, "Etag")) addRequestHeader("If-None-Match", *etag);
  if (const auto lastModified = headerValue(*cached, "Last-Modified")) {
    addRequestHeader("If-Modified-Since", *lastModified);
  }
  return false;
}

bool HttpRequest::answerFromCacheAfterHeaders() {
  const std::shared_ptr<HttpDownloadCache> cache = downloadCache.get().lock();
  if (!cache || !cache->canUseCachedDataForRequest(*this)) return false;
  cache->updateExpiryForRequest(*this, secondsToCache);
  // The server's answer ends at its head: its stream goes now, or it stays scheduled and counts as a
  // transfer under way for as long as the request lives.
  releaseConnection();
  destroyReadStream();
  useDataFromCache();
  return true;
}

bool HttpRequest::answerFromCacheOnFailure() {
  const std::shared_ptr<HttpDownloadCache> cache = downloadCache.get().lock();
  // A cached answer that failed is not tried again.
  if (!cache || didUseCachedResponse || !(cachePolicy & HttpDownloadCache::kFallBackToCacheOnFailure) ||
      !cache->canUseCachedDataForRequest(*this)) {
    return false;
  }
  useDataFromCache();
  return true;
}

void HttpRequest::storeResponseInCache() {
  const std::shared_ptr<HttpDownloadCache> cache = downloadCache.get().lock();
  if (cache && !didUseCachedResponse) cache->storeResponseForRequest(*this, secondsToCache);
}

void HttpRequest::useDataFromCache() {
  const Ptr self = selfPtr();
  const Ptr main = mainRequest.get().lock();
  const Ptr target = main ? main : self;
  if (useCachedResponse(*target)) return;
  target->complete = true;
  target->downloadComplete = true;
  if (target->redirectCount == 0) target->originalURL.set(target->url());
  target->updateProgressIndicators();
  target->requestFinished();
  target->markAsFinished();
  if (main) markAsFinished();
}

// Takes the cached response into the target; true when it redirects, which then takes over.
bool HttpRequest::useCachedResponse(HttpRequest& target) {
  const std::shared_ptr<HttpDownloadCache> cache = downloadCache.get().lock();
  const std::optional<pf::Url> address = url();
  if (!cache || !address) return false;
  const std::optional<pf::Dictionary> headers = cache->cachedResponseHeadersForURL(*address);
  const std::optional<std::string> dataPath = cache->pathToCachedResponseDataForURL(*address);
  if (!headers || !dataPath || !headers->contains(HttpDownloadCache::kStatusCodeKey)) return false;

  target.responseStatusCode = headers->at(HttpDownloadCache::kStatusCodeKey).intValue();
  target.didUseCachedResponse = true;
  target.responseHeaders.set(headers);
  if (const std::optional<std::string> destination = target.downloadDestinationPath.get()) {
    if (!copyCachedFile(*dataPath, *destination)) {
      target.failWithError(
          pf::Error::make(NetworkRequestErrorDomain, static_cast<long>(HttpRequestErrorCode::FileManagement),
                          pf::format("Failed to move file from '%@' to '%@'", *dataPath, *destination)));
      return true;
    }
  } else {
    target.rawResponseData.set(cache->cachedResponseDataForURL(*address));
    target.inflatedResponseData_.set(std::nullopt);
  }
  target.contentLength = pf::Value(*headers)["Content-Length"].unsignedLongLongValue();
  target.totalBytesRead = target.contentLength.load();
  pf::StringEncoding encoding = target.defaultResponseEncoding;
  parseMimeType(nullptr, &encoding, headerValue(*headers, "Content-Type"));
  target.responseEncoding = encoding;
  target.responseCookies.set(pf::HttpCookie::cookiesWithResponseHeaderFields(*headers, *address));
  if (!target.willRedirect()) return false;
  if (!target.willAskDelegateToConfirmRedirect()) target.performRedirect();
  return true;
}
