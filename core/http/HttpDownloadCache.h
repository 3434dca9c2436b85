#pragma once
// The engine's on-disk response cache. GET responses are kept per URL as a data file and a property
// list of their headers (with the expiry and status added), in a session store, emptied whenever the
// folder is set, or a permanent one. A request's cache policy decides whether a stored response may
// answer it and whether the server is asked first with the stored validators.
//
// Thread rules: every operation that touches the folder holds the cache's recursive access lock, so one
// cache may be used from the request thread and any caller's thread at once. Folder failures throw
// FolderError after the lock is released.

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/foundation/Value.h"
#include "platform/net/Url.h"

class HttpRequest;

class HttpDownloadCache {
 public:
  // Cache policy bits of a request; 0 means the cache's default policy.
  static constexpr int kNeverReadFromCache = 1;
  static constexpr int kNeverWriteToCache = 2;
  static constexpr int kAskServerWhenStale = 4;
  static constexpr int kAlwaysAskServer = 8;
  static constexpr int kUseStoredWhenAny = 16;
  static constexpr int kNeverLoad = 32;
  static constexpr int kFallBackToCacheOnFailure = 64;

  // Storage policies: 0 keeps an entry for the session, anything else permanently.
  static constexpr int kSessionStorage = 0;
  static constexpr int kPermanentStorage = 1;

  // Extra entries of a stored header list.
  static constexpr char kExpiresKey[] = "X-HttpRequest-Expires";
  static constexpr char kStatusCodeKey[] = "X-HttpRequest-Response-Status-Code";

  // A cache folder that cannot be made, listed or emptied. name() is the exception's kind
  // ("FileExistsAtCachePath", "FailedToCreateCacheDirectory", "FailedToTraverseCacheDirectory",
  // "FailedToRemoveCacheFile"); what() the message.
  class FolderError : public std::runtime_error {
   public:
    FolderError(std::string name, const std::string& message)
        : std::runtime_error(message), name_(std::move(name)) {}
    const std::string& name() const { return name_; }

   private:
    std::string name_;
  };

  // The process-wide cache in the folder "HttpRequestCache" of the sandbox's Caches folder.
  static std::shared_ptr<HttpDownloadCache> sharedCache();

  // Default policy kAskServerWhenStale, cache-control headers respected, no folder yet.
  HttpDownloadCache();
  HttpDownloadCache(const HttpDownloadCache&) = delete;
  HttpDownloadCache& operator=(const HttpDownloadCache&) = delete;

  std::optional<std::string> storagePath() const;
  // Makes the new folder with both stores, then empties the old folder's session store and the new one's.
  // A folder that cannot be made throws and changes nothing.
  void setStoragePath(const std::string& path);
  int defaultCachePolicy() const { return defaultCachePolicy_; }
  // 0 stores kAskServerWhenStale.
  void setDefaultCachePolicy(int policy);
  bool shouldRespectCacheControlHeaders() const { return shouldRespectCacheControlHeaders_; }
  void setShouldRespectCacheControlHeaders(bool respect) { shouldRespectCacheControlHeaders_ = respect; }

  // Keeps a finished GET response (its body from memory or its download file) when its status, policy
  // and the server allow it; maxAge 0 takes the expiry from the response.
  void storeResponseForRequest(const HttpRequest& request, double maxAge);
  void updateExpiryForRequest(const HttpRequest& request, double maxAge);
  std::optional<pf::Date> expiryDateForRequest(const HttpRequest& request, double maxAge) const;

  std::optional<pf::Dictionary> cachedResponseHeadersForURL(const pf::Url& url);
  std::optional<pf::Data> cachedResponseDataForURL(const pf::Url& url);
  // The stored files, from the session store first; nullopt when neither store holds one.
  std::optional<std::string> pathToCachedResponseDataForURL(const pf::Url& url);
  std::optional<std::string> pathToCachedResponseHeadersForURL(const pf::Url& url);
  // Where the request's response goes, by its storage policy; nullopt without a folder or URL.
  std::optional<std::string> pathToStoreCachedResponseDataForRequest(const HttpRequest& request);
  std::optional<std::string> pathToStoreCachedResponseHeadersForRequest(const HttpRequest& request);
  std::optional<std::string> pathToFile(const std::string& file);

  // Removes the URL's files from both stores.
  void removeCachedDataForURL(const pf::Url& url);
  void removeCachedDataForRequest(const HttpRequest& request);

  // Whether the stored response still stands: a 304 answer, matching validators, an expiry not passed.
  bool isCachedDataCurrentForRequest(const HttpRequest& request);
  // Whether the stored response may answer the request under its policy.
  bool canUseCachedDataForRequest(const HttpRequest& request);

  void clearCachedResponsesForStoragePolicy(int storagePolicy);

  // No for a "Cache-Control" of no-cache or no-store, or a "Pragma" of no-cache.
  static bool serverAllowsResponseCachingForRequest(const HttpRequest& request);
  // 32 upper-case hexadecimal digits of the MD5 of the URL text without one trailing "/".
  static std::optional<std::string> keyForURL(const std::optional<pf::Url>& url);
  // Script pages that are kept with the extension "html".
  static const std::vector<std::string>& fileExtensionsToHandleAsHTML();
  // The data file's extension for a URL.
  static std::string fileExtensionForURL(const pf::Url& url);

 private:
  int effectivePolicy(const HttpRequest& request) const;
  std::optional<std::string> storeFolder(int storagePolicy) const;
  void createFolders(const std::string& path) const;
  bool writeEntry(const HttpRequest& request, pf::Dictionary headers);

  mutable std::recursive_mutex accessLock_;
  std::optional<std::string> storagePath_;
  std::atomic<int> defaultCachePolicy_{kAskServerWhenStale};
  std::atomic<bool> shouldRespectCacheControlHeaders_{true};
};
