#include "core/http/HttpDownloadCache.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "core/http/HttpRequest.h"
#include "core/http/RequestLogRedactor.h"
#include "platform/foundation/FilePath.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Md5.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/TextHelpers.h"

namespace fs = std::filesystem;

namespace {

constexpr char kSessionStore[] = "SessionStore";
constexpr char kPermanentStore[] = "PermanentStore";
constexpr char kHeadersExtension[] = "cachedheaders";
// Longer extensions are not kept: they are no file type anyone relies on.
constexpr std::size_t kMaxExtensionLength = 16;

std::optional<std::string> headerValue(const pf::Dictionary& headers, std::string_view name) {
  for (const auto& [key, value] : headers) {
    if (pf::text::equalsIgnoringCase(key, name) && value.string()) return *value.string();
  }
  return std::nullopt;
}

void eraseHeader(pf::Dictionary& headers, std::string_view name) {
  std::erase_if(headers, [&](const auto& entry) { return pf::text::equalsIgnoringCase(entry.first, name); });
}

bool hasDirective(const std::string& value, std::string_view directive) {
  for (const std::string& part : pf::text::split(pf::text::lowercase(value), ",")) {
    if (pf::text::trimWhitespace(part) == directive) return true;
  }
  return false;
}

// The extension comes from the network: only plain letters and digits may name a file here, and never
// the header file's own extension.
bool isSafeExtension(const std::string& extension) {
  return !extension.empty() && extension.size() <= kMaxExtensionLength &&
         std::all_of(extension.begin(), extension.end(),
                     [](unsigned char c) { return std::isalnum(c) != 0; }) &&
         !pf::text::equalsIgnoringCase(extension, kHeadersExtension);
}

bool isRegularFile(const std::string& path) {
  std::error_code ignored;
  return fs::is_regular_file(path, ignored);
}

// Written beside the target and renamed over it, so a reader never meets half a file.
bool writeFileAtomically(const std::string& path, const pf::Data& data) {
  const std::string partial = path + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (!out.flush()) return false;
  }
  std::error_code error;
  fs::rename(partial, path, error);
  if (error) fs::remove(partial, error);
  return !error;
}

bool copyFileAtomically(const std::string& from, const std::string& to) {
  const std::string partial = to + ".partial";
  std::error_code error;
  fs::copy_file(from, partial, fs::copy_options::overwrite_existing, error);
  if (!error) fs::rename(partial, to, error);
  if (error) {
    std::error_code ignored;
    fs::remove(partial, ignored);
  }
  return !error;
}

std::optional<pf::Data> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  pf::Data data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return data;
}

bool isCacheableStatus(int status) {
  return status == 200 || status == 301 || status == 302 || status == 303 || status == 307;
}

}  // namespace

std::shared_ptr<HttpDownloadCache> HttpDownloadCache::sharedCache() {
  static std::mutex monitor;
  static std::shared_ptr<HttpDownloadCache> shared;
  std::lock_guard lock(monitor);
  if (!shared) {
    auto cache = std::make_shared<HttpDownloadCache>();
    cache->setStoragePath(pf::path::appendingPathComponent(pf::Sandbox::cachesPath(), "HttpRequestCache"));
    shared = std::move(cache);
  }
  return shared;
}

HttpDownloadCache::HttpDownloadCache() {
  setDefaultCachePolicy(0);
}

std::optional<std::string> HttpDownloadCache::storagePath() const {
  std::lock_guard lock(accessLock_);
  return storagePath_;
}

void HttpDownloadCache::setStoragePath(const std::string& path) {
  std::lock_guard lock(accessLock_);
  // A folder that cannot be made leaves the cache as it was, the old session's entries included.
  createFolders(path);
  if (storagePath_) clearCachedResponsesForStoragePolicy(kSessionStorage);
  storagePath_ = path;
  clearCachedResponsesForStoragePolicy(kSessionStorage);
}

