#pragma once
// One cookie as a server set it: name, value, the domain and path it is sent to, its expiry (none: it
// lives for the session only) and the Secure and HttpOnly flags. A cookie whose Domain attribute was
// given has a domain beginning with "." and is sent to sub-domains too; otherwise it goes back to its
// host alone. Immutable; safe to share across threads.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Value.h"
#include "platform/net/Url.h"

namespace pf {

class HttpCookie {
 public:
  struct Properties {
    std::string name;
    std::string value;
    std::string domain;
    std::string path = "/";
    std::optional<Date> expiresDate;
    bool secure = false;
    bool httpOnly = false;
  };

  explicit HttpCookie(Properties properties) : p_(std::move(properties)) {}

  // The cookies of the "Set-Cookie" field (several cookies joined by ", " included) of a response from
  // url. Cookies without a name, and those whose Domain does not cover the URL's host (or names a bare
  // top-level domain), are left out.
  static std::vector<std::shared_ptr<HttpCookie>> cookiesWithResponseHeaderFields(const Dictionary& headers,
                                                                                  const Url& url);

  const std::string& name() const { return p_.name; }
  const std::string& value() const { return p_.value; }
  const std::string& domain() const { return p_.domain; }
  const std::string& path() const { return p_.path; }
  const std::optional<Date>& expiresDate() const { return p_.expiresDate; }
  bool isSessionOnly() const { return !p_.expiresDate; }
  bool isSecure() const { return p_.secure; }
  bool isHTTPOnly() const { return p_.httpOnly; }

  bool isExpired(Date now) const { return p_.expiresDate && *p_.expiresDate <= now; }
  // Same name, domain (without regard to case) and path: one replaces the other in a store.
  bool isSameCookie(const HttpCookie& other) const;
  // Whether a request to url carries the cookie at that time.
  bool matches(const Url& url, Date now) const;

 private:
  Properties p_;
};

using HttpCookiePtr = std::shared_ptr<HttpCookie>;

}  // namespace pf
