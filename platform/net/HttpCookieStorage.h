#pragma once
// The cookie jar: cookies set by servers, found again for the URLs they belong to. Cookies with an
// expiry (persistent cookies) are kept in a property-list file and come back at the next start; session
// cookies live in memory only. Expired cookies are never answered and go at the next change. A storage
// without a file keeps everything in memory. Thread-safe.

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/net/HttpCookie.h"

namespace pf {

class HttpCookieStorage {
 public:
  // Made on first use, its file "Cookies/Cookies.plist" under the sandbox's Library folder of that moment.
  static std::shared_ptr<HttpCookieStorage> sharedHTTPCookieStorage();
  // Drops the shared storage; the next sharedHTTPCookieStorage() reads the file of the sandbox home of then.
  static void resetSharedHTTPCookieStorage();

  // Reads the file when there is one; an unreadable file is logged and the jar starts empty.
  explicit HttpCookieStorage(std::optional<std::string> path = std::nullopt);

  std::vector<HttpCookiePtr> cookies() const;
  // The cookies a request to url carries, those with longer paths first.
  std::vector<HttpCookiePtr> cookiesForURL(const Url& url) const;
  // Replaces a stored cookie of the same name, domain and path; an expired cookie only removes it.
  void setCookie(const HttpCookiePtr& cookie);
  void setCookies(const std::vector<HttpCookiePtr>& cookies);
  // Removes the stored cookie of the same name, domain and path.
  void deleteCookie(const HttpCookiePtr& cookie);

 private:
  void load();
  // Expects mutex_ held.
  void storeLocked(const HttpCookiePtr& cookie);
  void saveLocked() const;

  const std::optional<std::string> path_;
  mutable std::mutex mutex_;
  std::vector<HttpCookiePtr> cookies_;
};

}  // namespace pf