void HttpDownloadCache::createFolders(const std::string& path) const {
  for (const std::string& folder : {path, pf::path::appendingPathComponent(path, kSessionStore),
                                    pf::path::appendingPathComponent(path, kPermanentStore)}) {
    std::error_code error;
    if (fs::exists(folder, error) && !fs::is_directory(folder, error)) {
      throw FolderError(
          "FileExistsAtCachePath",
          pf::format("Cannot create a directory for the cache at '%@', because a file already exists",
                     folder));
    }
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder, error)) {
      throw FolderError("FailedToCreateCacheDirectory",
                        pf::format("Failed to create a directory for the cache at '%@'", folder));
    }
  }
}

void HttpDownloadCache::setDefaultCachePolicy(int policy) {
  defaultCachePolicy_ = policy == 0 ? kAskServerWhenStale : policy;
}

std::optional<std::string> HttpDownloadCache::storeFolder(int storagePolicy) const {
  if (!storagePath_) return std::nullopt;
  return pf::path::appendingPathComponent(*storagePath_,
                                          storagePolicy == kSessionStorage ? kSessionStore : kPermanentStore);
}

int HttpDownloadCache::effectivePolicy(const HttpRequest& request) const {
  const int policy = request.cachePolicy;
  return policy == 0 ? defaultCachePolicy_.load() : policy;
}

bool HttpDownloadCache::serverAllowsResponseCachingForRequest(const HttpRequest& request) {
  const pf::Dictionary headers = request.responseHeaders.get().value_or(pf::Dictionary{});
  // Directives come as a list ("private, no-store"); any one of them forbids keeping the answer.
  const std::string cacheControl = headerValue(headers, "Cache-Control").value_or("");
  if (hasDirective(cacheControl, "no-cache") || hasDirective(cacheControl, "no-store")) return false;
  return !hasDirective(headerValue(headers, "Pragma").value_or(""), "no-cache");
}

std::optional<std::string> HttpDownloadCache::keyForURL(const std::optional<pf::Url>& url) {
  if (!url || url->absoluteString().empty()) return std::nullopt;
  std::string_view text = url->absoluteString();
  if (text.ends_with('/')) text.remove_suffix(1);
  return pf::md5::hex(pf::md5::digest(text), pf::md5::LetterCase::Upper);
}

const std::vector<std::string>& HttpDownloadCache::fileExtensionsToHandleAsHTML() {
  static const std::vector<std::string> extensions{"asp", "aspx", "jsp", "php", "rb", "py", "pl", "cgi"};
  return extensions;
}

std::string HttpDownloadCache::fileExtensionForURL(const pf::Url& url) {
  const std::string extension = pf::path::pathExtension(url.encodedPath());
  const std::vector<std::string>& html = fileExtensionsToHandleAsHTML();
  if (!isSafeExtension(extension) ||
      std::find(html.begin(), html.end(), pf::text::lowercase(extension)) != html.end()) {
    return "html";
  }
  return extension;
}

std::optional<std::string> HttpDownloadCache::pathToFile(const std::string& file) {
  std::lock_guard lock(accessLock_);
  for (int policy : {kSessionStorage, kPermanentStorage}) {
    const std::optional<std::string> folder = storeFolder(policy);
    if (!folder) return std::nullopt;
    const std::string path = pf::path::appendingPathComponent(*folder, file);
    if (isRegularFile(path)) return path;
  }
  return std::nullopt;
}

std::optional<std::string> HttpDownloadCache::pathToCachedResponseDataForURL(const pf::Url& url) {
  const std::optional<std::string> key = keyForURL(url);
  if (!key) return std::nullopt;
  return pathToFile(pf::path::appendingPathExtension(*key, fileExtensionForURL(url)));
}

std::optional<std::string> HttpDownloadCache::pathToCachedResponseHeadersForURL(const pf::Url& url) {
  const std::optional<std::string> key = keyForURL(url);
  if (!key) return std::nullopt;
  return pathToFile(pf::path::appendingPathExtension(*key, kHeadersExtension));
}

std::optional<std::string> HttpDownloadCache::pathToStoreCachedResponseDataForRequest(
    const HttpRequest& request) {
  std::lock_guard lock(accessLock_);
  const std::optional<pf::Url> url = request.url();
  const std::optional<std::string> key = keyForURL(url);
  const std::optional<std::string> folder = storeFolder(request.cacheStoragePolicy);
  if (!key || !folder) return std::nullopt;
  return pf::path::appendingPathComponent(*folder,
                                          pf::path::appendingPathExtension(*key, fileExtensionForURL(*url)));
}

std::optional<std::string> HttpDownloadCache::pathToStoreCachedResponseHeadersForRequest(
    const HttpRequest& request) {
  std::lock_guard lock(accessLock_);
  const std::optional<std::string> key = keyForURL(request.url());
  const std::optional<std::string> folder = storeFolder(request.cacheStoragePolicy);
  if (!key || !folder) return std::nullopt;
  return pf::path::appendingPathComponent(*folder, pf::path::appendingPathExtension(*key, kHeadersExtension));
}

std::optional<pf::Dictionary> HttpDownloadCache::cachedResponseHeadersForURL(const pf::Url& url) {
  std::lock_guard lock(accessLock_);
  const std::optional<std::string> path = pathToCachedResponseHeadersForURL(url);
  if (!path) return std::nullopt;
  const pf::Value headers = pf::PropertyList::propertyListWithContentsOfFile(*path);
  if (!headers.isDictionary()) return std::nullopt;
  return *headers.dictionary();
}

std::optional<pf::Data> HttpDownloadCache::cachedResponseDataForURL(const pf::Url& url) {
  std::lock_guard lock(accessLock_);
  const std::optional<std::string> path = pathToCachedResponseDataForURL(url);
  if (!path) return std::nullopt;
  return readFile(*path);
}

std::optional<pf::Date> HttpDownloadCache::expiryDateForRequest(const HttpRequest& request,
                                                                double maxAge) const {
  return HttpRequest::expiryDateForRequest(request, maxAge);
}

void HttpDownloadCache::storeResponseForRequest(const HttpRequest& request, double maxAge) {
  std::lock_guard lock(accessLock_);
  const std::optional<pf::Dictionary> responseHeaders = request.responseHeaders.get();
  if (request.error.get() || !responseHeaders || (effectivePolicy(request) & kNeverWriteToCache) ||
      !isCacheableStatus(request.responseStatusCode)) {
    return;
  }
  if (shouldRespectCacheControlHeaders_ && !serverAllowsResponseCachingForRequest(request)) return;

  pf::Dictionary headers = *responseHeaders;
  if (request.isResponseCompressed()) eraseHeader(headers, "Content-Encoding");
  if (const std::optional<pf::Date> expires = expiryDateForRequest(request, maxAge)) {
    headers[kExpiresKey] = expires->seconds;
  }
  headers[kStatusCodeKey] = request.responseStatusCode.load();
  if (!writeEntry(request, std::move(headers))) {
    pf::logf("Failed to keep a response in the download cache");
    removeCachedDataForRequest(request);
  }
}

// The body first, then the headers that make the entry visible.
bool HttpDownloadCache::writeEntry(const HttpRequest& request, pf::Dictionary headers) {
  const std::optional<std::string> dataPath = pathToStoreCachedResponseDataForRequest(request);
  const std::optional<std::string> headersPath = pathToStoreCachedResponseHeadersForRequest(request);
  if (!dataPath || !headersPath) return false;
  if (const std::optional<std::string> download = request.downloadDestinationPath.get()) {
    std::error_code ignored;
    if (!fs::equivalent(*download, *dataPath, ignored) && !copyFileAtomically(*download, *dataPath)) {
      return false;
    }
  } else {
    const pf::Data body = request.responseData().value_or(pf::Data{});
    if (!writeFileAtomically(*dataPath, body)) return false;
  }
  // The stored body is the inflated one: its length is what the file holds.
  std::error_code error;
  const std::uintmax_t size = fs::file_size(*dataPath, error);
  if (!error && headerValue(headers, "Content-Length")) {
    eraseHeader(headers, "Content-Length");
    headers["Content-Length"] = std::to_string(size);
  }
  return pf::PropertyList::writeToFile(headers, *headersPath, pf::PropertyList::Format::Xml);
}

void HttpDownloadCache::updateExpiryForRequest(const HttpRequest& request, double maxAge) {
  std::lock_guard lock(accessLock_);
  const std::optional<pf::Url> url = request.url();
  if (!url) return;
  const std::optional<std::string> path = pathToCachedResponseHeadersForURL(*url);
  std::optional<pf::Dictionary> headers = cachedResponseHeadersForURL(*url);
  if (!path || !headers) return;
  if (const std::optional<pf::Date> expires = expiryDateForRequest(request, maxAge)) {
    (*headers)[kExpiresKey] = expires->seconds;
  } else {
    headers->erase(kExpiresKey);
  }
  if (!pf::PropertyList::writeToFile(*headers, *path, pf::PropertyList::Format::Xml)) {
    pf::logf("Failed to refresh the cached expiry for %@", RequestLogRedactor::redactedURL(url));
  }
}

void HttpDownloadCache::removeCachedDataForURL(const pf::Url& url) {
  std::lock_guard lock(accessLock_);
  const std::optional<std::string> key = keyForURL(url);
  if (!key) return;
  for (int policy : {kSessionStorage, kPermanentStorage}) {
    const std::optional<std::string> folder = storeFolder(policy);
    if (!folder) return;
    for (const std::string& extension : {std::string(kHeadersExtension), fileExtensionForURL(url)}) {
      std::error_code ignored;
      fs::remove(pf::path::appendingPathComponent(*folder, pf::path::appendingPathExtension(*key, extension)),
                 ignored);
    }
  }
}

void HttpDownloadCache::removeCachedDataForRequest(const HttpRequest& request) {
  if (const std::optional<pf::Url> url = request.url()) removeCachedDataForURL(*url);
}

bool HttpDownloadCache::isCachedDataCurrentForRequest(const HttpRequest& request) {
  std::lock_guard lock(accessLock_);
  const std::optional<pf::Url> url = request.url();
  if (!storagePath_ || !url) return false;
  const std::optional<pf::Dictionary> cached = cachedResponseHeadersForURL(*url);
  if (!cached || !pathToCachedResponseDataForURL(*url)) return false;
  if (request.responseStatusCode == 304) return true;
  // An answer already in means the server spoke: its validators must name the stored copy.
  if (const std::optional<pf::Dictionary> response = request.responseHeaders.get()) {
    for (const char* validator : {"Etag", "Last-Modified"}) {
      const std::optional<std::string> fresh = headerValue(*response, validator);
      if (!fresh || fresh != headerValue(*cached, validator)) return false;
    }
  }
  if (!shouldRespectCacheControlHeaders_) return true;
  const auto expires = cached->find(kExpiresKey);
  if (expires == cached->end() || !expires->second.isNumber()) return false;
  return expires->second.doubleValue() > pf::Date::now().seconds;
}

bool HttpDownloadCache::canUseCachedDataForRequest(const HttpRequest& request) {
  std::lock_guard lock(accessLock_);
  const int policy = effectivePolicy(request);
  if (policy & kNeverReadFromCache) return false;
  if (policy & kNeverLoad) return true;
  const std::optional<pf::Url> url = request.url();
  if (!url || !cachedResponseHeadersForURL(*url) || !pathToCachedResponseDataForURL(*url)) return false;
  if ((policy & kUseStoredWhenAny) || ((policy & kFallBackToCacheOnFailure) && request.complete)) return true;
  if ((policy & kAskServerWhenStale) || ((policy & kAlwaysAskServer) && request.responseHeaders.get())) {
    return isCachedDataCurrentForRequest(request);
  }
  return false;
}

void HttpDownloadCache::clearCachedResponsesForStoragePolicy(int storagePolicy) {
  std::lock_guard lock(accessLock_);
  const std::optional<std::string> folder = storeFolder(storagePolicy);
  std::error_code error;
  // A store someone removed holds nothing to clear.
  if (!folder || !fs::exists(*folder, error)) return;
  const auto listingFailed = [&] {
    return FolderError("FailedToTraverseCacheDirectory",
                       pf::format("Listing cache directory failed at path '%@'", *folder));
  };
  fs::directory_iterator entry(*folder, error);
  if (error) throw listingFailed();
  for (; entry != fs::directory_iterator(); entry.increment(error)) {
    fs::remove_all(entry->path(), error);
    if (error) {
      throw FolderError("FailedToRemoveCacheFile",
                        pf::format("Failed to remove cached data at path '%@'", entry->path().string()));
    }
  }
  if (error) throw listingFailed();
}
